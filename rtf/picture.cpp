#include "rtf/picture.h"

#include "rtf/tokenizer.h"
#include "rtf/units.h"

#include <algorithm>

namespace ct::rtf {
namespace {

// Larger sizes are certainly mistakes; they would only make the layout slow.
constexpr double kMaxSidePixels = 4000.0;

} // namespace

void Picture::addHex(std::string_view text)
{
    for (const char c : text) {
        const int value = hexDigitValue(c);
        if (value < 0)
            continue;
        if (m_pendingNibble < 0) {
            m_pendingNibble = value;
        } else {
            m_data.append(static_cast<char>(m_pendingNibble * 16 + value));
            m_pendingNibble = -1;
        }
    }
}

void Picture::addBinary(std::string_view bytes)
{
    m_data.append(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

QImage Picture::decode() const
{
    switch (m_kind) {
    case Kind::Png:
        return QImage::fromData(m_data, "PNG");
    case Kind::Jpeg:
        return QImage::fromData(m_data, "JPEG");
    default:
        return {};
    }
}

QSizeF Picture::displaySize(const QImage &image) const
{
    double width = m_goalWidth > 0 ? twipsToPixels(m_goalWidth) : image.width();
    double height = m_goalHeight > 0 ? twipsToPixels(m_goalHeight) : image.height();
    if (m_scaleX > 0)
        width = width * m_scaleX / 100.0;
    if (m_scaleY > 0)
        height = height * m_scaleY / 100.0;
    return {std::clamp(width, 1.0, kMaxSidePixels), std::clamp(height, 1.0, kMaxSidePixels)};
}

} // namespace ct::rtf
