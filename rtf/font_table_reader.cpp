#include "rtf/font_table_reader.h"

#include "rtf/reader_context.h"

namespace ct::rtf {
namespace {

bool isSurrogate(char32_t c)
{
    return c >= 0xD800 && c <= 0xDFFF;
}

} // namespace

void FontAltNameReader::bytes(std::string_view bytes, bool)
{
    m_bytes.append(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

void FontAltNameReader::finish()
{
    const QString name = decode(m_context.codePageOf(m_context.fonts.find(m_font)), m_bytes).trimmed();
    if (!name.isEmpty()) {
        m_context.fonts.entry(m_font).alternative = name;
        m_context.tablesChanged();
    }
    m_bytes.clear();
}

void FontTableReader::start()
{
    m_name.clear();
    m_nameBytes.clear();
}

void FontTableReader::word(Word word, const Token &token)
{
    switch (word) {
    case Word::Font:
        if (!m_name.isEmpty() || !m_nameBytes.isEmpty())
            commitName();
        m_font = token.parameter;
        m_context.fonts.entry(m_font);
        m_context.tablesChanged();
        break;
    case Word::FontCharset:
        m_context.fonts.entry(m_font).charset = token.parameter;
        break;
    case Word::FontCodePage:
        m_context.fonts.entry(m_font).codePage = token.parameter;
        break;
    case Word::FontAltName:
        m_altName.readFor(m_font);
        m_context.open(&m_altName);
        break;
    default:
        break;
    }
}

void FontTableReader::bytes(std::string_view bytes, bool escaped)
{
    for (const char c : bytes) {
        if (c == ';' && !escaped)
            commitName();
        else
            m_nameBytes.append(c);
    }
}

void FontTableReader::unicode(char32_t character)
{
    decodePending();
    if (!isSurrogate(character))
        m_name.append(QChar::fromUcs4(character));
}

void FontTableReader::symbol(char symbol)
{
    if (symbol == '\\' || symbol == '{' || symbol == '}')
        m_nameBytes.append(symbol);
}

void FontTableReader::groupEnd()
{
    // An entry in braces may lack its ';'.
    if (!m_name.isEmpty() || !m_nameBytes.isEmpty())
        commitName();
}

void FontTableReader::decodePending()
{
    m_name += decode(m_context.codePageOf(&m_context.fonts.entry(m_font)), m_nameBytes);
    m_nameBytes.clear();
}

void FontTableReader::commitName()
{
    decodePending();
    m_context.fonts.entry(m_font).family = m_name.trimmed();
    m_name.clear();
    m_context.tablesChanged();
}

} // namespace ct::rtf
