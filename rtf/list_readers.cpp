#include "rtf/list_readers.h"

#include "rtf/reader_context.h"

namespace ct::rtf {
namespace {

// Longer level texts and \pn texts are not markers anyone writes.
constexpr qsizetype kMaxTemplateUnits = 64;

} // namespace

void TemplateTextReader::readInto(QList<TemplateUnit> *units, bool endsAtSemicolon)
{
    m_units = units;
    m_endsAtSemicolon = endsAtSemicolon;
}

void TemplateTextReader::bytes(std::string_view bytes, bool escaped)
{
    for (const char c : bytes) {
        if (c == ';' && !escaped && m_endsAtSemicolon) {
            m_context.skipGroup();
            return;
        }
        add({static_cast<unsigned char>(c), false});
    }
}

void TemplateTextReader::add(TemplateUnit unit)
{
    if (m_units->size() < kMaxTemplateUnits)
        m_units->append(unit);
}

void ListTableReader::word(Word word, const Token &token)
{
    const int value = token.parameter;
    ListLevel *level = m_list.levels.isEmpty() ? nullptr : &m_list.levels.last();
    switch (word) {
    case Word::List:
        commit();
        m_list = ListDefinition();
        m_pending = true;
        m_listId = 0;
        break;
    case Word::ListLevel:
        if (m_pending && m_list.levels.size() < ListTable::kMaxLevels)
            m_list.levels.append(ListLevel());
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
        if (level)
            level->font = value;
        break;
    case Word::LevelText:
        if (level) {
            m_levelText.readInto(&level->text, true);
            m_context.open(&m_levelText);
        } else {
            m_context.skipGroup();
        }
        break;
    case Word::ListId:
        m_listId = value;
        break;
    default:
        break;
    }
}

void ListTableReader::commit()
{
    if (m_pending)
        m_context.lists.addList(m_listId, m_list);
    m_pending = false;
}

void ListOverridesReader::word(Word word, const Token &token)
{
    switch (word) {
    case Word::ListOverrideEntry:
        m_listId = -1;
        break;
    case Word::ListId:
        m_listId = token.parameter;
        break;
    case Word::ListOverride:
        if (m_listId >= 0)
            m_context.lists.addOverride(token.parameter, m_listId);
        break;
    default:
        break;
    }
}

void NumberingReader::word(Word word, const Token &token)
{
    switch (word) {
    case Word::NumberingBullet:
        m_numbering.kind = ParagraphNumbering::Kind::Bullet;
        break;
    case Word::NumberingBody:
        m_numbering.kind = ParagraphNumbering::Kind::Numbered;
        break;
    case Word::NumberingContinue:
        m_numbering.kind = ParagraphNumbering::Kind::Continue;
        break;
    case Word::NumberingDecimal:
        m_numbering.numberFormat = 0;
        break;
    case Word::NumberingUpperRoman:
        m_numbering.numberFormat = 1;
        break;
    case Word::NumberingLowerRoman:
        m_numbering.numberFormat = 2;
        break;
    case Word::NumberingUpperLetter:
        m_numbering.numberFormat = 3;
        break;
    case Word::NumberingLowerLetter:
        m_numbering.numberFormat = 4;
        break;
    case Word::NumberingStart:
        m_numbering.start = token.parameter;
        break;
    case Word::NumberingFont:
        m_numbering.font = token.parameter;
        break;
    case Word::NumberingTextBefore:
    case Word::NumberingTextAfter:
        m_text.readInto(word == Word::NumberingTextAfter ? &m_numbering.after : &m_numbering.before, false);
        m_context.open(&m_text);
        break;
    default:
        break;
    }
}

void NumberingReader::finish()
{
    // \pn describes the paragraph it is in.
    m_context.state.paragraph.numbering = m_numbering;
}

} // namespace ct::rtf
