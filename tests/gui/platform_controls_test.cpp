// The platform layer's geometry and controls: twips kept exactly and snapped
// per edge, the builders, stacking and focus order, and how the frames and
// bordered labels draw.
#include "gui_support.h"
#include "platform/controls.h"
#include "platform/fonts.h"
#include "platform/twips.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace ct;

class PlatformControlsTest : public QObject {
    Q_OBJECT

private slots:
    // The program's own fonts, as the program installs them: measured captions do
    // not depend on the fonts of the machine.
    void initTestCase() { installFonts(); }

    void pixelsFromTwips_data()
    {
        QTest::addColumn<TwipsRect>("twips");
        QTest::addColumn<QRect>("pixels");
        QTest::newRow("whole pixels") << TwipsRect{4200, 1080, 855, 375} << QRect(280, 72, 57, 25);
        QTest::newRow("a dot") << TwipsRect{2880, 360, 105, 105} << QRect(192, 24, 7, 7);
        QTest::newRow("mover after 5 points") << TwipsRect{2676.25f, 357.8f, 169, 154.4f} << QRect(178, 24, 12, 10);
        // Bars standing on the line 7095 keep a common bottom edge (473 px).
        QTest::newRow("bar of 760 points") << TwipsRect{1440, 4891, 615, 2204} << QRect(96, 326, 41, 147);
        QTest::newRow("bar of 759.4 points") << TwipsRect{1440, 4892.74f, 615, 2202.26f} << QRect(96, 326, 41, 147);
        QTest::newRow("bar of 0 points") << TwipsRect{1440, 7095, 615, 0} << QRect(96, 473, 41, 0);
        QTest::newRow("bar 1 twip wide") << TwipsRect{2640, 840, 1, 615} << QRect(176, 56, 0, 41);
    }
    void pixelsFromTwips()
    {
        QFETCH(TwipsRect, twips);
        QFETCH(QRect, pixels);
        QCOMPARE(toPixels(twips), pixels);
    }

    void twipsAreKeptExactlyAndChangedOneAtATime()
    {
        QWidget parent;
        QWidget child(&parent);
        setTwipsGeometry(&child, {2640, 360, 165, 150});
        setTwipsWidth(&child, 772.4f);
        setTwipsHeight(&child, 818.27f);
        setTwipsTop(&child, 25.9f);
        setTwipsLeft(&child, 8145.65f);
        QCOMPARE(twipsGeometry(&child), (TwipsRect{8145.65f, 25.9f, 772.4f, 818.27f}));
        QCOMPARE(child.geometry(), QRect(543, 2, 52, 54));
        // A widget placed in pixels reports its twips.
        QWidget other(&parent);
        other.setGeometry(10, 20, 30, 40);
        QCOMPARE(twipsGeometry(&other), (TwipsRect{150, 300, 450, 600}));
    }

    void windowsGetTheirClientArea()
    {
        QWidget window;
        setUpWindow(&window, QStringLiteral("Game"), 9885, 6600, designFont("MS Sans Serif", 24), QPalette::Button);
        QCOMPARE(window.size(), QSize(659, 440));
        QCOMPARE(window.minimumSize(), window.maximumSize());
        QCOMPARE(window.windowTitle(), QStringLiteral("Game"));
        QCOMPARE(window.font().pointSizeF(), 24.0);
        QVERIFY(window.testAttribute(Qt::WA_DeleteOnClose));
        window.setAttribute(Qt::WA_DeleteOnClose, false);
    }

    void linesAreOnePixelThick()
    {
        QWidget window;
        LineBox *horizontal = addLine(&window, "Line2", QStringLiteral("Horizontal axis"), 1320, 7080, 9000, 7080);
        LineBox *vertical = addLine(&window, "Line1", QStringLiteral("Vertical axis"), 1320, 4800, 1320, 7080);
        QCOMPARE(horizontal->geometry(), QRect(88, 472, 513, 1));
        QCOMPARE(vertical->geometry(), QRect(88, 320, 1, 153));
        QCOMPARE(horizontal->objectName(), QStringLiteral("Line2"));
    }

    void stackingAndFocusOrder()
    {
        QWidget window;
        QPushButton *first = addButton(&window, "first", QStringLiteral("1"), {0, 0, 600, 300}, window.font());
        QPushButton *second = addButton(&window, "second", QStringLiteral("2"), {0, 0, 600, 300}, window.font());
        QPushButton *third = addButton(&window, "third", QStringLiteral("3"), {0, 0, 600, 300}, window.font());
        stackFrontToBack({second, third, first});
        // children() runs from the back to the front.
        const QObjectList order = window.children();
        QVERIFY(order.indexOf(second) > order.indexOf(third));
        QVERIFY(order.indexOf(third) > order.indexOf(first));
        chainTabOrder({third, first, second});
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        third->setFocus();
        QTest::keyClick(third, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), first);
        QTest::keyClick(first, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), second);
        QVERIFY(first->autoDefault()); // Enter presses the focused button
    }

    void borderedLabelsKeepABlackBorderWhateverTheirTextColour()
    {
        QWidget window;
        window.resize(100, 60);
        QLabel *label = addLabel(&window, "txtWins", QStringLiteral("5.0"), {0, 0, 1500, 750},
                                 designFont("MS Sans Serif", 24), {QColor(255, 255, 255), {}, true, Qt::AlignHCenter});
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
        label->setPalette(palette);
        const QImage image = label->grab().toImage();
        QCOMPARE(image.pixelColor(0, 25), QApplication::palette().color(QPalette::WindowText));
        QCOMPARE(image.pixelColor(99, 25), QApplication::palette().color(QPalette::WindowText));
        QCOMPARE(image.pixelColor(3, 47), QColor(255, 255, 255)); // opaque white inside
        QVERIFY(qobject_cast<BoxLabel *>(label));
        QLabel *plain = addLabel(&window, "Label1", QStringLiteral("Points"), {0, 0, 1500, 750}, window.font(), {});
        QVERIFY(!qobject_cast<BoxLabel *>(plain));
        QVERIFY(!plain->autoFillBackground()); // no background colour given: transparent
    }

    void framesDrawTheirCaptionInTheTopBorder()
    {
        QWidget window;
        window.setPalette(QPalette(QColor(240, 240, 240)));
        QGroupBox *frame = addFrame(&window, "Frame5", QStringLiteral("Total Points"), {0, 0, 3255, 1455},
                                    designFont("MS Sans Serif", 12));
        frame->setPalette(window.palette());
        const QImage image = frame->grab().toImage();
        const int borderRow = QFontMetrics(frame->font()).height() / 2;
        // The border line runs at the caption's middle, not below it...
        QVERIFY(image.pixelColor(frame->width() - 20, borderRow)
                != image.pixelColor(frame->width() - 20, borderRow + 5));
        // ...and stops where the caption begins.
        QCOMPARE(image.pixelColor(7, borderRow), frame->palette().color(QPalette::Window));
    }
};

QTEST_MAIN(PlatformControlsTest)
#include "platform_controls_test.moc"
