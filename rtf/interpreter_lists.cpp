// The interpreter's part that reads list definitions (\listtable, \listoverridetable,
// \pn) and makes list markers for paragraphs whose writer gave none.
#include "rtf/control_words.h"
#include "rtf/interpreter.h"

#include <algorithm>

namespace ct::rtf {
namespace {

// Longer level texts and \pn texts are not markers anyone writes.
constexpr qsizetype kMaxTemplateUnits = 64;

} // namespace

void Interpreter::listWord(Word word, const Token &token)
{
    const int value = token.parameter;
    ListLevel *level = m_listBeingRead.levels.isEmpty() ? nullptr : &m_listBeingRead.levels.last();
    switch (word) {
    // \listtable
    case Word::List:
        commitList();
        m_listBeingRead = ListDefinition();
        m_listPending = true;
        m_listBeingReadId = 0;
        break;
    case Word::ListLevel:
        if (m_listPending && m_listBeingRead.levels.size() < ListTable::kMaxLevels)
            m_listBeingRead.levels.append(ListLevel());
        break;
    case Word::LevelNumberFormat:
        if (level)
            level->numberFormat = value;
        break;
    case Word::LevelStart:
        if (level)
            level->start = value;
        break;
    case Word::LevelFollow:
        if (level)
            level->follow = value;
        break;
    case Word::Font:
        if (level && m_state.destination == Destination::ListTable)
            level->font = value;
        break;
    case Word::LevelText:
        if (level) {
            level->text.clear();
            m_state.destination = Destination::ListLevelText;
        } else {
            m_state.destination = Destination::Skip;
        }
        break;
    case Word::ListId:
        if (m_state.destination == Destination::ListOverrideTable)
            m_overrideListId = value;
        else
            m_listBeingReadId = value;
        break;

    // \listoverridetable
    case Word::ListOverrideEntry:
        m_overrideListId = -1;
        break;
    case Word::ListOverride:
        if (m_state.destination == Destination::ListOverrideTable && m_overrideListId >= 0)
            m_lists.addOverride(value, m_overrideListId);
        break;

    // \pn
    case Word::NumberingBullet:
        m_numberingBeingRead.kind = ParagraphNumbering::Kind::Bullet;
        break;
    case Word::NumberingBody:
        m_numberingBeingRead.kind = ParagraphNumbering::Kind::Numbered;
        break;
    case Word::NumberingContinue:
        m_numberingBeingRead.kind = ParagraphNumbering::Kind::Continue;
        break;
    case Word::NumberingDecimal:
        m_numberingBeingRead.numberFormat = 0;
        break;
    case Word::NumberingUpperRoman:
        m_numberingBeingRead.numberFormat = 1;
        break;
    case Word::NumberingLowerRoman:
        m_numberingBeingRead.numberFormat = 2;
        break;
    case Word::NumberingUpperLetter:
        m_numberingBeingRead.numberFormat = 3;
        break;
    case Word::NumberingLowerLetter:
        m_numberingBeingRead.numberFormat = 4;
        break;
    case Word::NumberingStart:
        m_numberingBeingRead.start = value;
        break;
    case Word::NumberingFont:
        m_numberingBeingRead.font = value;
        break;
    case Word::NumberingTextBefore:
    case Word::NumberingTextAfter:
        if (m_state.destination == Destination::Numbering) {
            m_numberingTextAfter = word == Word::NumberingTextAfter;
            (m_numberingTextAfter ? m_numberingBeingRead.after : m_numberingBeingRead.before).clear();
            m_state.destination = Destination::NumberingText;
        }
        break;
    default:
        break;
    }
}

void Interpreter::addTemplateUnit(TemplateUnit unit)
{
    QList<TemplateUnit> *units = nullptr;
    if (m_state.destination == Destination::ListLevelText && !m_listBeingRead.levels.isEmpty())
        units = &m_listBeingRead.levels.last().text;
    else if (m_state.destination == Destination::NumberingText)
        units = m_numberingTextAfter ? &m_numberingBeingRead.after : &m_numberingBeingRead.before;
    if (units && units->size() < kMaxTemplateUnits)
        units->append(unit);
}

void Interpreter::commitList()
{
    if (m_listPending)
        m_lists.addList(m_listBeingReadId, m_listBeingRead);
    m_listPending = false;
}

void Interpreter::startParagraphContent()
{
    if (m_paragraphStarted)
        return;
    m_paragraphStarted = true;
    if (m_paragraphHasListText || m_state.destination == Destination::ListText)
        return;
    const QString marker = markerText();
    if (!marker.isEmpty())
        emitString(marker);
}

void Interpreter::endParagraphLists()
{
    // An empty list item still shows its marker.
    if (isTextDestination())
        startParagraphContent();
    if (m_paragraphHasListText) {
        // The writer's own marker stands; the list still counts the paragraph.
        std::array<int, ListTable::kMaxLevels> numbers{};
        countListParagraph(numbers);
    }
    if (m_state.paragraph.numbering.kind == ParagraphNumbering::Kind::None && m_state.paragraph.listOverride == 0)
        m_numberingContinues = false;
    m_paragraphStarted = false;
    m_paragraphHasListText = false;
}

// Counts the paragraph in its list; false when it is in none.
bool Interpreter::countListParagraph(std::array<int, ListTable::kMaxLevels> &numbers)
{
    const ParagraphState &paragraph = m_state.paragraph;
    if (paragraph.listOverride > 0) {
        if (!m_lists.level(paragraph.listOverride, paragraph.listLevel))
            return false;
        numbers = m_lists.advance(paragraph.listOverride, paragraph.listLevel);
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

QString Interpreter::markerText()
{
    std::array<int, ListTable::kMaxLevels> numbers{};
    if (!countListParagraph(numbers))
        return {};
    const ParagraphState &paragraph = m_state.paragraph;
    if (paragraph.listOverride > 0) {
        const ListLevel *level = m_lists.level(paragraph.listOverride, paragraph.listLevel);
        QString marker;
        // The first unit is the text's length; units below 9 stand for the number of
        // that level.
        const qsizetype length = level->text.isEmpty() ? 0 : std::min<qsizetype>(level->text.first().value,
                                                                                   level->text.size() - 1);
        QList<TemplateUnit> run;
        const auto flush = [&] {
            marker += decodeTemplate(run, level->font);
            run.clear();
        };
        for (qsizetype i = 1; i <= length; ++i) {
            const TemplateUnit unit = level->text.at(i);
            if (!unit.unicode && unit.value < ListTable::kMaxLevels) {
                flush();
                const ListLevel *numbered = m_lists.level(paragraph.listOverride, static_cast<int>(unit.value));
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

QString Interpreter::decodeTemplate(const QList<TemplateUnit> &units, int font) const
{
    const FontEntry *entry = m_fonts.find(font);
    const SymbolFont symbol = entry ? symbolFontOf(entry->family, entry->charset) : SymbolFont::None;
    const CodePage &codePage = codePageOf(entry);
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
