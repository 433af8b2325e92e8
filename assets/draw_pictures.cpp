// Draws the program's pictures and writes them as PNG files (32-bit, with
// alpha) into the folder named on the command line. Run by the build; the
// files it writes are compiled into the program by ct_assets.
//
// The small pictures (dot, movers) are set pixel by pixel so that they keep
// to their few colours with crisp edges; the icon and the faces are painted
// with antialiasing. Nothing here needs a QGuiApplication: QPainter on a
// QImage draws no text and uses no platform plugin.

#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QRadialGradient>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <numbers>
#include <utility>

namespace {

const QColor kTransparent(0, 0, 0, 0);
const QColor kYellow(255, 255, 0);
const QColor kAmber(255, 203, 0);
const QColor kWhite(255, 255, 255);
const QColor kIconGround(130, 0, 0);

QImage blank(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(kTransparent);
    return image;
}

// ---------------------------------------------------------------------------
// Window icon: a white globe on a dark red square, drawn on a 32-unit grid
// at any size; the same shapes make the scalable (SVG) icon.

constexpr double kIconGrid = 32.0;
constexpr double kIconRadius = 13.0;
constexpr double kIconParallels[] = {-7.0, 0.0, 7.0};
constexpr double kIconMeridianHalfWidth = 6.0;

QImage drawIcon(int size)
{
    QImage image = blank(size, size);
    image.fill(kIconGround);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / kIconGrid, size / kIconGrid);
    // Lines 2 units wide centred on whole coordinates cover whole pixels at
    // 32 px, so the straight ones come out crisp.
    const QPointF centre(16.0, 16.0);
    QPen pen(kWhite, 2.0);
    pen.setCapStyle(Qt::FlatCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);

    // Parallels: the equator and one on either side, as chords of the outline.
    for (double offset : kIconParallels) {
        const double half = std::sqrt(kIconRadius * kIconRadius - offset * offset);
        p.drawLine(QPointF(centre.x() - half, centre.y() + offset), QPointF(centre.x() + half, centre.y() + offset));
    }
    // Meridians: the central one straight, two more as an ellipse through the poles.
    p.drawLine(QPointF(centre.x(), centre.y() - kIconRadius), QPointF(centre.x(), centre.y() + kIconRadius));
    p.drawEllipse(centre, kIconMeridianHalfWidth, kIconRadius);
    p.drawEllipse(centre, kIconRadius, kIconRadius);
    return image;
}

// The same icon as SVG, for desktops that draw icons at any size.
QByteArray iconSvg()
{
    QByteArray svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"32\" height=\"32\" viewBox=\"0 0 32 32\">\n"
                     "  <rect width=\"32\" height=\"32\" fill=\""
                     + kIconGround.name().toLatin1()
                     + "\"/>\n"
                       "  <g fill=\"none\" stroke=\"#ffffff\" stroke-width=\"2\">\n";
    const auto number = [](double value) { return QByteArray::number(value, 'f', 4); };
    for (double offset : kIconParallels) {
        const double half = std::sqrt(kIconRadius * kIconRadius - offset * offset);
        svg += "    <line x1=\"" + number(16.0 - half) + "\" y1=\"" + number(16.0 + offset) + "\" x2=\""
               + number(16.0 + half) + "\" y2=\"" + number(16.0 + offset) + "\"/>\n";
    }
    svg += "    <line x1=\"16\" y1=\"" + number(16.0 - kIconRadius) + "\" x2=\"16\" y2=\"" + number(16.0 + kIconRadius)
           + "\"/>\n";
    svg += "    <ellipse cx=\"16\" cy=\"16\" rx=\"" + number(kIconMeridianHalfWidth) + "\" ry=\"" + number(kIconRadius)
           + "\"/>\n";
    svg += "    <circle cx=\"16\" cy=\"16\" r=\"" + number(kIconRadius) + "\"/>\n";
    svg += "  </g>\n</svg>\n";
    return svg;
}

// ---------------------------------------------------------------------------
// Dot: a yellow disc 13 px across with an amber rim and a white glint, in
// four colours only (transparent, yellow, amber, white).

QImage drawDot()
{
    QImage image = blank(15, 15);
    const auto inside = [](int x, int y) {
        if (x < 0 || y < 0 || x >= 15 || y >= 15)
            return false;
        const int dx = x - 7;
        const int dy = y - 7;
        return dx * dx + dy * dy <= 42; // radius 6.5, so 13 px across
    };
    for (int y = 0; y < 15; ++y) {
        for (int x = 0; x < 15; ++x) {
            if (!inside(x, y))
                continue;
            const bool rim = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
            image.setPixelColor(x, y, rim ? kAmber : kYellow);
        }
    }
    // The glint, up and to the left of the centre.
    for (const auto &[x, y] : {std::pair{4, 4}, std::pair{5, 4}, std::pair{4, 5}})
        image.setPixelColor(x, y, kWhite);
    return image;
}

// ---------------------------------------------------------------------------
// Mover: a yellow disc 98 x 88 px centred in 108 x 100, closed or with its
// mouth open to the right. Two colours, no antialiasing.

constexpr int kMoverWidth = 108;
constexpr int kMoverHeight = 100;
constexpr double kMoverHalfWidth = 49.0;                            // 98 px across
constexpr double kMoverHalfHeight = 44.0;                           // 88 px high
constexpr double kMouthHalfAngle = 40.0 * std::numbers::pi / 180.0; // an 80 degree wedge

QImage drawMover(bool mouthOpen)
{
    QImage image = blank(kMoverWidth, kMoverHeight);
    const double cx = kMoverWidth / 2.0;
    const double cy = kMoverHeight / 2.0;
    for (int y = 0; y < kMoverHeight; ++y) {
        for (int x = 0; x < kMoverWidth; ++x) {
            // Pixel centres lie symmetrically about the picture's centre, so
            // the disc and the mouth come out mirror-symmetric.
            const double dx = x + 0.5 - cx;
            const double dy = y + 0.5 - cy;
            const double ex = dx / kMoverHalfWidth;
            const double ey = dy / kMoverHalfHeight;
            if (ex * ex + ey * ey > 1.0)
                continue;
            if (mouthOpen && dx > 0.0 && std::atan2(std::abs(dy), dx) < kMouthHalfAngle)
                continue;
            image.setPixelColor(x, y, kYellow);
        }
    }
    return image;
}

// ---------------------------------------------------------------------------
// Faces. Each is drawn in face units: the face is the circle of radius 1
// about the origin, +y pointing down, scaled to fit the picture with a small
// transparent margin.

void paintFace(QImage &image, const std::function<void(QPainter &)> &draw)
{
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double radius = std::min(image.width(), image.height()) / 2.0 - 1.5;
    p.translate(image.width() / 2.0, image.height() / 2.0);
    p.scale(radius, radius);
    draw(p);
}

QPen roundPen(const QColor &colour, double width)
{
    QPen pen(colour, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

// A soft white sheen across the upper left of the face.
// A face's round skin: a radial gradient from a highlight towards the rim
// (colours at 0, `middle` and 1), inside an outline.
struct Skin {
    QPointF highlight;
    double radius;
    QColor centre;
    double middle;
    QColor between;
    QColor rim;
};

void paintSkin(QPainter &p, const Skin &skin, const QColor &outline, double outlineWidth)
{
    QRadialGradient gradient(skin.highlight, skin.radius);
    gradient.setColorAt(0.0, skin.centre);
    gradient.setColorAt(skin.middle, skin.between);
    gradient.setColorAt(1.0, skin.rim);
    p.setPen(QPen(outline, outlineWidth));
    p.setBrush(gradient);
    p.drawEllipse(QPointF(0.0, 0.0), 1.0 - outlineWidth / 2, 1.0 - outlineWidth / 2);
}

void drawGloss(QPainter &p, const QPointF &centre, double rx, double ry, double angle, int alpha)
{
    p.save();
    p.translate(centre);
    p.rotate(angle);
    QLinearGradient sheen(0.0, -ry, 0.0, ry);
    sheen.setColorAt(0.0, QColor(255, 255, 255, alpha));
    sheen.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(sheen);
    p.drawEllipse(QPointF(0.0, 0.0), rx, ry);
    p.restore();
}

QImage drawFaceSurprised()
{
    QImage image = blank(69, 66);
    paintFace(image, [](QPainter &p) {
        paintSkin(p, {QPointF(-0.3, -0.35), 1.3, QColor(255, 248, 120), 0.5, QColor(255, 228, 20), QColor(240, 196, 0)},
                  QColor(0, 140, 45), 0.05);

        const QColor dark(55, 35, 10);
        // Raised brows.
        p.setPen(roundPen(dark, 0.075));
        p.setBrush(Qt::NoBrush);
        for (double side : {-1.0, 1.0}) {
            QPainterPath brow;
            brow.moveTo(side * 0.18, -0.62);
            brow.quadTo(side * 0.36, -0.80, side * 0.54, -0.64);
            p.drawPath(brow);
        }
        // Wide open eyes.
        for (double side : {-1.0, 1.0}) {
            p.setPen(QPen(dark, 0.05));
            p.setBrush(kWhite);
            p.drawEllipse(QPointF(side * 0.35, -0.26), 0.21, 0.27);
            p.setPen(Qt::NoPen);
            p.setBrush(dark);
            p.drawEllipse(QPointF(side * 0.33, -0.22), 0.10, 0.11);
        }
        // Open mouth with the tongue at its floor.
        const QPointF mouth(0.0, 0.42);
        QPainterPath opening;
        opening.addEllipse(mouth, 0.24, 0.30);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(110, 10, 15));
        p.drawPath(opening);
        p.save();
        p.setClipPath(opening);
        p.setBrush(QColor(225, 45, 55));
        p.drawEllipse(QPointF(0.0, 0.70), 0.22, 0.18);
        p.restore();
        p.setPen(QPen(dark, 0.05));
        p.setBrush(Qt::NoBrush);
        p.drawPath(opening);
    });
    return image;
}

QImage drawFaceWretched()
{
    QImage image = blank(259, 233);
    paintFace(image, [](QPainter &p) {
        const double outline = 0.05;
        paintSkin(p,
                  {QPointF(-0.25, -0.35), 1.35, QColor(240, 172, 98), 0.55, QColor(204, 120, 52), QColor(150, 82, 34)},
                  QColor(168, 196, 226), outline);

        // A cold, pale blue pallor over the lower face.
        QLinearGradient pallor(0.0, 0.0, 0.0, 1.0);
        pallor.setColorAt(0.0, QColor(172, 210, 245, 0));
        pallor.setColorAt(1.0, QColor(172, 210, 245, 140));
        p.setPen(Qt::NoPen);
        p.setBrush(pallor);
        p.drawEllipse(QPointF(0.0, 0.0), 1.0 - outline, 1.0 - outline);

        // Brows drawn up in the middle: misery.
        p.setPen(roundPen(QColor(70, 35, 10), 0.05));
        p.setBrush(Qt::NoBrush);
        for (double side : {-1.0, 1.0}) {
            QPainterPath brow;
            brow.moveTo(side * 0.16, -0.58);
            brow.quadTo(side * 0.34, -0.56, side * 0.54, -0.44);
            p.drawPath(brow);
        }

        // Knocked-out eyes: two black crosses.
        p.setPen(roundPen(Qt::black, 0.075));
        const double arm = 0.13;
        for (double side : {-1.0, 1.0}) {
            const QPointF eye(side * 0.38, -0.26);
            p.drawLine(eye + QPointF(-arm, -arm), eye + QPointF(arm, arm));
            p.drawLine(eye + QPointF(-arm, arm), eye + QPointF(arm, -arm));
        }

        // The tongue hangs out of the right side of the mouth ...
        QPainterPath tongue;
        tongue.moveTo(0.04, 0.40);
        tongue.cubicTo(0.04, 0.62, 0.10, 0.76, 0.20, 0.76);
        tongue.cubicTo(0.30, 0.76, 0.36, 0.62, 0.34, 0.44);
        tongue.closeSubpath();
        p.setPen(QPen(QColor(120, 10, 20), 0.03));
        p.setBrush(QColor(222, 42, 52));
        p.drawPath(tongue);
        p.setPen(roundPen(QColor(150, 20, 30), 0.025));
        QPainterPath groove;
        groove.moveTo(0.19, 0.45);
        groove.quadTo(0.20, 0.58, 0.20, 0.64);
        p.drawPath(groove);

        // ... of a drooping mouth.
        QPainterPath mouth;
        mouth.moveTo(-0.46, 0.58);
        mouth.cubicTo(-0.28, 0.30, 0.28, 0.30, 0.46, 0.58);
        p.setPen(roundPen(Qt::black, 0.065));
        p.setBrush(Qt::NoBrush);
        p.drawPath(mouth);

        // A bead of cold sweat.
        QPainterPath drop;
        drop.moveTo(0.72, -0.60);
        drop.cubicTo(0.76, -0.48, 0.82, -0.42, 0.82, -0.36);
        drop.cubicTo(0.82, -0.30, 0.77, -0.27, 0.72, -0.27);
        drop.cubicTo(0.67, -0.27, 0.62, -0.30, 0.62, -0.36);
        drop.cubicTo(0.62, -0.42, 0.68, -0.48, 0.72, -0.60);
        p.setPen(QPen(QColor(110, 150, 195), 0.02));
        p.setBrush(QColor(200, 225, 245));
        p.drawPath(drop);
    });
    return image;
}

QImage drawFaceNeutral()
{
    QImage image = blank(250, 249);
    paintFace(image, [](QPainter &p) {
        paintSkin(p, {QPointF(-0.2, -0.3), 1.3, QColor(255, 248, 90), 0.6, QColor(255, 224, 0), QColor(236, 178, 0)},
                  QColor(196, 136, 0), 0.03);

        drawGloss(p, QPointF(-0.32, -0.55), 0.46, 0.22, -28.0, 220);

        for (double side : {-1.0, 1.0}) {
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::black);
            p.drawEllipse(QPointF(side * 0.33, -0.18), 0.105, 0.19);
            p.setBrush(QColor(255, 255, 255, 210));
            p.drawEllipse(QPointF(side * 0.33 - 0.035, -0.26), 0.03, 0.045);
        }

        p.setPen(roundPen(Qt::black, 0.09));
        p.drawLine(QPointF(-0.36, 0.44), QPointF(0.36, 0.44));
    });
    return image;
}

QImage drawFaceHappy()
{
    QImage image = blank(180, 177);
    paintFace(image, [](QPainter &p) {
        paintSkin(p,
                  {QPointF(-0.3, -0.4), 1.45, QColor(242, 236, 140), 0.45, QColor(212, 200, 58), QColor(138, 126, 18)},
                  QColor(98, 88, 8), 0.03);

        drawGloss(p, QPointF(-0.30, -0.58), 0.40, 0.18, -28.0, 120);

        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        for (double side : {-1.0, 1.0})
            p.drawEllipse(QPointF(side * 0.32, -0.24), 0.10, 0.18);

        // A wide smile with small dimples at its corners.
        p.setPen(roundPen(Qt::black, 0.09));
        p.setBrush(Qt::NoBrush);
        QPainterPath smile;
        smile.moveTo(-0.56, 0.16);
        smile.cubicTo(-0.38, 0.74, 0.38, 0.74, 0.56, 0.16);
        p.drawPath(smile);
        p.setPen(roundPen(Qt::black, 0.05));
        for (double side : {-1.0, 1.0})
            p.drawLine(QPointF(side * 0.50, 0.10), QPointF(side * 0.63, 0.22));
    });
    return image;
}

struct Picture {
    const char *fileName;
    QImage (*draw)();
};

const Picture kPictures[] = {
    {"icon.png", [] { return drawIcon(32); }},
    // The sizes desktops show in menus and launchers, for the installed icon.
    {"icon_48.png", [] { return drawIcon(48); }},
    {"icon_64.png", [] { return drawIcon(64); }},
    {"icon_128.png", [] { return drawIcon(128); }},
    {"icon_256.png", [] { return drawIcon(256); }},
    {"dot.png", drawDot},
    {"mover_closed.png", [] { return drawMover(false); }},
    {"mover_open.png", [] { return drawMover(true); }},
    {"face_surprised.png", drawFaceSurprised},
    {"face_wretched.png", drawFaceWretched},
    {"face_neutral.png", drawFaceNeutral},
    {"face_happy.png", drawFaceHappy},
};

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "draw_pictures: cannot create %s\n", argv[1]);
        return 1;
    }
    QFile svg(folder.filePath(QStringLiteral("icon.svg")));
    if (!svg.open(QIODevice::WriteOnly) || svg.write(iconSvg()) < 0) {
        std::fprintf(stderr, "draw_pictures: cannot write %s\n", qPrintable(svg.fileName()));
        return 1;
    }
    svg.close();
    for (const Picture &picture : kPictures) {
        const QString path = folder.filePath(QString::fromLatin1(picture.fileName));
        const QImage image = picture.draw().convertToFormat(QImage::Format_ARGB32);
        if (!image.save(path, "PNG")) {
            std::fprintf(stderr, "draw_pictures: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
