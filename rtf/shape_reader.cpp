#include "rtf/shape_reader.h"

#include "rtf/reader_context.h"
#include "rtf/units.h"

#include <algorithm>

namespace ct::rtf {

ShapeReader::ShapeReader(ReaderContext &context, TextDestination &text)
    : m_context(context), m_nameReader(*this), m_valueReader(*this), m_textReader(*this, text)
{
}

void ShapeReader::start()
{
    m_left = m_top = m_right = m_bottom = 0;
    m_line = true;
    m_shown = false;
    m_hasPicture = false;
    m_picture = Picture();
}

void ShapeReader::word(Word word, const Token &token)
{
    const int value = std::clamp(token.parameter, -kMaxTwips, kMaxTwips);
    switch (word) {
    case Word::ShapeLeft:
        m_left = value;
        break;
    case Word::ShapeTop:
        m_top = value;
        break;
    case Word::ShapeRight:
        m_right = value;
        break;
    case Word::ShapeBottom:
        m_bottom = value;
        break;
    case Word::ShapePropertyName:
        m_context.open(&m_nameReader);
        break;
    case Word::ShapePropertyValue:
        m_context.open(&m_valueReader);
        break;
    case Word::ShapeText:
        m_shown = true;
        m_context.open(&m_textReader);
        break;
    case Word::ShapeResult:
        if (m_shown || m_hasPicture)
            m_context.skipGroup();
        else
            m_context.open(m_context.destinations.text);
        break;
    default:
        break;
    }
}

void ShapeReader::ValueReader::word(Word word, const Token &)
{
    if (word == Word::Picture)
        m_shape.m_context.open(m_shape.m_context.destinations.picture);
}

void ShapeReader::ValueReader::picture(const Picture &picture)
{
    // Other pictures of a shape fill or outline it.
    if (m_shape.m_name.trimmed() == "pib") {
        m_shape.m_picture = picture;
        m_shape.m_hasPicture = true;
    }
}

void ShapeReader::propertyRead()
{
    if (m_name.trimmed() == "fLine")
        m_line = m_value.trimmed() != "0";
}

void ShapeReader::TextReader::start()
{
    m_text.startTextBox(m_shape.m_right - m_shape.m_left, m_shape.m_line);
}

void ShapeReader::TextReader::finish()
{
    m_text.endTextBox();
}

void ShapeReader::finish()
{
    if (!m_hasPicture)
        return;
    m_picture.setShapeSize(m_right - m_left, m_bottom - m_top);
    m_context.state.destination->picture(m_picture);
    m_hasPicture = false;
}

} // namespace ct::rtf
