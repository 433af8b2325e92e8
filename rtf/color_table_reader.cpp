#include "rtf/color_table_reader.h"

#include "rtf/reader_context.h"

#include <algorithm>

namespace ct::rtf {

void ColorTableReader::start()
{
    m_context.colors.clear();
    m_red = m_green = m_blue = -1;
    m_context.tablesChanged();
}

void ColorTableReader::word(Word word, const Token &token)
{
    const int value = std::clamp(token.parameter, 0, 255);
    switch (word) {
    case Word::Red:
        m_red = value;
        break;
    case Word::Green:
        m_green = value;
        break;
    case Word::Blue:
        m_blue = value;
        break;
    default:
        break;
    }
}

void ColorTableReader::bytes(std::string_view bytes, bool escaped)
{
    if (escaped)
        return;
    for (const char c : bytes) {
        if (c == ';')
            commit();
    }
}

void ColorTableReader::commit()
{
    // An entry with no colour given (normally the first) means "automatic".
    if (m_red < 0 && m_green < 0 && m_blue < 0)
        m_context.colors.append(QColor());
    else
        m_context.colors.append(QColor(std::max(m_red, 0), std::max(m_green, 0), std::max(m_blue, 0)));
    m_red = m_green = m_blue = -1;
    m_context.tablesChanged();
}

} // namespace ct::rtf
