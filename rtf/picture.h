#pragma once

#include <QByteArray>
#include <QImage>
#include <QSizeF>

#include <string_view>

namespace ct::rtf {

// The data and size of one \pict group as it is read.
class Picture {
public:
    enum class Kind { Unknown, Png, Jpeg, Other, Drawing };

    void setKind(Kind kind) { m_kind = kind; }
    Kind kind() const { return m_kind; }
    // Picture data comes as hex digits (anything else between them is ignored) or as
    // the raw bytes of \binN.
    void addHex(std::string_view text);
    void addBinary(std::string_view bytes);

    void setGoalWidth(int twips) { m_goalWidth = twips; }
    void setGoalHeight(int twips) { m_goalHeight = twips; }
    void setScaleX(int percent) { m_scaleX = percent; }
    void setScaleY(int percent) { m_scaleY = percent; }
    // \picw, \pich: pixels for bitmaps, hundredths of a millimetre for metafiles.
    void setWidth(int width) { m_width = width; }
    void setHeight(int height) { m_height = height; }
    // A shape around the picture decides its size on the page.
    void setShapeSize(int widthTwips, int heightTwips);
    // A shape drawn by this reader (a rectangle, a line), shown at the image's size.
    // Anchored at the start of a paragraph, it stands above the paragraph's text.
    void setDrawing(QImage image);
    bool isDrawing() const { return m_kind == Kind::Drawing; }

    // The image when it is a PNG or JPEG picture that decodes; a null image otherwise.
    QImage decode() const;
    // A metafile or other picture this reader cannot draw, shown as an empty frame.
    bool isPlaceholder() const { return m_kind == Kind::Other; }
    // The size to show the picture at, in pixels: the writer's goal size and scale
    // where given, the picture's own size otherwise (`image` for PNG and JPEG).
    QSizeF displaySize(const QImage &image) const;

private:
    Kind m_kind = Kind::Unknown;
    QByteArray m_data;
    QImage m_drawing;
    int m_pendingNibble = -1;
    int m_goalWidth = 0;
    int m_goalHeight = 0;
    int m_scaleX = 100;
    int m_scaleY = 100;
    int m_width = 0;
    int m_height = 0;
};

// An empty frame of `size` pixels, standing for a picture that cannot be shown.
QImage placeholderImage(QSizeF size);

} // namespace ct::rtf
