#pragma once

#include "rtf/destination.h"
#include "rtf/picture.h"
#include "rtf/text_destination.h"

#include <QByteArray>
#include <QColor>

namespace ct::rtf {

class ReaderContext;

// \shp: a drawing object. Its picture (the "pib" property) shows where the shape
// is anchored, at the shape's size; a text box's text (\shptxt) shows as a framed
// paragraph, in the shape's outline and fill; a rectangle or a line is drawn at
// its size (\shpleft... \shpbottom), in its colours; \shprslt, the writer's
// stand-in for readers without shapes, is read only when the shape itself
// showed nothing.
class ShapeReader : public Destination {
public:
    ShapeReader(ReaderContext &context, TextDestination &text);

    void start() override;
    void word(Word word, const Token &token) override;
    void finish() override;

private:
    // \sn: a property's name.
    class NameReader : public Destination {
    public:
        explicit NameReader(ShapeReader &shape) : m_shape(shape) {}
        void start() override { m_shape.m_name.clear(); }
        void bytes(std::string_view bytes, bool) override
        {
            m_shape.m_name.append(bytes.data(), static_cast<qsizetype>(bytes.size()));
        }

    private:
        ShapeReader &m_shape;
    };

    // \sv: a property's value, text or a picture.
    class ValueReader : public Destination {
    public:
        explicit ValueReader(ShapeReader &shape) : m_shape(shape) {}
        void start() override { m_shape.m_value.clear(); }
        void word(Word word, const Token &token) override;
        void bytes(std::string_view bytes, bool) override
        {
            m_shape.m_value.append(bytes.data(), static_cast<qsizetype>(bytes.size()));
        }
        void picture(const Picture &picture) override;
        void finish() override { m_shape.propertyRead(); }

    private:
        ShapeReader &m_shape;
    };

    // \shptxt: the text box's paragraphs, read as the document's text in a frame.
    class TextReader : public TextPart {
    public:
        TextReader(ShapeReader &shape, TextDestination &text) : TextPart(text), m_shape(shape) {}
        void start() override;
        void finish() override;

    private:
        ShapeReader &m_shape;
    };

    void propertyRead();
    // A rectangle or a line of some size, which this reader draws itself.
    bool drawable() const;
    // The shape's outline and fill, at its size and `offset` pixels from the left.
    QImage drawing(double offset) const;

    ReaderContext &m_context;
    NameReader m_nameReader;
    ValueReader m_valueReader;
    TextReader m_textReader;
    QByteArray m_name;
    QByteArray m_value;
    int m_left = 0;
    int m_top = 0;
    int m_right = 0;
    int m_bottom = 0;
    // The shape's properties: its kind, outline and fill, as Word's drawing
    // format defines them and their defaults.
    int m_type = 0;     // shapeType: 1 a rectangle, 20 a line, 202 a text box...
    bool m_line = true; // fLine: the shape has an outline
    QColor m_lineColor = Qt::black;
    double m_lineWidth = 1; // lineWidth, in pixels
    bool m_filled = true;   // fFilled
    QColor m_fillColor = Qt::white;
    bool m_flipH = false; // fFlipH, fFlipV: a line runs from the other corner
    bool m_flipV = false;
    bool m_shown = false; // the shape showed its picture or text
    bool m_hasPicture = false;
    Picture m_picture;
};

} // namespace ct::rtf
