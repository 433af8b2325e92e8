#include "rtf/picture.h"

#include "rtf/tokenizer.h"
#include "rtf/units.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <utility>

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
    case Kind::Drawing:
        return m_drawing;
    default:
        return {};
    }
}

void Picture::setShapeSize(int widthTwips, int heightTwips)
{
    if (widthTwips <= 0 || heightTwips <= 0)
        return;
    m_goalWidth = widthTwips;
    m_goalHeight = heightTwips;
    m_scaleX = m_scaleY = 100;
}

void Picture::setDrawing(QImage image)
{
    m_kind = Kind::Drawing;
    m_drawing = std::move(image);
}

QSizeF Picture::displaySize(const QImage &image) const
{
    // A metafile gives its size in hundredths of a millimetre.
    const QSizeF natural = image.isNull() ? QSizeF(m_width * 96.0 / 2540.0, m_height * 96.0 / 2540.0)
                                          : QSizeF(image.size());
    double width = m_goalWidth > 0 ? twipsToPixels(m_goalWidth) : natural.width();
    double height = m_goalHeight > 0 ? twipsToPixels(m_goalHeight) : natural.height();
    if (m_scaleX > 0)
        width = width * m_scaleX / 100.0;
    if (m_scaleY > 0)
        height = height * m_scaleY / 100.0;
    if (width <= 0 || height <= 0)
        return {};
    return {std::clamp(width, 1.0, kMaxSidePixels), std::clamp(height, 1.0, kMaxSidePixels)};
}

QImage placeholderImage(QSizeF size)
{
    QImage image(static_cast<int>(std::ceil(size.width())), static_cast<int>(std::ceil(size.height())),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setPen(QColor(160, 160, 160));
    painter.drawRect(image.rect().adjusted(0, 0, -1, -1));
    return image;
}

} // namespace ct::rtf
