#pragma once

#include <QByteArray>
#include <QImage>
#include <QSizeF>

#include <string_view>

namespace ct::rtf {

// The data and size of one \pict group as it is read.
class Picture {
public:
    enum class Kind { Unknown, Png, Jpeg, Other };

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

    // The image when it is a PNG or JPEG picture that decodes; a null image otherwise.
    QImage decode() const;
    // The size to show `image` at, in pixels: the writer's goal size and scale where
    // given, the image's own size otherwise.
    QSizeF displaySize(const QImage &image) const;

private:
    Kind m_kind = Kind::Unknown;
    QByteArray m_data;
    int m_pendingNibble = -1;
    int m_goalWidth = 0;
    int m_goalHeight = 0;
    int m_scaleX = 100;
    int m_scaleY = 100;
};

} // namespace ct::rtf
