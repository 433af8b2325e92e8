// The feedback window after a game: points, money, comparison, face and bars,
// the settings it reads as it loads, and the way on to the next game.
#include "game_window_fixture.h"
#include "system_texts.h"

#include <QPointer>

#include <memory>

using namespace ct;
using namespace ct::test;

namespace {

const QLocale kEnglish(QLocale::English, QLocale::UnitedKingdom);
const QLocale kGerman(QLocale::German, QLocale::Germany);
const QColor kGreen(0, 192, 0);
const QColor kRed(255, 0, 0);

const QString kBest = QStringLiteral("Well done! You got the maximum possible score of 760");
const QString kBelow = QStringLiteral("Although remember, the maximum possible score is 760");

} // namespace

class FeedbackWindowTest : public GameWindowFixture {
    Q_OBJECT

private:
    void writeSettings(const QByteArray &bytes) { folder->write(QStringLiteral("config.ini"), bytes); }

    static QColor textColour(const QWidget *w) { return w->palette().color(QPalette::WindowText); }
    static QColor fill(const ShapeBox *bar) { return bar->fillColor(); }
    // The faces the participant sees, by name.
    static QStringList facesShown(frmFeedback1 *w)
    {
        QStringList shown;
        for (PictureBox *face : {w->imgsurprised, w->imgwretched, w->imgneutral, w->imghappy})
            if (face->isVisibleTo(w))
                shown << face->objectName();
        return shown;
    }
    static QList<ShapeBox *> bars(frmFeedback1 *w)
    {
        return {w->Shape1, w->Shape2, w->Shape3, w->Shape4, w->Shape5, w->Shape6, w->Shape7, w->Shape8};
    }
    static int barsShown(frmFeedback1 *w)
    {
        int shown = 0;
        for (ShapeBox *bar : bars(w))
            shown += bar->isVisibleTo(w) ? 1 : 0;
        return shown;
    }

private slots:
    void init()
    {
        QLocale::setDefault(kEnglish);
        setUpGame();
        writeSettings("50\r\n$\r\n");
    }
    void cleanup()
    {
        tearDownGame();
        QLocale::setDefault(kEnglish);
    }

    void layoutWindowFontsAndColours()
    {
        QPointer<frmFeedback1> window = feedbackAfter({500});
        QCOMPARE(window->objectName(), QStringLiteral("frmFeedback1"));
        QCOMPARE(window->windowTitle(), QStringLiteral("How Did You Do?"));
        const QColor tooltip = window->palette().color(QPalette::ToolTipBase);
        const QColor buttonText = window->palette().color(QPalette::ButtonText);
        QCOMPARE(window->palette().color(QPalette::Window), tooltip);
        QCOMPARE(window->font().family(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(window->font().pointSizeF(), 8.25);
        QVERIFY(!window->font().bold());

        QCOMPARE(window->Command1->text(), QStringLiteral("Continue"));
        QCOMPARE(window->Command1->font().family(), QStringLiteral("System"));
        QCOMPARE(window->Command1->font().pointSizeF(), 9.75);
        QVERIFY(window->Command1->font().bold());

        struct LabelCase {
            QLabel *label;
            const char *caption;
            const char *family;
            double points;
            bool bold;
            bool opaque;
            Qt::Alignment alignment;
        };
        const LabelCase labels[] = {
            {window->Label3, "Game 1", "MS Sans Serif", 8.25, true, false, Qt::AlignLeft},
            {window->Label4, "Game 2", "MS Sans Serif", 8.25, true, false, Qt::AlignLeft},
            {window->Label5, "Game 3", "MS Sans Serif", 8.25, true, false, Qt::AlignLeft},
            {window->Label6, "Game 4", "MS Sans Serif", 8.25, true, false, Qt::AlignLeft},
            {window->Label7, "Game 5", "MS Sans Serif", 8.25, true, false, Qt::AlignLeft},
            {window->Label12, "Game 6", "MS Sans Serif", 8.25, true, false, Qt::AlignLeft},
            {window->Label13, "Game 7", "MS Sans Serif", 8.25, true, false, Qt::AlignLeft},
            {window->Label14, "Game 8", "MS Sans Serif", 8.25, true, false, Qt::AlignLeft},
            {window->Label8, "Points", "MS Sans Serif", 8.25, true, false, Qt::AlignLeft},
            {window->Label11, "600", "MS Sans Serif", 8.25, false, false, Qt::AlignRight},
            {window->Label10, "400", "MS Sans Serif", 8.25, false, false, Qt::AlignRight},
            {window->label9, "200", "MS Sans Serif", 8.25, false, false, Qt::AlignRight},
            {window->Label2, "Take a break, then play the game again to see if you can beat your score", "Verdana", 12,
             true, true, Qt::AlignHCenter},
            {window->Label1, "It is possible to get a maximum of 760 points though...", "Verdana", 12, true, true,
             Qt::AlignHCenter},
        };
        for (const LabelCase &c : labels) {
            const QString name = c.label->objectName();
            QVERIFY2(c.label->text() == QLatin1String(c.caption), qPrintable(name));
            QVERIFY2(c.label->font().family() == QLatin1String(c.family), qPrintable(name));
            QVERIFY2(c.label->font().pointSizeF() == c.points, qPrintable(name));
            QVERIFY2(c.label->font().bold() == c.bold, qPrintable(name));
            QVERIFY2(c.label->autoFillBackground() == c.opaque, qPrintable(name));
            if (c.opaque)
                QVERIFY2(c.label->palette().color(QPalette::Window) == tooltip, qPrintable(name));
            QVERIFY2(c.label->alignment() & c.alignment, qPrintable(name));
            QVERIFY2(c.label->wordWrap(), qPrintable(name));
            QVERIFY2(textColour(c.label) == buttonText, qPrintable(name));
        }
        QCOMPARE(window->LblWellDone->font().family(), QStringLiteral("Verdana"));
        QCOMPARE(window->LblWellDone->font().pointSizeF(), 20.25);
        QVERIFY(window->LblWellDone->font().bold());
        QCOMPARE(textColour(window->LblWellDone), kRed);
        QVERIFY(window->LblWellDone->autoFillBackground());
        QCOMPARE(window->LblWellDone->palette().color(QPalette::Window), tooltip);
        QVERIFY(window->LblWellDone->alignment() & Qt::AlignHCenter);

        for (ShapeBox *bar : bars(window))
            QCOMPARE(fill(bar), kGreen);

        struct FaceCase {
            PictureBox *face;
            QSize picture;
            bool stretches;
        };
        const FaceCase faces[] = {
            {window->imgsurprised, QSize(69, 66), false},
            {window->imgwretched, QSize(259, 233), true},
            {window->imgneutral, QSize(250, 249), true},
            {window->imghappy, QSize(180, 177), true},
        };
        for (const FaceCase &c : faces) {
            QCOMPARE(c.face->picture().size(), c.picture);
            QCOMPARE(c.face->stretches(), c.stretches);
        }
    }

    void layoutStackingAndFocus()
    {
        QPointer<frmFeedback1> window = feedbackAfter({500});
        frmFeedback1 *w = window;
        // Front to back: each control lies over the ones after it.
        const QList<QWidget *> frontToBack = {w->Command1,   w->Shape8,   w->Shape7,  w->Shape6,       w->Shape5,
                                              w->Label14,    w->Label13,  w->Label12, w->Label11,      w->Label10,
                                              w->label9,     w->Label8,   w->Shape4,  w->Shape3,       w->Shape2,
                                              w->Shape1,     w->Label7,   w->Label6,  w->Label5,       w->Label4,
                                              w->Label3,     w->Line2,    w->Line1,   w->imgsurprised, w->imgwretched,
                                              w->imgneutral, w->imghappy, w->Label2,  w->Label1,       w->LblWellDone};
        const QObjectList order = w->children();
        for (int i = 1; i < frontToBack.size(); ++i)
            QVERIFY2(order.indexOf(frontToBack[i - 1]) > order.indexOf(frontToBack[i]),
                     qPrintable(frontToBack[i]->objectName()));
        int controls = 0;
        for (QWidget *control : w->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            ++controls;
            if (control != w->Command1)
                QVERIFY2(control->focusPolicy() == Qt::NoFocus, qPrintable(control->objectName()));
        }
        QCOMPARE(controls, 30);
    }

    void afterGameOne_data()
    {
        QTest::addColumn<double>("points");
        QTest::addColumn<QString>("message");
        QTest::addColumn<TwipsRect>("bar");
        QTest::newRow("760") << 760.0 << "Well done, you got: 760 points! That's the equivalent of $3.80"
                             << TwipsRect{1440, 4891, 615, 2204};
        QTest::newRow("530") << 530.0 << "Well done, you got: 530 points! That's the equivalent of $2.65"
                             << TwipsRect{1440, 5558, 615, 1537};
        QTest::newRow("759.4") << 759.4 << "Well done, you got: 759.4 points! That's the equivalent of $3.80"
                               << TwipsRect{1440, 4892.74f, 615, 2202.26f};
    }
    void afterGameOne()
    {
        QFETCH(double, points);
        QFETCH(QString, message);
        QFETCH(TwipsRect, bar);
        QPointer<frmFeedback1> window = feedbackAfter({points});
        QVERIFY(window->loaded());
        QCOMPARE(state.gameNumber, 1);
        QCOMPARE(state.gameScores[1], Points::fromDouble(points));
        QCOMPARE(state.totalEarnings, points);
        QCOMPARE(recorder->beeps, 1);
        QVERIFY(recorder->boxes.empty());

        QCOMPARE(window->LblWellDone->text(), message);
        // Label1 keeps its layout caption and colour, even at 760 points.
        QCOMPARE(window->Label1->text(), QStringLiteral("It is possible to get a maximum of 760 points though..."));
        QCOMPARE(textColour(window->Label1), window->palette().color(QPalette::ButtonText));
        QCOMPARE(window->Label2->text(),
                 QStringLiteral("Take a break, then play the game again to see if you can beat your score"));
        QCOMPARE(window->Command1->text(), QStringLiteral("Continue"));
        QCOMPARE(facesShown(window), QStringList{"imgsurprised"});

        QCOMPARE(barsShown(window), 1);
        QVERIFY(window->Shape1->isVisibleTo(window));
        QCOMPARE(fill(window->Shape1), kGreen);
        QCOMPARE(twipsGeometry(window->Shape1), bar);
        QCOMPARE(window->Shape1->geometry().bottom() + 1, 473);
    }

    void comparisonWithTheGameBefore_data()
    {
        QTest::addColumn<double>("last");
        QTest::addColumn<double>("current");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<QString>("face");
        QTest::addColumn<QColor>("bar");
        QTest::newRow("700 -> 760") << 700.0 << 760.0 << "That's 60 points more than you got last time. " + kBest
                                    << QColor(0, 255, 0) << "imghappy" << kGreen;
        QTest::newRow("700 -> 650") << 700.0 << 650.0
                                    << "...But that's 50 points less than you got last time. " + kBelow << kRed
                                    << "imgwretched" << kRed;
        QTest::newRow("equal") << 700.0 << 700.0 << "That's exactly the same as you got last time. " + kBelow
                               << QColor(0, 0, 0) << "imgneutral" << kGreen;
        QTest::newRow("equal at 760") << 760.0 << 760.0 << "That's exactly the same as you got last time. " + kBest
                                      << QColor(0, 0, 0) << "imgneutral" << kGreen;
        QTest::newRow("decimal difference")
            << 700.0 << 759.4 << "That's 59.4 points more than you got last time. " + kBelow << QColor(0, 255, 0)
            << "imghappy" << kGreen;
    }
    void comparisonWithTheGameBefore()
    {
        QFETCH(double, last);
        QFETCH(double, current);
        QFETCH(QString, caption);
        QFETCH(QColor, colour);
        QFETCH(QString, face);
        QFETCH(QColor, bar);
        QPointer<frmFeedback1> window = feedbackAfter({last, current});
        QCOMPARE(state.gameNumber, 2);
        QCOMPARE(window->Label1->text(), caption);
        QCOMPARE(textColour(window->Label1), colour);
        QCOMPARE(facesShown(window), QStringList{face});
        QCOMPARE(fill(window->Shape1), kGreen);
        QCOMPARE(fill(window->Shape2), bar);
        QCOMPARE(barsShown(window), 2);
        QCOMPARE(window->Label2->text(),
                 QStringLiteral("Take a break, then play the game again to see if you can beat your score"));
        QCOMPARE(window->Command1->text(), QStringLiteral("Continue"));
    }

    void commaDecimalSeparator()
    {
        QLocale::setDefault(kGerman);
        writeSettings("12,5\r\nEUR \r\n");
        QPointer<frmFeedback1> window = feedbackAfter({700, 759.4});
        QVERIFY(window->loaded());
        QCOMPARE(window->LblWellDone->text(),
                 QStringLiteral("Well done, you got: 759,4 points! That's the equivalent of EUR 0,95"));
        QCOMPARE(window->Label1->text(), "That's 59,4 points more than you got last time. " + kBelow);
    }

    void barsColouredByTheGameBefore()
    {
        QPointer<frmFeedback1> window = feedbackAfter({500, 400, 600});
        QCOMPARE(fill(window->Shape1), kGreen);
        QCOMPARE(fill(window->Shape2), kRed);
        QCOMPARE(fill(window->Shape3), kGreen);
        QCOMPARE(barsShown(window), 3);
        QCOMPARE(twipsGeometry(window->Shape1), (TwipsRect{1440, 5645, 615, 1450}));
        QCOMPARE(twipsGeometry(window->Shape2), (TwipsRect{2400, 5935, 615, 1160}));
        QCOMPARE(twipsGeometry(window->Shape3), (TwipsRect{3360, 5355, 615, 1740}));
        // Future bars keep their layout state.
        QCOMPARE(twipsGeometry(window->Shape4), (TwipsRect{4320, 6960, 615, 135}));
        QCOMPARE(fill(window->Shape4), kGreen);
    }

    void zeroPointBarStandsOnTheBaseLine()
    {
        QPointer<frmFeedback1> window = feedbackAfter({500, 0});
        QCOMPARE(twipsGeometry(window->Shape2), (TwipsRect{2400, 7095, 615, 0}));
        QCOMPARE(window->Shape2->geometry(), QRect(160, 473, 41, 0));
        QCOMPARE(window->Shape1->geometry().y() + window->Shape1->geometry().height(), 473);
        QCOMPARE(fill(window->Shape2), kRed);
        QCOMPARE(window->LblWellDone->text(),
                 QStringLiteral("Well done, you got: 0 points! That's the equivalent of $0.00"));
    }

    void moneyText_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<double>("points");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty file") << QByteArray() << 760.0 << "Well done, you got: 760 points!";
        QTest::newRow("rate 0") << QByteArray("0\r\n$\r\n") << 760.0 << "Well done, you got: 760 points!";
        QTest::newRow("50 alone") << QByteArray("50") << 760.0
                                  << "Well done, you got: 760 points! That's the equivalent of 3.80";
        QTest::newRow("50 and 760") << QByteArray("50\r\nGBP\r\n") << 760.0
                                    << "Well done, you got: 760 points! That's the equivalent of GBP3.80";
        QTest::newRow("25 and 333") << QByteArray("25\r\n") << 333.0
                                    << "Well done, you got: 333 points! That's the equivalent of 0.83";
        QTest::newRow("extra lines") << QByteArray("50\r\n$\r\n99\r\n") << 760.0
                                     << "Well done, you got: 760 points! That's the equivalent of $3.80";
        QTest::newRow("half a cent up") << QByteArray("13.4\r\n") << 750.0
                                        << "Well done, you got: 750 points! That's the equivalent of 1.01";
    }
    void moneyText()
    {
        QFETCH(QByteArray, settings);
        QFETCH(double, points);
        QFETCH(QString, message);
        writeSettings(settings);
        QPointer<frmFeedback1> window = feedbackAfter({points});
        QVERIFY(window->loaded());
        QCOMPARE(window->LblWellDone->text(), message);
    }

    // The currency text is shown as written, never as markup, and one too long
    // for the window is cut short so that the amounts stay in view.
    void currencyTextFromOutside_data()
    {
        QTest::addColumn<QString>("currency");
        QTest::addColumn<QString>("shown");
        // Short enough to be shown whole in any font: near half the headline's
        // width, a text would be cut or not depending on the font's hinting.
        QTest::newRow("markup") << "<u>$</u>"
                                << "<u>$</u>";
        QTest::newRow("picture") << "<img>"
                                 << "<img>";
        QTest::newRow("one long word") << QString(400, 'W') << "";
        QTest::newRow("many words") << QString("EUR ").repeated(100) << "";
    }
    void currencyTextFromOutside()
    {
        QFETCH(QString, currency);
        QFETCH(QString, shown);
        const auto labels = [](frmFeedback1 *w) { return std::vector<QLabel *>{w->LblWellDone, w->Label2}; };
        const std::vector<double> scores{333, 333, 333, 333, 333, 333, 333, 760};
        // The height of the texts with a one-character currency.
        std::vector<int> designHeights;
        for (QLabel *label : labels(feedbackAfter(scores)))
            designHeights.push_back(label->heightForWidth(label->width()));
        closeAllWindows();

        writeSettings("50\r\n" + currency.toUtf8() + "\r\n");
        QPointer<frmFeedback1> window = feedbackAfter(scores);
        QVERIFY(window->loaded());
        for (std::size_t k = 0; k < 2; ++k) {
            QLabel *label = labels(window)[k];
            QCOMPARE(label->textFormat(), Qt::PlainText);
            const QString amount = k == 0 ? QStringLiteral("3.80") : QStringLiteral("15.46");
            QVERIFY2(label->text().contains((shown.isEmpty() ? QStringLiteral("\u2026") : shown) + amount),
                     qPrintable(label->text()));
            // No word is wider than the label, and the text fits it (or takes
            // no more lines than with a one-character currency).
            const QFontMetrics metrics(label->font());
            for (const QString &word : label->text().split(' '))
                QVERIFY2(metrics.horizontalAdvance(word) <= label->width(), qPrintable(word));
            QVERIFY(label->heightForWidth(label->width()) <= std::max(label->height(), designHeights[k]));
        }
    }

    void afterGameEight_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QString>("endText");
        QTest::addColumn<double>("earnings");
        QTest::newRow("25 and eight games of 333")
            << QByteArray("25\r\n")
            << "That is the end of the Experiment. Thanks for taking part! You earned 6.66 "
               "during the experiment. Please do not exit the program until the experimenter "
               "has noted the amount"
            << 6.66;
        QTest::newRow("no rate") << QByteArray() << "That is the end of the Experiment. Thanks for taking part!" << 0.0;
    }
    void afterGameEight()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QString, endText);
        QFETCH(double, earnings);
        writeSettings(settings);
        QPointer<frmFeedback1> window = feedbackAfter({333, 333, 333, 333, 333, 333, 333, 333});
        QVERIFY(window->loaded());
        QCOMPARE(state.gameNumber, 8);
        QCOMPARE(state.totalEarnings, earnings);
        QCOMPARE(window->Label2->text(), endText);
        QCOMPARE(window->Command1->text(), QStringLiteral("Exit"));
        QCOMPARE(window->Label1->text(), "That's exactly the same as you got last time. " + kBelow);
        QCOMPARE(facesShown(window), QStringList{"imgneutral"});
        QCOMPARE(barsShown(window), 8);
        if (!settings.isEmpty())
            QCOMPARE(window->LblWellDone->text(),
                     QStringLiteral("Well done, you got: 333 points! That's the equivalent of 0.83"));

        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QTest::mouseClick(window->Command1, Qt::LeftButton);
        QCOMPARE(recorder->boxes.size(), std::size_t(1));
        QCOMPARE(recorder->boxes[0].icon, MessageBox::Icon::Stop);
        QCOMPARE(recorder->boxes[0].title, QStringLiteral("Wait!"));
        QCOMPARE(recorder->boxes[0].text, QStringLiteral("Please let the experimenter see how much you earned before "
                                                         "pressing OK and closing the game"));
        QVERIFY(!recorder->boxes[0].yesNo);
        QCOMPARE(recorder->exitStatuses, std::vector<int>{0});
        QCOMPARE(flow.games, 0);
    }

    void lastGameRisingToTheMaximum()
    {
        QPointer<frmFeedback1> window = feedbackAfter({100, 200, 300, 400, 500, 600, 700, 760});
        QCOMPARE(window->Label1->text(), "That's 60 points more than you got last time. " + kBest);
        QCOMPARE(barsShown(window), 8);
        for (ShapeBox *bar : bars(window))
            QCOMPARE(fill(bar), kGreen);
        QCOMPARE(twipsGeometry(window->Shape8), (TwipsRect{8160, 4891, 615, 2204}));
        // 3560 points in all, at 50 per 10000 points.
        QVERIFY(window->Label2->text().contains(QStringLiteral("You earned $17.80 during the experiment.")));
    }

    void buttonAfterGameEightDoesNothingMore()
    {
        // A ninth load is outside the experiment; its button does nothing.
        QPointer<frmFeedback1> window = feedbackAfter({1, 2, 3, 4, 5, 6, 7, 8, 9});
        QCOMPARE(state.gameNumber, 9);
        QCOMPARE(window->Command1->text(), QStringLiteral("Continue"));
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QTest::mouseClick(window->Command1, Qt::LeftButton);
        QVERIFY(recorder->boxes.empty());
        QVERIFY(recorder->exitStatuses.empty());
        QCOMPARE(flow.games, 0);
        QVERIFY(window && window->isVisible());
    }

    void oneBeepPerLoad()
    {
        QPointer<frmFeedback1> first = feedbackAfter({500});
        QCOMPARE(recorder->beeps, 1);
        delete first;
        state.winnings = Points::fromWhole(600);
        QPointer<frmFeedback1> second = new frmFeedback1(*context);
        QCOMPARE(recorder->beeps, 2);
        QCOMPARE(state.gameNumber, 2);
    }

    void unusableSettingsStopBeforeTheGameIsRecorded_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<bool>("present");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << QByteArray() << false
                                 << "The settings file \"config.ini\" could not be read from the program's folder %1.";
        QTest::newRow("empty first line") << QByteArray("\r\n$\r\n") << true
                                          << "Line 1 of the settings file \"config.ini\" in the program's folder %1 "
                                             "is empty.";
        QTest::newRow("not a number") << QByteArray("fifty\r\n$\r\n") << true
                                      << "Line 1 of the settings file \"config.ini\" in the program's folder %1 is "
                                         "not a number: \"fifty\".";
        QTest::newRow("negative") << QByteArray("-50\r\n") << true
                                  << "Line 1 of the settings file \"config.ini\" in the program's folder %1 holds a "
                                     "negative exchange rate: \"-50\".";
        QTest::newRow("too large") << QByteArray("1e12\r\n") << true
                                   << "Line 1 of the settings file \"config.ini\" in the program's folder %1 holds an "
                                      "exchange rate that is too large: \"1e12\".";
    }
    void unusableSettingsStopBeforeTheGameIsRecorded()
    {
        QFETCH(QByteArray, settings);
        QFETCH(bool, present);
        QFETCH(QString, message);
        if (present)
            writeSettings(settings);
        else
            QVERIFY(QFile::remove(folder->file(QStringLiteral("config.ini"))));
        const QByteArray data =
            "Trial,Choice,PayOff,winnings,historyLeft,GameUnitsRemaining\r\n 1 , 1 , 5 , 5 , 1 , 150 ,\r\n";
        folder->write(QStringLiteral("7.csv"), data);
        playedGames(state, {500, 600});
        const Module1 before = state;

        std::unique_ptr<frmFeedback1> window = std::make_unique<frmFeedback1>(*context);
        QVERIFY(!window->loaded());
        QCOMPARE(recorder->exitStatuses, std::vector<int>{1});
        QCOMPARE(recorder->boxes.size(), std::size_t(1));
        QCOMPARE(recorder->boxes[0].icon, MessageBox::Icon::Stop);
        const QString text = recorder->boxes[0].text;
        QVERIFY2(text.startsWith(message.arg(shown(folder->path()))), qPrintable(text));
        QVERIFY2(text.endsWith(QStringLiteral("The program stops now. The trials played so far are kept in the data "
                                              "file.")),
                 qPrintable(text));
        QCOMPARE(recorder->beeps, 0);
        QCOMPARE(state.gameNumber, before.gameNumber);
        QCOMPARE(state.gameScores, before.gameScores);
        QCOMPARE(state.totalEarnings, before.totalEarnings);
        QCOMPARE(window->LblWellDone->text(), QStringLiteral("Well done, you got: points!"));
        QCOMPARE(folder->read(QStringLiteral("7.csv")), data);
        QVERIFY(!folder->exists(QStringLiteral("config.ini"))
                || folder->read(QStringLiteral("config.ini")) == settings);
    }

    void continueOpensTheNextGameAndCloses()
    {
        QPointer<frmFeedback1> window = feedbackAfter({500, 600});
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QTest::mouseClick(window->Command1, Qt::LeftButton);
        QCOMPARE(flow.games, 1);
        QVERIFY(recorder->boxes.empty());
        QTRY_VERIFY(!window);
        QCOMPARE(flow.games, 1);
        QCOMPARE(flow.feedbacks, 0);
        QCOMPARE(state.gameNumber, 2);
    }

    void closingFromTheFrameStartsNothing()
    {
        QPointer<frmFeedback1> window = feedbackAfter({500, 600});
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QVERIFY(window->close());
        QTRY_VERIFY(!window);
        QCOMPARE(flow.games, 0);
        QVERIFY(recorder->boxes.empty());
        QVERIFY(recorder->exitStatuses.empty());
    }

    void closingAfterGameEightShowsNoEarningsMessage()
    {
        QPointer<frmFeedback1> window = feedbackAfter({1, 2, 3, 4, 5, 6, 7, 8});
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QVERIFY(window->close());
        QTRY_VERIFY(!window);
        QVERIFY(recorder->boxes.empty());
        QVERIFY(recorder->exitStatuses.empty());
    }
};

QTEST_MAIN(FeedbackWindowTest)
#include "feedback_window_test.moc"
