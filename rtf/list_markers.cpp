#include "rtf/list_markers.h"

#include "rtf/reader_context.h"

#include <algorithm>
#include <climits>

namespace ct::rtf {

bool ListMarkers::knowsList(const ParagraphState &paragraph) const
{
    return paragraph.listOverride > 0 && m_context.lists.level(paragraph.listOverride, paragraph.listLevel);
}

void ListMarkers::count(const ParagraphState &paragraph)
{
    std::array<int, ListTable::kMaxLevels> numbers{};
    countParagraph(paragraph, numbers);
}

void ListMarkers::paragraphEnded(const ParagraphState &paragraph)
{
    if (paragraph.numbering.kind == ParagraphNumbering::Kind::None && paragraph.listOverride == 0)
        m_numberingContinues = false;
}

bool ListMarkers::countParagraph(const ParagraphState &paragraph, std::array<int, ListTable::kMaxLevels> &numbers)
{
    if (paragraph.listOverride > 0) {
        if (!m_context.lists.level(paragraph.listOverride, paragraph.listLevel))
            return false;
        numbers = m_context.lists.advance(paragraph.listOverride, paragraph.listLevel);
        return true;
    }
    if (paragraph.numbering.kind == ParagraphNumbering::Kind::Numbered) {
        m_numberingCounter = m_numberingContinues ? m_numberingCounter + (m_numberingCounter < INT_MAX)
                                                  : paragraph.numbering.start;
        m_numberingContinues = true;
        numbers[0] = m_numberingCounter;
        return true;
    }
    return paragraph.numbering.kind == ParagraphNumbering::Kind::Bullet;
}

QString ListMarkers::next(const ParagraphState &paragraph)
{
    std::array<int, ListTable::kMaxLevels> numbers{};
    if (!countParagraph(paragraph, numbers))
        return {};
    if (paragraph.listOverride > 0) {
        const ListLevel *level = m_context.lists.level(paragraph.listOverride, paragraph.listLevel);
        QString marker;
        // The first unit is the text's length; units below 9 stand for the number of
        // that level.
        const qsizetype length = level->text.isEmpty()
                                     ? 0
                                     : std::min<qsizetype>(level->text.first().value, level->text.size() - 1);
        QList<TemplateUnit> run;
        const auto flush = [&] {
            marker += decodeTemplate(run, level->font);
            run.clear();
        };
        for (qsizetype i = 1; i <= length; ++i) {
            const TemplateUnit unit = level->text.at(i);
            if (!unit.unicode && unit.value < ListTable::kMaxLevels) {
                flush();
                const ListLevel *numbered = m_context.lists.level(paragraph.listOverride, static_cast<int>(unit.value));
                marker += formatListNumber(numbers[unit.value], numbered ? numbered->numberFormat : 0);
            } else {
                run.append(unit);
            }
        }
        flush();
        if (level->follow == 0)
            marker += QLatin1Char('\t');
        else if (level->follow == 1)
            marker += QLatin1Char(' ');
        return marker;
    }
    const ParagraphNumbering &numbering = paragraph.numbering;
    QString marker = decodeTemplate(numbering.before, numbering.font);
    if (numbering.kind == ParagraphNumbering::Kind::Numbered)
        marker += formatListNumber(numbers[0], numbering.numberFormat);
    marker += decodeTemplate(numbering.after, numbering.font);
    return marker.isEmpty() ? marker : marker + QLatin1Char('\t');
}

QString ListMarkers::decodeTemplate(const QList<TemplateUnit> &units, int font) const
{
    const FontEntry *entry = m_context.fonts.find(font);
    const SymbolFont symbol = entry ? symbolFontOf(entry->family, entry->charset) : SymbolFont::None;
    const CodePage &codePage = m_context.codePageOf(entry);
    QString text;
    for (const TemplateUnit &unit : units) {
        char32_t c = unit.value;
        if (!unit.unicode)
            c = symbol != SymbolFont::None ? symbolCharacter(symbol, static_cast<unsigned char>(c))
                                           : codePage.byte(static_cast<unsigned char>(c));
        else if (symbol != SymbolFont::None && c >= 0xF020 && c <= 0xF0FF)
            c = symbolCharacter(symbol, static_cast<unsigned char>(c - 0xF000));
        else if (c == 0xF0B7)
            c = 0x2022;
        if (c >= 0x20 && c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF) && c != 0xFDD0 && c != 0xFDD1 && c != 0xFFFC)
            text.append(QChar::fromUcs4(c));
    }
    return text;
}

} // namespace ct::rtf
