// The pictures as the program sees them: read back from the resources that
// linking ct_assets brings in, with no Q_INIT_RESOURCE anywhere.
#include "assets/pictures.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <QSet>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <string>

namespace pictures = ct::pictures;

namespace {

struct Expected {
    const char *path;
    int width;
    int height;
    bool transparentCorners;
};

// In the order of pictures::kAll.
const Expected kExpected[] = {
    {":/pictures/icon.png", 32, 32, false},          {":/pictures/dot.png", 15, 15, true},
    {":/pictures/mover_closed.png", 108, 100, true}, {":/pictures/mover_open.png", 108, 100, true},
    {":/pictures/face_surprised.png", 69, 66, true}, {":/pictures/face_wretched.png", 259, 233, true},
    {":/pictures/face_neutral.png", 250, 249, true}, {":/pictures/face_happy.png", 180, 177, true},
};

QImage load(const char *path)
{
    return QImage(QString::fromUtf8(path)).convertToFormat(QImage::Format_ARGB32);
}

// The smallest rectangle holding every pixel whose alpha is not 0.
QRect visibleBounds(const QImage &image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y).alpha() != 0)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

std::string describe(const QColor &c)
{
    return "rgba(" + std::to_string(c.red()) + "," + std::to_string(c.green()) + "," + std::to_string(c.blue()) + ","
           + std::to_string(c.alpha()) + ")";
}

bool isTransparent(const QColor &c)
{
    return c.alpha() == 0;
}

bool is(const QColor &c, int r, int g, int b)
{
    return c.alpha() == 255 && c.red() == r && c.green() == g && c.blue() == b;
}

bool isYellow(const QColor &c)
{
    return is(c, 255, 255, 0);
}

} // namespace

TEST(Pictures, EveryPathIsListedOnceAndDrawn)
{
    ASSERT_EQ(std::size(kExpected), pictures::kAll.size());
    for (std::size_t i = 0; i < pictures::kAll.size(); ++i)
        EXPECT_STREQ(pictures::kAll[i], kExpected[i].path);
    EXPECT_TRUE(pictures::missing().isEmpty()) << pictures::missing().join(u' ').toStdString();
}

TEST(Pictures, MissingNamesThePathsThatDoNotLoad)
{
    const char *const paths[] = {pictures::kDot, ":/pictures/no_such_picture.png", pictures::kIcon};
    EXPECT_EQ(pictures::missing(paths), QStringList{QStringLiteral(":/pictures/no_such_picture.png")});
}

// At their sizes, with alpha, and transparent around every figure.
TEST(Pictures, LoadFromTheResourcesAtTheirSizes)
{
    for (const Expected &e : kExpected) {
        SCOPED_TRACE(e.path);
        const QImage image(QString::fromUtf8(e.path));
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), QSize(e.width, e.height));
        EXPECT_TRUE(image.hasAlphaChannel());
        for (const QPoint corner :
             {QPoint(0, 0), QPoint(e.width - 1, 0), QPoint(0, e.height - 1), QPoint(e.width - 1, e.height - 1)})
            EXPECT_EQ(image.pixelColor(corner).alpha() == 0, e.transparentCorners) << corner.x() << "," << corner.y();
    }
}

TEST(Icon, IsAWhiteGlobeOnDarkRedGround)
{
    const QImage icon = load(pictures::kIcon);
    ASSERT_FALSE(icon.isNull());
    for (const QPoint corner : {QPoint(0, 0), QPoint(31, 0), QPoint(0, 31), QPoint(31, 31)})
        EXPECT_TRUE(is(icon.pixelColor(corner), 130, 0, 0)) << describe(icon.pixelColor(corner));

    int white = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const QColor c = icon.pixelColor(x, y);
            EXPECT_EQ(c.alpha(), 255) << x << "," << y;
            if (c.red() >= 240 && c.green() >= 240 && c.blue() >= 240) {
                ++white;
                // Every white pixel belongs to the globe in the middle.
                EXPECT_LE(std::hypot(x + 0.5 - 16.0, y + 0.5 - 16.0), 15.0) << x << "," << y;
            }
        }
    }
    EXPECT_GE(white, 60);
}

TEST(Dot, IsAYellowDiscInItsFourColours)
{
    const QImage dot = load(pictures::kDot);
    ASSERT_FALSE(dot.isNull());
    EXPECT_TRUE(isYellow(dot.pixelColor(7, 7))) << describe(dot.pixelColor(7, 7));
    QSet<QRgb> seen;
    for (int y = 0; y < 15; ++y) {
        for (int x = 0; x < 15; ++x) {
            const QColor c = dot.pixelColor(x, y);
            const bool allowed = isTransparent(c) || isYellow(c) || is(c, 255, 203, 0) || is(c, 255, 255, 255);
            EXPECT_TRUE(allowed) << x << "," << y << " " << describe(c);
            seen.insert(isTransparent(c) ? 0u : c.rgba());
        }
    }
    EXPECT_EQ(seen.size(), 4) << "transparent, yellow, amber and white all appear";
    EXPECT_EQ(visibleBounds(dot), QRect(1, 1, 13, 13));
    // The rim is amber.
    EXPECT_TRUE(is(dot.pixelColor(1, 7), 255, 203, 0)) << describe(dot.pixelColor(1, 7));
    EXPECT_TRUE(is(dot.pixelColor(13, 7), 255, 203, 0)) << describe(dot.pixelColor(13, 7));
}

TEST(Mover, UsesOnlyYellowAndTransparent)
{
    for (const char *path : {pictures::kMoverClosed, pictures::kMoverOpen}) {
        SCOPED_TRACE(path);
        const QImage mover = load(path);
        ASSERT_FALSE(mover.isNull());
        int wrong = 0;
        for (int y = 0; y < mover.height(); ++y)
            for (int x = 0; x < mover.width(); ++x)
                if (!isTransparent(mover.pixelColor(x, y)) && !isYellow(mover.pixelColor(x, y)))
                    ++wrong;
        EXPECT_EQ(wrong, 0);
    }
}

TEST(Mover, ClosedIsAFullEllipse98By88Centred)
{
    const QImage mover = load(pictures::kMoverClosed);
    ASSERT_FALSE(mover.isNull());
    EXPECT_EQ(visibleBounds(mover), QRect(5, 6, 98, 88));
    // Solid across both centre lines ...
    for (int x = 5; x <= 102; ++x)
        EXPECT_TRUE(isYellow(mover.pixelColor(x, 50))) << x;
    for (int y = 6; y <= 93; ++y)
        EXPECT_TRUE(isYellow(mover.pixelColor(54, y))) << y;
    // ... and round, not a box.
    for (const QPoint corner : {QPoint(5, 6), QPoint(102, 6), QPoint(5, 93), QPoint(102, 93)})
        EXPECT_TRUE(isTransparent(mover.pixelColor(corner))) << corner.x() << "," << corner.y();
}

TEST(Mover, OpenIsTheClosedDiscWithAMouthToTheRight)
{
    const QImage open = load(pictures::kMoverOpen);
    const QImage closed = load(pictures::kMoverClosed);
    ASSERT_FALSE(open.isNull());
    ASSERT_FALSE(closed.isNull());
    ASSERT_EQ(open.size(), closed.size());

    int cutAway = 0;
    for (int y = 0; y < open.height(); ++y) {
        for (int x = 0; x < open.width(); ++x) {
            const bool opaque = !isTransparent(open.pixelColor(x, y));
            if (opaque)
                EXPECT_FALSE(isTransparent(closed.pixelColor(x, y))) << x << "," << y << " lies outside the disc";
            else if (!isTransparent(closed.pixelColor(x, y)))
                ++cutAway;
            // Mirror-symmetric about the horizontal centre line (between rows 49 and 50).
            EXPECT_EQ(opaque, !isTransparent(open.pixelColor(x, 99 - y))) << x << "," << y;
        }
    }
    EXPECT_GT(cutAway, 0);

    for (const int row : {49, 50}) {
        SCOPED_TRACE(row);
        for (int x = 5; x <= 53; ++x)
            EXPECT_TRUE(isYellow(open.pixelColor(x, row))) << x;
        for (int x = 56; x <= 102; ++x)
            EXPECT_TRUE(isTransparent(open.pixelColor(x, row))) << x;
    }
    // The disc is whole on the left and at the top and bottom.
    EXPECT_EQ(visibleBounds(open).left(), 5);
    EXPECT_EQ(visibleBounds(open).top(), 6);
    EXPECT_EQ(visibleBounds(open).bottom(), 93);

    // The mouth opens about 80 degrees: measure it 30 px right of the centre.
    const int column = 54 + 30;
    int gap = 0;
    for (int y = 0; y < open.height(); ++y)
        if (isTransparent(open.pixelColor(column, y)) && !isTransparent(closed.pixelColor(column, y)))
            ++gap;
    const double degrees = 2.0 * std::atan2(gap / 2.0, 30.5) * 180.0 / std::numbers::pi;
    EXPECT_NEAR(degrees, 80.0, 6.0);
}

namespace {

struct Face {
    const char *path;
    // What the skin between the eyes and the mouth looks like.
    std::function<bool(const QColor &)> skin;
    bool tongueOut;
};

bool yellowSkin(const QColor &c)
{
    return c.red() > 220 && c.green() > 180 && c.blue() < 120;
}

const Face kFaces[] = {
    {pictures::kFaceSurprised, yellowSkin, true},
    {pictures::kFaceWretched, [](const QColor &c) { return c.red() > c.green() + 40 && c.green() > c.blue() + 20; },
     true},
    {pictures::kFaceNeutral, yellowSkin, false},
    {pictures::kFaceHappy, [](const QColor &c) { return c.red() > 140 && c.green() > 130 && c.blue() < 110; }, false},
};

} // namespace

TEST(Faces, AreRoundOpaqueFacesWithDarkFeatures)
{
    for (const Face &f : kFaces) {
        SCOPED_TRACE(f.path);
        const QImage face = load(f.path);
        ASSERT_FALSE(face.isNull());
        const QPoint centre(face.width() / 2, face.height() / 2);
        const QColor middle = face.pixelColor(centre);
        EXPECT_EQ(middle.alpha(), 255);
        EXPECT_TRUE(f.skin(middle)) << describe(middle);

        // A circle, as large as the picture allows, in the middle.
        const QRect bounds = visibleBounds(face);
        EXPECT_LE(std::abs(bounds.width() - bounds.height()), 1) << bounds.width() << "x" << bounds.height();
        EXPECT_GE(bounds.height(), std::min(face.width(), face.height()) - 4);
        EXPECT_LE(std::abs(bounds.center().x() - centre.x()), 1);
        EXPECT_LE(std::abs(bounds.center().y() - centre.y()), 1);

        // Eyes and mouth: a fair share of the face is nearly black.
        int dark = 0;
        int opaque = 0;
        for (int y = 0; y < face.height(); ++y) {
            for (int x = 0; x < face.width(); ++x) {
                const QColor c = face.pixelColor(x, y);
                if (c.alpha() != 255)
                    continue;
                ++opaque;
                if (c.red() < 90 && c.green() < 90 && c.blue() < 90)
                    ++dark;
            }
        }
        EXPECT_GT(dark * 100, opaque * 2) << dark << " dark of " << opaque;

        // A red tongue in the lower half, or none at all.
        int red = 0;
        for (int y = face.height() / 2; y < face.height(); ++y) {
            for (int x = 0; x < face.width(); ++x) {
                const QColor c = face.pixelColor(x, y);
                if (c.alpha() == 255 && c.red() > 180 && c.green() < 90 && c.blue() < 90)
                    ++red;
            }
        }
        if (f.tongueOut)
            EXPECT_GE(red * 100, opaque) << red << " red of " << opaque;
        else
            EXPECT_EQ(red, 0);
    }
}

TEST(Faces, SurprisedHasAThinGreenOutline)
{
    const QImage face = load(pictures::kFaceSurprised);
    ASSERT_FALSE(face.isNull());
    const int row = face.height() / 2;
    int x = 0;
    while (x < face.width() && face.pixelColor(x, row).alpha() != 255)
        ++x;
    ASSERT_LT(x, face.width());
    const QColor rim = face.pixelColor(x, row);
    EXPECT_TRUE(rim.green() > rim.red() + 60 && rim.green() > rim.blue() + 60) << describe(rim);
    // Thin: a few pixels in, the face is yellow.
    EXPECT_TRUE(yellowSkin(face.pixelColor(x + 4, row))) << describe(face.pixelColor(x + 4, row));
}
