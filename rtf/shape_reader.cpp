#include "rtf/shape_reader.h"

#include "rtf/reader_context.h"
#include "rtf/units.h"

#include <QPainter>
#include <QTextFrameFormat>

#include <algorithm>
#include <cmath>
#include <optional>

namespace ct::rtf {
namespace {

constexpr int kRectangle = 1;
constexpr int kLine = 20;

// A colour is one number with red in its lowest byte (0x00BBGGRR); a higher byte
// names a colour of a scheme or of the system, which keeps the default here.
std::optional<QColor> colorOf(const QByteArray &value)
{
    bool ok = false;
    const qlonglong number = value.trimmed().toLongLong(&ok);
    if (!ok || number < 0 || number > 0xFFFFFF)
        return std::nullopt;
    return QColor(int(number & 0xFF), int((number >> 8) & 0xFF), int((number >> 16) & 0xFF));
}

} // namespace

ShapeReader::ShapeReader(ReaderContext &context, TextDestination &text)
    : m_context(context), m_nameReader(*this), m_valueReader(*this), m_textReader(*this, text)
{
}

void ShapeReader::start()
{
    m_left = m_top = m_right = m_bottom = 0;
    m_type = 0;
    m_line = true;
    m_lineColor = Qt::black;
    m_lineWidth = 1;
    m_filled = true;
    m_fillColor = Qt::white;
    m_flipH = m_flipV = false;
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
        if (m_shown || m_hasPicture || drawable())
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
    const QByteArray name = m_name.trimmed();
    const bool on = m_value.trimmed() != "0";
    if (name == "shapeType") {
        m_type = m_value.trimmed().toInt();
    } else if (name == "fLine") {
        m_line = on;
    } else if (name == "lineColor") {
        m_lineColor = colorOf(m_value).value_or(m_lineColor);
    } else if (name == "lineWidth") {
        // In EMU: 12700 a point, 9525 a pixel.
        bool ok = false;
        const double emu = m_value.trimmed().toDouble(&ok);
        if (ok)
            m_lineWidth = std::clamp(std::round(emu / 9525.0), 1.0, 50.0);
    } else if (name == "fFilled") {
        m_filled = on;
    } else if (name == "fillColor") {
        m_fillColor = colorOf(m_value).value_or(m_fillColor);
    } else if (name == "fFlipH") {
        m_flipH = on;
    } else if (name == "fFlipV") {
        m_flipV = on;
    }
}

bool ShapeReader::drawable() const
{
    if (m_shown || m_hasPicture)
        return false;
    if (m_type == kRectangle)
        return m_right > m_left && m_bottom > m_top && (m_line || m_filled);
    return m_type == kLine && m_line && (m_right > m_left || m_bottom > m_top);
}

QImage ShapeReader::drawing(double offset) const
{
    const int left = qRound(offset);
    const int width = qRound(twipsToPixels(m_right - m_left));
    const int height = qRound(twipsToPixels(m_bottom - m_top));
    const int pen = m_line ? static_cast<int>(m_lineWidth) : 0;
    QImage image(left + std::max(width, pen), std::max(height, pen), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    const QRect box(left, 0, width, height);
    if (m_type == kRectangle) {
        // The outline lies inside the shape's edge, the fill inside the outline.
        if (pen > 0)
            painter.fillRect(box, m_lineColor);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(box.adjusted(pen, pen, -pen, -pen), m_filled ? m_fillColor : QColor(Qt::transparent));
    } else if (width == 0 || height == 0) {
        // A level or upright line, as thick as its pen.
        painter.fillRect(QRect(left, 0, std::max(width, pen), std::max(height, pen)), m_lineColor);
    } else {
        // From one corner of its box to the other.
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(m_lineColor, pen, Qt::SolidLine, Qt::FlatCap));
        const QPointF from(m_flipH ? box.right() + 1 : box.left(), m_flipV ? box.bottom() + 1 : box.top());
        const QPointF to(m_flipH ? box.left() : box.right() + 1, m_flipV ? box.top() : box.bottom() + 1);
        painter.drawLine(from, to);
    }
    return image;
}

void ShapeReader::TextReader::start()
{
    const ShapeReader &shape = m_shape;
    QTextFrameFormat format;
    format.setBorder(shape.m_line ? shape.m_lineWidth : 0);
    if (shape.m_line)
        format.setBorderBrush(shape.m_lineColor);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setPadding(3);
    if (shape.m_filled)
        format.setBackground(shape.m_fillColor);
    if (shape.m_right > shape.m_left)
        format.setWidth(QTextLength(QTextLength::FixedLength, twipsToPixels(shape.m_right - shape.m_left)));
    m_text.startTextBox(format);
}

void ShapeReader::TextReader::finish()
{
    m_text.endTextBox();
}

void ShapeReader::finish()
{
    if (drawable()) {
        // At its distance from the left edge.
        Picture drawn;
        drawn.setDrawing(drawing(twipsToPixels(std::max(m_left, 0))));
        m_context.state.destination->picture(drawn);
        return;
    }
    if (!m_hasPicture)
        return;
    m_picture.setShapeSize(m_right - m_left, m_bottom - m_top);
    m_context.state.destination->picture(m_picture);
    m_hasPicture = false;
}

} // namespace ct::rtf
