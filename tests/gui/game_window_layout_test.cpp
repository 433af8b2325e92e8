// The game window as it opens: controls, geometry, fonts, looks, stacking,
// focus, and the waiting-to-start state Form_Load leaves.
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

    void layout_data()
    {
        QTest::addColumn<QString>("container");
        QTest::addColumn<QRect>("pixels");
        QTest::addColumn<QString>("family");
        QTest::addColumn<double>("points");
        QTest::addColumn<bool>("bold");
        const QString ms = QStringLiteral("MS Sans Serif");
        const QString window = QStringLiteral("frmTesting2");
        QTest::newRow("Frame6") << window << QRect(440, 224, 217, 97) << ms << 12.0 << false;
        QTest::newRow("lblgametimelost") << "Frame6" << QRect(24, 32, 169, 49) << ms << 24.0 << false;
        QTest::newRow("Frame1") << window << QRect(440, 128, 217, 97) << ms << 12.0 << false;
        QTest::newRow("lblgametime") << "Frame1" << QRect(24, 32, 169, 49) << ms << 24.0 << false;
        QTest::newRow("Frame2") << window << QRect(288, 128, 89, 65) << ms << 9.75 << false;
        QTest::newRow("txtChoice") << "Frame2" << QRect(16, 24, 57, 25) << ms << 12.0 << false;
        QTest::newRow("Frame5") << window << QRect(0, 128, 217, 97) << ms << 12.0 << false;
        QTest::newRow("txtWins") << "Frame5" << QRect(24, 32, 169, 49) << ms << 24.0 << false;
        QTest::newRow("Frame4") << window << QRect(0, 224, 217, 97) << ms << 12.0 << false;
        QTest::newRow("txtPayoff") << "Frame4" << QRect(24, 32, 169, 49) << ms << 24.0 << false;
        QTest::newRow("Command1") << window << QRect(0, 0, 8, 9) << ms << 8.25 << false;
        QTest::newRow("cmdRight") << window << QRect(352, 344, 153, 41) << ms << 13.5 << false;
        QTest::newRow("cmdLeft") << window << QRect(152, 344, 153, 41) << ms << 13.5 << false;
        QTest::newRow("Frame3") << window << QRect(133, 312, 393, 89) << ms << 24.0 << false;
        QTest::newRow("cmdGo") << "Frame3" << QRect(176, 32, 41, 41) << "System" << 9.75 << true;
        for (int i = 25; i >= 0; --i)
            QTest::newRow(qPrintable(QStringLiteral("Image3_%1").arg(i)))
                << window << QRect(192 + 16 * i, 24, 7, 7) << QString() << 0.0 << false;
        QTest::newRow("Image2") << window << QRect(176, 24, 11, 10) << QString() << 0.0 << false;
        QTest::newRow("Image1") << window << QRect(176, 24, 11, 10) << QString() << 0.0 << false;
        // 6250 twips end at 592.67 px, which snaps to 593.
        QTest::newRow("TrialsShape") << window << QRect(176, 56, 417, 41) << QString() << 0.0 << false;
        QTest::newRow("Label2") << window << QRect(8, 64, 145, 49) << ms << 13.5 << false;
        QTest::newRow("Label1") << window << QRect(96, 16, 57, 25) << ms << 13.5 << false;
        QTest::newRow("lblChoose") << window << QRect(257, 272, 145, 33) << ms << 13.5 << false;
    }
    void layout()
    {
        QFETCH(QString, container);
        QFETCH(QRect, pixels);
        QFETCH(QString, family);
        QFETCH(double, points);
        QFETCH(bool, bold);
        frmTesting2 window(*context);
        QCOMPARE(window.size(), QSize(659, 440));
        auto *control = child<QWidget>(&window, QString::fromLatin1(QTest::currentDataTag()));
        QCOMPARE(control->parentWidget()->objectName(), container);
        QCOMPARE(control->geometry(), pixels);
        if (!family.isEmpty()) {
            QCOMPARE(control->font().family(), family);
            QCOMPARE(control->font().pointSizeF(), points);
            QCOMPARE(control->font().bold(), bold);
        }
    }

    void controlLooks()
    {
        frmTesting2 w(*context);
        QCOMPARE(w.font().family(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(w.font().pointSizeF(), 24.0);
        QCOMPARE(twipsGeometry(w.Image3[0]), (TwipsRect{2880, 360, 105, 105}));
        QCOMPARE(twipsGeometry(w.Image3[25]), (TwipsRect{8880, 360, 105, 105}));
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

    void tabOrderAndInitialFocus()
    {
        frmTesting2 *w = openGame();
        QVERIFY(QTest::qWaitForWindowActive(w));
        // The choice buttons are disabled until "Go": the focus starts on Command1.
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->Command1));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->cmdGo));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->Command1));
        // "Go" by the keyboard, then the whole chain.
        QTest::keyClick(w->Command1, Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QVERIFY(w->cmdGo->isHidden());
        w->cmdLeft->setFocus();
        QStringList order;
        for (int i = 0; i < 4; ++i) {
            order << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(order, QStringList({"cmdLeft", "cmdRight", "Command1", "cmdLeft"}));
    }
};

QTEST_MAIN(GameWindowLayoutTest)
#include "game_window_layout_test.moc"
