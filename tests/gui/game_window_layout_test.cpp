// The game window as it opens: controls, fonts, looks, stacking, and the
// waiting-to-start state Form_Load leaves (its geometry is checked against the
// layout table by window_geometry_test, its focus and tab order by
// accessibility_test).
#include "game_window_fixture.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace ct;
using namespace ct::test;

class GameWindowLayoutTest : public GameWindowFixture {
    Q_OBJECT

private slots:
    void init() { setUpGame(); }
    void cleanup() { tearDownGame(); }

    void startState()
    {
        // Whatever the previous game left behind, a new game starts afresh.
        state.trial = 54;
        state.winnings = Points::fromWhole(530);
        frmTesting2 *w = openGame();
        QCOMPARE(w->windowTitle(), QStringLiteral("Game"));
        verifyWaitingToStart(w);
        QCOMPARE(w->Command1->text(), QStringLiteral("Command1"));
        QCOMPARE(w->Label1->text(), QStringLiteral("Points"));
        QCOMPARE(w->Label2->text(), QStringLiteral("Game Units Remaining"));
        QCOMPARE(w->Frame1->title(), QStringLiteral("Game Units Remaining"));
        QCOMPARE(w->Frame2->title(), QStringLiteral("Last choice"));
        QCOMPARE(w->Frame3->title(), QString());
        QCOMPARE(w->Frame4->title(), QStringLiteral("Points on last trial"));
        QCOMPARE(w->Frame5->title(), QStringLiteral("Total Points"));
        QCOMPARE(w->Frame6->title(), QStringLiteral("Game Units Lost on last trial"));
        QCOMPARE(w->cmdLeft->toolTip(), QStringLiteral("Click left or right"));
        QCOMPARE(w->cmdRight->toolTip(), QStringLiteral("Click left or right"));
        QCOMPARE(w->Timer1->objectName(), QStringLiteral("Timer1"));

        // Before "Go" the choice buttons take no click and the mover is still.
        QTest::mouseClick(w->cmdLeft, Qt::LeftButton);
        QTest::mouseClick(w->cmdRight, Qt::LeftButton);
        QTest::mouseClick(w->Command1, Qt::LeftButton);
        clock.advance(1.0);
        verifyWaitingToStart(w);
        QCOMPARE(dataFile(), kHeader);
    }

    void fonts()
    {
        struct FontCase {
            const char *name;
            double points;
            const char *family = "MS Sans Serif";
            bool bold = false;
        };
        // The value labels and Frame3 have no font of their own: the window's 24 pt.
        const FontCase cases[] = {
            {"Frame6", 12},      {"lblgametimelost", 24}, {"Frame1", 12},
            {"lblgametime", 24}, {"Frame2", 9.75},        {"txtChoice", 12},
            {"Frame5", 12},      {"txtWins", 24},         {"Frame4", 12},
            {"txtPayoff", 24},   {"Command1", 8.25},      {"cmdRight", 13.5},
            {"cmdLeft", 13.5},   {"Frame3", 24},          {"cmdGo", 9.75, "System", true},
            {"Label2", 13.5},    {"Label1", 13.5},        {"lblChoose", 13.5},
        };
        frmTesting2 window(*context);
        for (const FontCase &c : cases) {
            const QFont font = child<QWidget>(&window, QString::fromLatin1(c.name))->font();
            QVERIFY2(font.family() == QLatin1String(c.family) && font.pointSizeF() == c.points && font.bold() == c.bold,
                     c.name);
        }
    }

    void controlLooks()
    {
        frmTesting2 w(*context);
        QCOMPARE(w.font().family(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(w.font().pointSizeF(), 24.0);
        for (QLabel *value : {w.lblgametimelost, w.lblgametime, w.txtChoice, w.txtWins, w.txtPayoff}) {
            QVERIFY(value->autoFillBackground());
            QCOMPARE(value->palette().color(QPalette::Window), QColor(255, 255, 255));
            QVERIFY(qobject_cast<BoxLabel *>(value)); // single-line border
            QVERIFY(value->alignment() & Qt::AlignHCenter);
        }
        QCOMPARE(w.lblChoose->palette().color(QPalette::Window), QColor(255, 128, 0));
        QVERIFY(qobject_cast<BoxLabel *>(w.lblChoose));
        QVERIFY(w.lblChoose->alignment() & Qt::AlignHCenter);
        QVERIFY(w.Label2->alignment() & Qt::AlignRight);
        QVERIFY(w.Label1->alignment() & Qt::AlignLeft);
        for (QLabel *plain : {w.Label1, w.Label2}) {
            QVERIFY(plain->autoFillBackground());
            QCOMPARE(plain->palette().color(QPalette::Window), w.palette().color(QPalette::Button));
            QVERIFY(!qobject_cast<BoxLabel *>(plain));
        }
        QCOMPARE(w.TrialsShape->fillColor(), QColor(0, 192, 0));
        // The pictures, stretched to their controls.
        QCOMPARE(w.Image3[7]->picture().size(), QSize(15, 15));
        QCOMPARE(w.Image1->picture().size(), QSize(108, 100));
        QCOMPARE(w.Image2->picture().size(), QSize(108, 100));
        for (PictureBox *picture : {w.Image1, w.Image2, w.Image3[0], w.Image3[25]})
            QVERIFY(picture->stretches());
        // The closed mover is a full disc, the open one has its mouth on the right.
        const QImage closed = w.Image1->picture().toImage();
        const QImage open = w.Image2->picture().toImage();
        QVERIFY(qAlpha(closed.pixel(100, 50)) > 0);
        QCOMPARE(qAlpha(open.pixel(100, 50)), 0);
        QVERIFY(qAlpha(open.pixel(8, 50)) > 0);
    }

    void stacking()
    {
        frmTesting2 w(*context);
        QStringList backToFront;
        for (QObject *object : w.children())
            if (object->isWidgetType())
                backToFront << object->objectName();
        QStringList expected = {"lblChoose", "Label1", "Label2", "TrialsShape", "Image1", "Image2"};
        for (int i = 0; i <= 25; ++i)
            expected << QStringLiteral("Image3_%1").arg(i);
        expected << QStringList{"Frame3", "cmdLeft", "cmdRight", "Command1", "Frame4",
                                "Frame5", "Frame2",  "Frame1",   "Frame6"};
        QCOMPARE(backToFront, expected);
        // The buttons overlap Frame3 and stay clickable in front of it.
        QCOMPARE(w.childAt(w.cmdLeft->geometry().center()), static_cast<QWidget *>(w.cmdLeft));
        QCOMPARE(w.childAt(QPoint(w.cmdRight->geometry().right() - 1, w.cmdRight->geometry().center().y())),
                 static_cast<QWidget *>(w.cmdRight));
        QCOMPARE(w.childAt(w.Image1->geometry().center()), static_cast<QWidget *>(w.Image2));
    }
};

QTEST_MAIN(GameWindowLayoutTest)
#include "game_window_layout_test.moc"
