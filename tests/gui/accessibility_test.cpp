// The four windows as screen readers and interface automation meet them:
// every control named through Qt's accessibility interface, the key controls
// by their exact names, value labels reading their current values, the bars
// their points, and the keyboard: tab orders by real Tab presses, Enter and
// Space on the focused button, and a whole game played from the keyboard.
#include "game_window_fixture.h"
#include "windows/rich_text_box.h"
#include "windows/setup/frmInstructions.h"
#include "windows/setup/frmSubjects.h"

#include <QAbstractScrollArea>
#include <QAccessible>
#include <QLineEdit>
#include <QPointer>

using namespace ct;
using namespace ct::test;

namespace {

const QLocale kEnglish(QLocale::English, QLocale::UnitedKingdom);
const QLocale kGerman(QLocale::German, QLocale::Germany);

QAccessibleInterface *accessible(QWidget *widget)
{
    QAccessibleInterface *found = QAccessible::queryAccessibleInterface(widget);
    return found && found->isValid() ? found : nullptr;
}

QString accessibleText(QWidget *widget, QAccessible::Text text)
{
    QAccessibleInterface *found = accessible(widget);
    return found ? found->text(text) : QStringLiteral("<no accessible interface>");
}

// The controls of a window: every widget in it, down through the frames. The
// viewport and scroll bars inside a scrolling text box are Qt's own parts of
// that one control and read by their roles.
void collectControls(QWidget *container, QList<QWidget *> &controls)
{
    for (QWidget *control : container->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        controls << control;
        if (!qobject_cast<QAbstractScrollArea *>(control))
            collectControls(control, controls);
    }
}

// A key press as the keyboard makes it: to the window that has the focus,
// which hands it on to its focus widget.
void press(Qt::Key key)
{
    QTest::keyClick(static_cast<QWidget *>(nullptr), key);
}

QString focusName()
{
    QWidget *focus = QApplication::focusWidget();
    return focus ? focus->objectName() : QStringLiteral("<no focus>");
}

} // namespace

class AccessibilityTest : public GameWindowFixture {
    Q_OBJECT

private:
    // Builds one of the windows by name. The feedback window is the one
    // after game 2, with 500 points in game 1 and 600.5 in game 2.
    QWidget *makeWindow(const QString &which)
    {
        if (which == QLatin1String("frmSubjects"))
            return new frmSubjects(*context);
        if (which == QLatin1String("frmInstructions"))
            return new frmInstructions(*context);
        if (which == QLatin1String("frmTesting2"))
            return new frmTesting2(*context);
        if (which == QLatin1String("frmFeedback1"))
            return feedbackAfter({500, 600.5});
        qFatal("no window %s", qPrintable(which));
    }
    static bool showActive(QWidget *window)
    {
        window->show();
        return QTest::qWaitForWindowActive(window);
    }
    // The game window's state back as registration leaves it, in the same
    // working folder.
    void startAgain()
    {
        closeAllWindows();
        folder->write(QStringLiteral("7.csv"), kHeader);
        const bool leftOptionOnLeft = state.leftOptionOnLeft;
        state = Module1{};
        state.dataFileName = "7.csv";
        state.leftOptionOnLeft = leftOptionOnLeft;
        flow = FakeFlow{};
    }
    // Presses Tab until `wanted` has the focus; false after more than `most` presses.
    static bool tabTo(QWidget *wanted, int most)
    {
        for (int tabs = 0; QApplication::focusWidget() != wanted; ++tabs) {
            if (tabs == most)
                return false;
            press(Qt::Key_Tab);
        }
        return true;
    }

private slots:
    void init()
    {
        setUpGame();
        folder->write(QStringLiteral("config.ini"), "50\r\n$\r\n");
        QLocale::setDefault(kEnglish);
    }
    void cleanup()
    {
        tearDownGame();
        QLocale::setDefault(kEnglish);
    }

    void everyControlIsNamed_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("controls");
        QTest::newRow("registration") << "frmSubjects" << 3;
        QTest::newRow("instructions") << "frmInstructions" << 3;
        QTest::newRow("game") << "frmTesting2" << 47;
        QTest::newRow("feedback") << "frmFeedback1" << 30;
    }
    void everyControlIsNamed()
    {
        QFETCH(QString, window);
        QFETCH(int, controls);
        QWidget *w = makeWindow(window);
        // The window reads as its caption.
        QCOMPARE(accessibleText(w, QAccessible::Name), w->windowTitle());
        QList<QWidget *> found;
        collectControls(w, found);
        QCOMPARE(found.size(), controls);
        for (QWidget *control : found) {
            QAccessibleInterface *iface = accessible(control);
            QVERIFY2(iface, qPrintable(control->objectName()));
            QVERIFY2(!iface->text(QAccessible::Name).trimmed().isEmpty(), qPrintable(control->objectName()));
            // A bare client area tells a screen reader nothing of what it is.
            QVERIFY2(iface->role() != QAccessible::Client, qPrintable(control->objectName()));
        }
    }

    void keyControlNames_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QAccessible::Role>("role");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("description");
        struct Row {
            const char *window;
            const char *control;
            QAccessible::Role role;
            const char *name;
            const char *description;
        };
        const Row rows[] = {
            {"frmSubjects", "Txt_id", QAccessible::EditableText, "Participant ID number", ""},
            {"frmSubjects", "Command1", QAccessible::Button, "Run", ""},
            {"frmSubjects", "Label1", QAccessible::StaticText, "Participant ID Number:", ""},
            {"frmInstructions", "rtbInstructions", QAccessible::StaticText, "Instructions", ""},
            {"frmInstructions", "Command1", QAccessible::Button, "OK", ""},
            {"frmInstructions", "Label10", QAccessible::StaticText, "Click here to continue", ""},
            {"frmTesting2", "txtPayoff", QAccessible::StaticText, "Points on last trial", ""},
            {"frmTesting2", "txtWins", QAccessible::StaticText, "Total points", "0"},
            {"frmTesting2", "lblgametime", QAccessible::StaticText, "Game units remaining", "150.0"},
            {"frmTesting2", "lblgametimelost", QAccessible::StaticText, "Game units lost on last trial", ""},
            {"frmTesting2", "txtChoice", QAccessible::StaticText, "Last choice", ""},
            {"frmTesting2", "Image1", QAccessible::Graphic, "Mover", "Mouth closed"},
            {"frmTesting2", "Image2", QAccessible::Graphic, "Mover", "Mouth open"},
            {"frmTesting2", "Image3_0", QAccessible::Graphic, "Dot 1", ""},
            {"frmTesting2", "Image3_25", QAccessible::Graphic, "Dot 26", ""},
            {"frmTesting2", "TrialsShape", QAccessible::Graphic, "Game units remaining bar", ""},
            {"frmTesting2", "Frame3", QAccessible::Grouping, "Start game", ""},
            {"frmTesting2", "Frame5", QAccessible::Grouping, "Total Points", ""},
            {"frmTesting2", "Frame6", QAccessible::Grouping, "Game Units Lost on last trial", ""},
            {"frmTesting2", "cmdLeft", QAccessible::Button, "Left", "Click left or right"},
            {"frmTesting2", "cmdRight", QAccessible::Button, "Right", "Click left or right"},
            {"frmTesting2", "cmdGo", QAccessible::Button, "Go", ""},
            {"frmTesting2", "Command1", QAccessible::Button, "Command1", "Does nothing"},
            {"frmTesting2", "lblChoose", QAccessible::StaticText, "Click Go", ""},
            {"frmTesting2", "Label1", QAccessible::StaticText, "Points", ""},
            {"frmTesting2", "Label2", QAccessible::StaticText, "Game Units Remaining", ""},
            {"frmFeedback1", "imgsurprised", QAccessible::Graphic, "Surprised face", ""},
            {"frmFeedback1", "imgwretched", QAccessible::Graphic, "Knocked-out face", ""},
            {"frmFeedback1", "imgneutral", QAccessible::Graphic, "Neutral face", ""},
            {"frmFeedback1", "imghappy", QAccessible::Graphic, "Happy face", ""},
            {"frmFeedback1", "Shape1", QAccessible::Graphic, "Game 1 points", "500"},
            {"frmFeedback1", "Shape2", QAccessible::Graphic, "Game 2 points", "600.5"},
            {"frmFeedback1", "Shape3", QAccessible::Graphic, "Game 3 points", ""},
            {"frmFeedback1", "Shape8", QAccessible::Graphic, "Game 8 points", ""},
            {"frmFeedback1", "Line1", QAccessible::Graphic, "Vertical axis", ""},
            {"frmFeedback1", "Line2", QAccessible::Graphic, "Horizontal axis", ""},
            {"frmFeedback1", "Command1", QAccessible::Button, "Continue", ""},
            {"frmFeedback1", "Label3", QAccessible::StaticText, "Game 1", ""},
            {"frmFeedback1", "Label14", QAccessible::StaticText, "Game 8", ""},
            {"frmFeedback1", "Label8", QAccessible::StaticText, "Points", ""},
            {"frmFeedback1", "label9", QAccessible::StaticText, "200", ""},
            {"frmFeedback1", "LblWellDone", QAccessible::StaticText,
             "Well done, you got: 600.5 points! That's the equivalent of $3.00", ""},
        };
        for (const Row &row : rows)
            QTest::addRow("%s %s", row.window, row.control)
                << row.window << row.control << row.role << row.name << row.description;
    }
    void keyControlNames()
    {
        QFETCH(QString, window);
        QFETCH(QString, control);
        QFETCH(QAccessible::Role, role);
        QFETCH(QString, name);
        QFETCH(QString, description);
        QWidget *w = makeWindow(window);
        QWidget *c = child<QWidget>(w, control);
        QAccessibleInterface *iface = accessible(c);
        QVERIFY(iface);
        QCOMPARE(iface->role(), role);
        QCOMPARE(iface->text(QAccessible::Name), name);
        QCOMPARE(iface->text(QAccessible::Description), description);
    }

    // Read from the label when asked: a screen reader hears "Total points, 50.0".
    void valueLabelsReadTheirValues()
    {
        frmTesting2 *w = startGame();
        play(w, "R3 L4");
        const std::pair<QLabel *, const char *> labels[] = {
            {w->txtPayoff, "5"},         {w->txtWins, "50.0"},   {w->lblgametime, "139.4"},
            {w->lblgametimelost, "1.6"}, {w->txtChoice, "Left"},
        };
        for (const auto &[label, value] : labels) {
            QCOMPARE(accessibleText(label, QAccessible::Value), QString::fromLatin1(value));
            QCOMPARE(accessibleText(label, QAccessible::Description), QString::fromLatin1(value));
        }
    }

    void barsCarryTheirPoints_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QList<double>>("scores");
        QTest::addColumn<QStringList>("descriptions");
        QTest::newRow("game 1") << kEnglish << QList<double>{759.4} << QStringList{"759.4", "", "", "", "", "", "", ""};
        QTest::newRow("game 2, comma") << kGerman << QList<double>{500, 600.5}
                                       << QStringList{"500", "600,5", "", "", "", "", "", ""};
        QTest::newRow("game 8") << kEnglish << QList<double>{760, 530, 759.4, 0, 150, 53, 700, 708.7}
                                << QStringList{"760", "530", "759.4", "0", "150", "53", "700", "708.7"};
    }
    void barsCarryTheirPoints()
    {
        QFETCH(QLocale, locale);
        QFETCH(QList<double>, scores);
        QFETCH(QStringList, descriptions);
        QLocale::setDefault(locale);
        frmFeedback1 *w = feedbackAfter({scores.begin(), scores.end()});
        QVERIFY(w->loaded());
        const QList<ShapeBox *> bars = {w->Shape1, w->Shape2, w->Shape3, w->Shape4,
                                        w->Shape5, w->Shape6, w->Shape7, w->Shape8};
        QStringList read;
        for (ShapeBox *bar : bars)
            read << accessibleText(bar, QAccessible::Description);
        QCOMPARE(read, descriptions);
    }

    void tabOrder_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<bool>("go");
        QTest::addColumn<QStringList>("forward");  // the focus at the start and after each Tab
        QTest::addColumn<QStringList>("backward"); // the same with Shift+Tab
        QTest::newRow("registration") << "frmSubjects" << false << QStringList{"Command1", "Txt_id", "Command1"}
                                      << QStringList{"Command1", "Txt_id", "Command1"};
        QTest::newRow("instructions") << "frmInstructions" << false
                                      << QStringList{"Command1", "rtbInstructions", "Command1"}
                                      << QStringList{"Command1", "rtbInstructions", "Command1"};
        // Until "Go" the choice buttons are disabled and Tab passes them by.
        QTest::newRow("game, before Go") << "frmTesting2" << false << QStringList{"Command1", "cmdGo", "Command1"}
                                         << QStringList{"Command1", "cmdGo", "Command1"};
        // "Go" hides itself and hands the focus on to cmdLeft.
        QTest::newRow("game, after Go") << "frmTesting2" << true
                                        << QStringList{"cmdLeft", "cmdRight", "Command1", "cmdLeft"}
                                        << QStringList{"cmdLeft", "Command1", "cmdRight", "cmdLeft"};
        QTest::newRow("feedback") << "frmFeedback1" << false << QStringList{"Command1", "Command1"}
                                  << QStringList{"Command1", "Command1"};
    }
    void tabOrder()
    {
        QFETCH(QString, window);
        QFETCH(bool, go);
        QFETCH(QStringList, forward);
        QFETCH(QStringList, backward);
        QWidget *w = makeWindow(window);
        QVERIFY(showActive(w));
        if (go) {
            auto *game = qobject_cast<frmTesting2 *>(w);
            QVERIFY(tabTo(game->cmdGo, 1));
            press(Qt::Key_Space);
            QVERIFY(game->cmdGo->isHidden());
        }
        QStringList seen{focusName()};
        for (int i = 1; i < forward.size(); ++i) {
            press(Qt::Key_Tab);
            seen << focusName();
        }
        QCOMPARE(seen, forward);
        seen = QStringList{focusName()};
        for (int i = 1; i < backward.size(); ++i) {
            press(Qt::Key_Backtab);
            seen << focusName();
        }
        QCOMPARE(seen, backward);
    }

    void keysPressTheFocusedButton_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("key");
        const std::pair<const char *, Qt::Key> keys[] = {
            {"Return", Qt::Key_Return}, {"keypad Enter", Qt::Key_Enter}, {"Space", Qt::Key_Space}};
        for (const char *window : {"frmSubjects", "frmInstructions", "frmTesting2", "frmFeedback1"})
            for (const auto &[keyName, key] : keys)
                QTest::addRow("%s, %s", window, keyName) << window << int(key);
    }
    void keysPressTheFocusedButton()
    {
        QFETCH(QString, window);
        QFETCH(int, key);
        QPointer<QWidget> w = makeWindow(window);
        QVERIFY(showActive(w));
        if (auto *registration = qobject_cast<frmSubjects *>(w.data())) {
            // Into the ID box, type the ID, and Tab round to "Run".
            press(Qt::Key_Tab);
            QTest::keyClicks(static_cast<QWidget *>(nullptr), QStringLiteral("8"));
            QCOMPARE(registration->Txt_id->text(), QStringLiteral("8"));
            press(Qt::Key_Tab);
            QCOMPARE(focusName(), QStringLiteral("Command1"));
            press(Qt::Key(key));
            QCOMPARE(flow.instructions, 1);
            QCOMPARE(folder->read(QStringLiteral("8.csv")), kHeader);
            QVERIFY(recorder->boxes.empty());
            QTRY_VERIFY(!w);
        } else if (auto *game = qobject_cast<frmTesting2 *>(w.data())) {
            QVERIFY(tabTo(game->cmdGo, 1));
            press(Qt::Key(key));
            QVERIFY(game->cmdGo->isHidden());
            QVERIFY(game->cmdLeft->isEnabled() && game->cmdRight->isEnabled());
            QCOMPARE(game->lblChoose->text(), QStringLiteral("Choose"));
        } else {
            // Instructions "OK" and feedback "Continue" both go on to a game.
            QCOMPARE(focusName(), QStringLiteral("Command1"));
            press(Qt::Key(key));
            QCOMPARE(flow.games, 1);
            QTRY_VERIFY(!w);
        }
    }

    void gamePlayedFromTheKeyboard_data()
    {
        QTest::addColumn<QByteArray>("runs");
        QTest::addColumn<bool>("leftOptionOnLeft");
        QTest::newRow("all left option") << QByteArray("L150") << true;
        QTest::newRow("all right option, swapped buttons") << QByteArray("R60") << false;
        QTest::newRow("mixed") << QByteArray("R3 L4 R1 L2 R5 L140") << true;
        QTest::newRow("mixed, swapped buttons") << QByteArray("L10 R2 L1 R3 L140") << false;
    }
    void gamePlayedFromTheKeyboard()
    {
        QFETCH(QByteArray, runs);
        QFETCH(bool, leftOptionOnLeft);

        // The same choices by mouse give the file to compare with.
        state.leftOptionOnLeft = leftOptionOnLeft;
        play(startGame(), runs);
        QCOMPARE(flow.feedbacks, 1);
        const QByteArray byMouse = dataFile();
        QVERIFY(byMouse.count('\n') > 50);
        startAgain();

        const QPointer<frmTesting2> w = new frmTesting2(*context);
        QVERIFY(showActive(w));
        QVERIFY(tabTo(w->cmdGo, 1));
        press(Qt::Key_Space);
        int trials = 0;
        for (char option : expand(runs)) {
            if (flow.feedbacks != 0)
                break;
            QPushButton *wanted = buttonFor(w, option == 'L');
            // Either choice button is at most two Tabs away.
            QVERIFY2(tabTo(wanted, 2),
                     qPrintable(QStringLiteral("trial %1: focus on %2").arg(trials + 1).arg(focusName())));
            press(Qt::Key_Space);
            ++trials;
            if (w && w->isPausing()) {
                // Keys pressed during the pause choose nothing.
                press(Qt::Key_Tab);
                press(Qt::Key_Space);
                QCOMPARE(dataFile().count('\n'), trials + 1);
            }
            waitOutPause(w);
        }
        QCOMPARE(flow.feedbacks, 1);
        QTRY_VERIFY(!w);
        QCOMPARE(dataFile(), byMouse);
    }
};

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
