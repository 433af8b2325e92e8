#include "rtf/picture_reader.h"

#include "rtf/reader_context.h"
#include "rtf/units.h"

#include <algorithm>

namespace ct::rtf {

void PictureReader::word(Word word, const Token &token)
{
    switch (word) {
    case Word::PngBlip:
        m_picture.setKind(Picture::Kind::Png);
        break;
    case Word::JpegBlip:
        m_picture.setKind(Picture::Kind::Jpeg);
        break;
    case Word::OtherBlip:
        m_picture.setKind(Picture::Kind::Other);
        break;
    case Word::PictureGoalWidth:
        m_picture.setGoalWidth(token.parameter);
        break;
    case Word::PictureGoalHeight:
        m_picture.setGoalHeight(token.parameter);
        break;
    case Word::PictureScaleX:
        m_picture.setScaleX(token.parameter);
        break;
    case Word::PictureScaleY:
        m_picture.setScaleY(token.parameter);
        break;
    case Word::PictureWidth:
        m_picture.setWidth(std::clamp(token.parameter, 0, kMaxTwips));
        break;
    case Word::PictureHeight:
        m_picture.setHeight(std::clamp(token.parameter, 0, kMaxTwips));
        break;
    default:
        break;
    }
}

void PictureReader::bytes(std::string_view bytes, bool escaped)
{
    if (!escaped)
        m_picture.addHex(bytes);
}

void PictureReader::finish()
{
    m_context.state.destination->picture(m_picture);
    m_picture = Picture();
}

} // namespace ct::rtf
