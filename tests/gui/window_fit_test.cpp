// Every window of the experiment as a participant meets it, in every language
// built in, on the screen this test runs on: it is registered once for each
// screen size and display scaling a lab may have. Every control must lie
// inside the area the screen leaves for windows, and no text may be wider (or,
// wrapped, taller) than its control. The data file and the session record are
// the same, byte for byte, in every language.
#include "gui_support.h"
#include "manual_clock.h"
#include "platform/controls.h"
#include "platform/fonts.h"
#include "rules/feedback/score_store.h"
#include "system_texts.h"
#include "windows/feedback/frmFeedback1.h"
#include "windows/game/frmTesting2.h"
#include "windows/language.h"
#include "windows/rich_text_box.h"
#include "windows/setup/frmInstructions.h"
#include "windows/setup/frmSubjects.h"
#include "windows/window_flow.h"

#include <QDir>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <QTest>
#include <QXmlStreamReader>

#include <map>

using namespace ct;
using namespace ct::test;

namespace {

// What a participant reads in each language built in: the window titles, and
// a text of the rules and of the registration window's messages.
struct Expected {
    const char *registration;
    const char *instructions;
    const char *game;
    const char *feedback;
    const char *headlineStart;
    const char *idProblem;
    const char *endTitle;
};
const std::map<QString, Expected> kExpected = {
    {QStringLiteral("en"),
     {"Subject info", "Instructions", "Game", "How Did You Do?", "Well done, you got: 530 points!",
      "\"abc\" is not a participant ID number. Please type a number such as 7.", "Wait!"}},
    {QStringLiteral("de"),
     {"Teilnehmerdaten", "Anleitung", "Spiel", "Wie ist es gelaufen?", "Gut gemacht, Sie haben 530 Punkte erzielt!",
      "\"abc\" ist keine Teilnehmernummer. Bitte geben Sie eine Zahl wie 7 ein.", "Moment!"}},
};

// The game window's do-nothing button is 8 x 9 pixels: its caption never fit.
bool exempt(const QWidget *control)
{
    return control->objectName() == QLatin1String("Command1") && control->window()->objectName() == "frmTesting2";
}

QString sizeText(const QSize &size)
{
    return QStringLiteral("%1 x %2").arg(size.width()).arg(size.height());
}

// Where the text, drawn in `font` into `room` with `flags` as Qt draws it and
// let run over, leaves visible ink: the rectangle of the pixels at least half
// covered, relative to the room.
QRect inkOf(const QString &text, const QFont &font, const QSize &room, int flags)
{
    constexpr int pad = 400;
    QImage canvas(room.width() + 2 * pad, room.height() + 2 * pad, QImage::Format_ARGB32);
    canvas.fill(Qt::transparent);
    {
        QPainter painter(&canvas);
#ifdef _WIN32
        // The Windows build's tests draw on Qt's offscreen platform, which on
        // Windows hints FreeType fully: every glyph's advance is rounded to a
        // whole pixel, a few pixels more per line at the small sizes of a
        // window shrunk to a small screen, and nothing the Windows platform
        // itself draws with its system fonts. Measured with the vertical
        // hinting the Linux build draws with.
        QFont measured = font;
        measured.setHintingPreference(QFont::PreferVerticalHinting);
        painter.setFont(measured);
#else
        painter.setFont(font);
#endif
        painter.setPen(Qt::black);
        painter.drawText(QRect(QPoint(pad, pad), room), flags | Qt::TextDontClip, text);
    }
    QRect ink;
    for (int y = 0; y < canvas.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(canvas.constScanLine(y));
        for (int x = 0; x < canvas.width(); ++x)
            if (qAlpha(line[x]) >= 128)
                ink |= QRect(x - pad, y - pad, 1, 1);
    }
    return ink;
}

// Why the text, drawn in `room`, does not fit there, or nothing.
QString overflow(const QString &text, const QFont &font, const QRect &room, int flags)
{
    if (text.isEmpty())
        return {};
    const QRect ink = inkOf(text, font, room.size(), flags);
    if (QRect(QPoint(0, 0), room.size()).contains(ink))
        return {};
    return QStringLiteral("\"%1\" runs over its room of %2 (ink from %3, %4 to %5, %6)")
        .arg(text, sizeText(room.size()))
        .arg(ink.left())
        .arg(ink.top())
        .arg(ink.right() + 1)
        .arg(ink.bottom() + 1);
}

// Why the control's text does not fit it, or nothing.
QString clippedText(const QWidget *control)
{
    if (const auto *label = qobject_cast<const QLabel *>(control)) {
        const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
        return overflow(label->text(), label->font(), label->contentsRect(), flags);
    }
    if (const auto *button = qobject_cast<const QPushButton *>(control)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const QRect room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        return overflow(button->text(), button->font(), room, Qt::AlignCenter | Qt::TextShowMnemonic);
    }
    if (const auto *frame = qobject_cast<const QGroupBox *>(control)) {
        // The caption is set into the top border, 6 pixels in, with 2 on either side.
        const QRect room(8, 0, frame->width() - 10, QFontMetrics(frame->font()).height());
        return overflow(frame->title(), frame->font(), room, Qt::AlignLeft | Qt::AlignTop);
    }
    return {};
}

// Every problem of a window as shown: a control off the screen, a text cut.
QStringList problemsOf(QWidget *window, const QString &moment)
{
    QStringList problems;
    const QRect available = window->screen()->availableGeometry();
    const QString where = QStringLiteral("%1 (%2)").arg(window->objectName(), moment);
    if (!available.contains(window->frameGeometry()))
        problems << QStringLiteral("%1: the window lies outside the screen's area %2, %3, %4: at %5, %6, %7")
                        .arg(where)
                        .arg(available.x())
                        .arg(available.y())
                        .arg(sizeText(available.size()))
                        .arg(window->frameGeometry().x())
                        .arg(window->frameGeometry().y())
                        .arg(sizeText(window->frameGeometry().size()));
    for (QWidget *control : window->findChildren<QWidget *>()) {
        if (!control->isVisible() || exempt(control))
            continue;
        const QRect global(control->mapToGlobal(QPoint(0, 0)), control->size());
        if (!available.contains(global))
            problems << QStringLiteral("%1: %2 lies off the screen").arg(where, control->objectName());
        const QString clipped = clippedText(control);
        if (!clipped.isEmpty())
            problems << QStringLiteral("%1: %2: %3").arg(where, control->objectName(), clipped);
    }
    return problems;
}

// What the participant sees wrong around the instructions' text box: a frame
// line not drawn (a box between two of the screen's pixels loses it), or the
// label's text up against the OK button.
QStringList instructionProblems(frmInstructions *window)
{
    QStringList problems;
    const QWidget *box = window->rtbInstructions;
    const QImage image = window->grab().toImage();
    const double ratio = image.devicePixelRatio();
    const QRect rect(box->mapTo(window, QPoint(0, 0)), box->size());
    const auto at = [&](QPoint point) { return image.pixelColor(point); };
    // A line is drawn where its pixel is neither the window outside it nor the text inside.
    const auto drawn = [&](QPoint line, QPoint inward) {
        return at(line) != at(line - 2 * inward) && at(line) != at(line + 3 * inward);
    };
    const auto device = [ratio](int pixels) { return static_cast<int>(std::floor(pixels * ratio)); };
    const QPoint middle(device(rect.center().x()), device(rect.center().y()));
    const std::pair<const char *, bool> lines[] = {
        {"left", drawn({device(rect.left()), middle.y()}, {1, 0})},
        {"top", drawn({middle.x(), device(rect.top())}, {0, 1})},
        {"right", drawn({device(rect.right()), middle.y()}, {-1, 0})},
        {"bottom", drawn({middle.x(), device(rect.bottom())}, {0, -1})},
    };
    for (const auto &[side, isDrawn] : lines)
        if (!isDrawn)
            problems << QStringLiteral("frmInstructions: the text box's %1 frame line is not drawn").arg(side);

    const QLabel *label = window->Label10;
    const QRect room = label->contentsRect();
    const QRect ink = inkOf(label->text(), label->font(), room.size(), int(label->alignment()));
    const int gap = window->Command1->x() - (label->x() + room.x() + ink.right() + 1);
    if (gap < 4)
        problems << QStringLiteral("frmInstructions: \"%1\" ends %2 pixels before the OK button")
                        .arg(label->text())
                        .arg(gap);
    return problems;
}

template <typename T> QPointer<T> shown(const char *name)
{
    return qobject_cast<T *>(topLevel(QString::fromLatin1(name)));
}

// The data file and the session record of each language's run, the session
// record without its wall-clock times.
std::map<QString, std::pair<QByteArray, QByteArray>> g_files;

QByteArray withoutWallClock(const QByteArray &record)
{
    QList<QByteArray> lines = record.split('\n');
    for (QByteArray &line : lines) {
        QList<QByteArray> fields = line.split(',');
        if (fields.size() > 2)
            fields[2] = "(time)";
        line = fields.join(',');
    }
    return lines.join('\n');
}

QStringList placeholders(const QString &text)
{
    static const QRegularExpression placeholder(QStringLiteral("%\\d"));
    QStringList found;
    for (const QRegularExpressionMatch &match : placeholder.globalMatch(text))
        found << match.captured();
    found.sort();
    return found;
}

QString leadingAndTrailingSpace(const QString &text)
{
    static const QRegularExpression spaces(QStringLiteral("^(\\s*).*?(\\s*)$"),
                                           QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = spaces.match(text);
    return QStringLiteral("[%1|%2]").arg(match.captured(1), match.captured(2));
}

} // namespace

class WindowFitTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { installFonts(); }
    void cleanup()
    {
        qDeleteAll(QApplication::topLevelWidgets());
        QVERIFY(useLanguage(QStringLiteral("en"), QString()).isEmpty());
    }

    // Each translation source carries every text of the program, finished,
    // with the numbers (%1) and the spaces at either end that the English text
    // has. (translations.sources_in_step checks that no text of the code is
    // missing from them.)
    void translationsAreComplete_data()
    {
        QTest::addColumn<QString>("language");
        for (const QString &language : builtInLanguages().mid(1))
            QTest::newRow(qPrintable(language)) << language;
    }
    void translationsAreComplete()
    {
        QFETCH(QString, language);
        QFile file(QStringLiteral(CT_TRANSLATIONS_DIR "/choicetask_%1.ts").arg(language));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
        QXmlStreamReader xml(&file);
        QStringList problems;
        QString context;
        QString source;
        int messages = 0;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == QLatin1String("name")) {
                context = xml.readElementText();
            } else if (xml.name() == QLatin1String("source")) {
                source = xml.readElementText();
            } else if (xml.name() == QLatin1String("translation")) {
                ++messages;
                const QString type = xml.attributes().value(QLatin1String("type")).toString();
                const QString translation = xml.readElementText();
                const QString where = context + QStringLiteral(" \"") + source + QLatin1Char('"');
                if (!type.isEmpty())
                    problems << QStringLiteral("%1 is %2").arg(where, type);
                else if (translation.isEmpty())
                    problems << QStringLiteral("%1 has no translation").arg(where);
                else if (placeholders(translation) != placeholders(source))
                    problems << QStringLiteral("%1: the translation has other numbers (%n)").arg(where);
                else if (leadingAndTrailingSpace(translation) != leadingAndTrailingSpace(source))
                    problems << QStringLiteral("%1: the translation starts or ends with other spaces").arg(where);
            }
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QVERIFY(messages > 80);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
    }

    // A lab's own translation in the study folder: taken before the built-in
    // one; a code that is no code, a language without a file and a file that
    // is no translation are refused with a message that says what to do.
    void languageFromTheStudyFolder_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("problem");
        QFile german(QStringLiteral(":/translations/choicetask_de.qm"));
        QVERIFY(german.open(QIODevice::ReadOnly));
        const QByteArray qm = german.readAll();
        QTest::newRow("a lab's file") << "fr" << qm << QString();
        QTest::newRow("English needs none") << "en" << QByteArray() << QString();
        QTest::newRow("no file") << "fr" << QByteArray()
                                 << "The language \"fr\" is not built in (built in: en, de), and the study folder "
                                    "FOLDER has no translation file \"choicetask_fr.qm\" for it.";
        QTest::newRow("not a translation")
            << "fr" << QByteArray("{\\rtf1 not a .qm file}")
            << "The translation file \"FOLDER/choicetask_fr.qm\" cannot be read as a "
               "Qt translation (.qm) file. Make it again with lrelease from its .ts file.";
        QTest::newRow("a path")
            << "../fr" << qm << "\"../fr\" is not a language code. Give a code such as de or pt_BR; built in: en, de.";
    }
    void languageFromTheStudyFolder()
    {
        QFETCH(QString, code);
        QFETCH(QByteArray, file);
        QFETCH(QString, problem);
        WorkingFolder folder;
        if (!file.isEmpty())
            folder.write(QStringLiteral("choicetask_fr.qm"), file);
        const QString shownProblem = QString(problem)
                                         .replace(QStringLiteral("FOLDER/"),
                                                  ct::test::shown(folder.path() + QLatin1Char('/')))
                                         .replace(QStringLiteral("FOLDER"), ct::test::shown(folder.path()));
        QCOMPARE(useLanguage(code, folder.path()), shownProblem);
        Module1 state;
        ManualClock clock;
        Experiment experiment(
            state, clock, [] { return 0.5; }, QDir(folder.path()).filesystemPath());
        const frmSubjects registration(experiment.context());
        QCOMPARE(registration.windowTitle(), problem.isEmpty() && code == QLatin1String("fr")
                                                 ? QStringLiteral("Teilnehmerdaten")
                                                 : QStringLiteral("Subject info"));
    }

    void everyWindowFitsTheScreen_data()
    {
        QTest::addColumn<QString>("language");
        for (const QString &language : builtInLanguages())
            QTest::newRow(qPrintable(language)) << language;
    }
    void everyWindowFitsTheScreen()
    {
        QFETCH(QString, language);
        QVERIFY(kExpected.count(language));
        const Expected &expected = kExpected.at(language);
        WorkingFolder folder;
        // Instructions with a table as wide as a printed page, which the text
        // box fits to its width, scaled or not.
        QFile wideTable(QStringLiteral(CT_CORPUS_DIR "/libreoffice_wide_table.rtf"));
        QVERIFY(wideTable.open(QIODevice::ReadOnly));
        folder.write(QStringLiteral("instructions_condition_1.rtf"), wideTable.readAll());
        folder.write(QStringLiteral("config.ini"), "50\r\n$\r\n");
        QVERIFY(useLanguage(language, folder.path()).isEmpty());
        ProgramRecorder recorder;
        ManualClock clock;
        Module1 state;
        // The left option on the right-hand button: cmdLeft carries the right one.
        Experiment experiment(
            state, clock, [] { return 0.7; }, QDir(folder.path()).filesystemPath());
        QStringList problems;

        QPointer<frmSubjects> registration = qobject_cast<frmSubjects *>(experiment.start());
        QVERIFY(registration);
        QCOMPARE(registration->windowTitle(), QString::fromUtf8(expected.registration));
        problems << problemsOf(registration, QStringLiteral("as opened"));
        QTest::keyClicks(registration->Txt_id, QStringLiteral("abc"));
        QTest::mouseClick(registration->Command1, Qt::LeftButton);
        QCOMPARE(recorder.boxes.size(), std::size_t(1));
        QCOMPARE(recorder.boxes[0].text, QString::fromUtf8(expected.idProblem));
        registration->Txt_id->clear();
        QTest::keyClicks(registration->Txt_id, QStringLiteral("42"));
        QTest::mouseClick(registration->Command1, Qt::LeftButton);

        QPointer<frmInstructions> instructions = shown<frmInstructions>("frmInstructions");
        QVERIFY(instructions);
        QCOMPARE(instructions->windowTitle(), QString::fromUtf8(expected.instructions));
        problems << problemsOf(instructions, QStringLiteral("as opened"));
        problems << instructionProblems(instructions);
        if (instructions->rtbInstructions->horizontalScrollBar()->isVisible())
            problems << QStringLiteral("frmInstructions: the table needs a horizontal scroll bar");
        QTest::mouseClick(instructions->Command1, Qt::LeftButton);

        // Games 1, 2 and 8 (games 3 to 7 are recorded as played), each with
        // the right option throughout: 53 trials.
        for (const int game : {1, 2, 8}) {
            QTRY_VERIFY(shown<frmTesting2>("frmTesting2"));
            QPointer<frmTesting2> play = shown<frmTesting2>("frmTesting2");
            QCOMPARE(play->windowTitle(), QString::fromUtf8(expected.game));
            const QString moment = QStringLiteral("game %1").arg(game);
            problems << problemsOf(play, moment + QStringLiteral(", before Go"));
            QTest::mouseClick(play->cmdGo, Qt::LeftButton);
            problems << problemsOf(play, moment + QStringLiteral(", choosing"));
            for (int trial = 1; trial <= 53 && play; ++trial) {
                QTest::mouseClick(play->cmdLeft, Qt::LeftButton);
                if (trial == 1)
                    problems << problemsOf(play, moment + QStringLiteral(", in a pause"));
                for (int i = 0; i < 5 && play && play->isPausing(); ++i)
                    clock.finishPause();
            }
            QTRY_VERIFY(!play);

            QPointer<frmFeedback1> feedback = shown<frmFeedback1>("frmFeedback1");
            QVERIFY(feedback);
            QCOMPARE(feedback->windowTitle(), QString::fromUtf8(expected.feedback));
            QVERIFY2(feedback->LblWellDone->text().startsWith(QString::fromUtf8(expected.headlineStart)),
                     qPrintable(feedback->LblWellDone->text()));
            problems << problemsOf(feedback, QStringLiteral("after game %1").arg(game));
            if (game == 2) {
                for (int skipped = 3; skipped <= 7; ++skipped) {
                    state.winnings = Points::fromWhole(530);
                    QVERIFY(RecordFinishedGame(state));
                }
            }
            QTest::mouseClick(feedback->Command1, Qt::LeftButton);
        }
        QCOMPARE(recorder.boxes.size(), std::size_t(2));
        QCOMPARE(recorder.boxes[1].title, QString::fromUtf8(expected.endTitle));
        QCOMPARE(recorder.exitStatuses, std::vector<int>{0});

        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
        g_files[language] = {folder.read(QStringLiteral("42.csv")), folder.read(QStringLiteral("42.session.csv"))};
    }

    // The program's own stop messages too: in the participants' language on
    // the screen, in English in the session record, as in every language.
    void stopMessageInTheParticipantsLanguage()
    {
        WorkingFolder folder;
        folder.write(QStringLiteral("instructions_condition_1.rtf"), "{\\rtf1\\ansi Read this first.\\par}");
        folder.write(QStringLiteral("config.ini"), "50\r\n$\r\n");
        QVERIFY(useLanguage(QStringLiteral("de"), folder.path()).isEmpty());
        ProgramRecorder recorder;
        ManualClock clock;
        Module1 state;
        Experiment experiment(
            state, clock, [] { return 0.7; }, QDir(folder.path()).filesystemPath());
        QPointer<frmSubjects> registration = qobject_cast<frmSubjects *>(experiment.start());
        QVERIFY(registration);
        QTest::keyClicks(registration->Txt_id, QStringLiteral("42"));
        QTest::mouseClick(registration->Command1, Qt::LeftButton);
        QPointer<frmInstructions> instructions = shown<frmInstructions>("frmInstructions");
        QVERIFY(instructions);
        QTest::mouseClick(instructions->Command1, Qt::LeftButton);
        QTRY_VERIFY(shown<frmTesting2>("frmTesting2"));
        QPointer<frmTesting2> play = shown<frmTesting2>("frmTesting2");
        QTest::mouseClick(play->cmdGo, Qt::LeftButton);
        // A folder where the data file should be.
        QVERIFY(QFile::remove(folder.file(QStringLiteral("42.csv"))));
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("42.csv")));
        QTest::mouseClick(play->cmdLeft, Qt::LeftButton);

        QCOMPARE(recorder.exitStatuses, std::vector<int>{1});
        QCOMPARE(recorder.boxes.size(), std::size_t(1));
        const QStringList parts = recorder.boxes[0].text.split(QStringLiteral("\n\n"));
        QCOMPARE(parts.size(), 3);
        QVERIFY2(parts[1].contains(QStringLiteral("Is a directory")), qPrintable(parts[1]));
        QCOMPARE(parts[0], QStringLiteral("Zug 1 konnte nicht in der Datendatei gespeichert werden, daher muss das "
                                          "Experiment beendet werden."));
        QCOMPARE(parts[2], QStringLiteral("Die zuvor gespielten Z\u00fcge stehen in der Datei."));
        const QByteArray record = folder.read(QStringLiteral("42.session.csv"));
        QVERIFY2(record.contains("Trial 1 could not be saved in the data file, so the experiment has to stop."),
                 record.constData());
        QVERIFY2(record.contains("The trials played before it are in the file."), record.constData());
    }

    // The language is the participant's; the files are the researcher's.
    void filesAreTheSameInEveryLanguage()
    {
        QCOMPARE(g_files.size(), std::size_t(builtInLanguages().size()));
        const auto &[data, record] = g_files.at(QStringLiteral("en"));
        QVERIFY(data.count('\n') == 1 + 3 * 53);
        QVERIFY(record.contains("feedback_shown"));
        for (const auto &[language, files] : g_files) {
            QCOMPARE(files.first, data);
            QCOMPARE(withoutWallClock(files.second), withoutWallClock(record));
        }
    }
};

QTEST_MAIN(WindowFitTest)
#include "window_fit_test.moc"
