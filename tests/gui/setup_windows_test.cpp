#include "gui_support.h"
#include "manual_clock.h"
#include "platform/fonts.h"
#include "platform/twips.h"
#include "rules/session_record.h"
#include "system_texts.h"
#include "windows/rich_text_box.h"
#include "windows/setup/frmInstructions.h"
#include "windows/setup/frmSubjects.h"
#include "windows/window_flow.h"

#include <QCryptographicHash>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <condition_variable>
#include <mutex>
#include <optional>

#ifndef Q_OS_WIN
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>
#endif

using namespace ct;
using namespace ct::test;

namespace {

const QByteArray kInstructions = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Please read carefully.\\par}";
const QByteArray kHeader = "Trial,Choice,PayOff,winnings,historyLeft,GameUnitsRemaining\r\n";

#ifndef Q_OS_WIN
// While it lives, files cannot grow: writes fail with "File too large"
// (POSIX systems: Windows has no limit of this kind on a process).
class NoFileGrowth {
public:
    NoFileGrowth() : m_handler(std::signal(SIGXFSZ, SIG_IGN))
    {
        getrlimit(RLIMIT_FSIZE, &m_limit);
        const rlimit none{0, m_limit.rlim_max};
        setrlimit(RLIMIT_FSIZE, &none);
    }
    ~NoFileGrowth()
    {
        setrlimit(RLIMIT_FSIZE, &m_limit);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    void (*m_handler)(int);
    rlimit m_limit{};
};
#endif

} // namespace

class SetupWindowsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WorkingFolder> folder;
    std::unique_ptr<ProgramRecorder> recorder;
    std::unique_ptr<Experiment> experiment;
    ManualClock clock;
    Module1 state;
    double nextDraw = 0.25;

    frmSubjects *startRegistration()
    {
        auto *window = qobject_cast<frmSubjects *>(experiment->start());
        return window;
    }
    void typeAndRun(frmSubjects *window, const QString &id)
    {
        window->Txt_id->setText(id);
        QTest::mouseClick(window->Command1, Qt::LeftButton);
    }

private slots:
    void initTestCase() { installFonts(); }

    void designFontsHaveMetricAlikeStandIns_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<QString>("shown");
        QTest::newRow("MS Sans Serif") << "MS Sans Serif" << false << "Liberation Sans";
        QTest::newRow("System bold") << "System" << true << "Liberation Sans";
        QTest::newRow("Verdana bold") << "Verdana" << true << "DejaVu Sans";
    }
    void designFontsHaveMetricAlikeStandIns()
    {
        QFETCH(QString, family);
        QFETCH(bool, bold);
        QFETCH(QString, shown);
        if (QFontDatabase::hasFamily(family))
            QSKIP("this system has the design font itself");
        const QFontInfo info(designFont(family.toLatin1().constData(), 12, bold));
        QCOMPARE(info.family(), shown);
        QCOMPARE(info.bold(), bold);
    }

    void standInFontsShipInsideTheProgram()
    {
        for (const char *file : {":/fonts/LiberationSans-Regular.ttf", ":/fonts/LiberationSans-Bold.ttf",
                                 ":/fonts/DejaVuSans.ttf", ":/fonts/DejaVuSans-Bold.ttf"}) {
            const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(file));
            QVERIFY2(id >= 0, file);
            QVERIFY(!QFontDatabase::applicationFontFamilies(id).isEmpty());
        }
    }

    void init()
    {
        folder = std::make_unique<WorkingFolder>();
        folder->write(QStringLiteral("instructions_condition_1.rtf"), kInstructions);
        folder->write(QStringLiteral("config.ini"), "50\r\n$\r\n");
        recorder = std::make_unique<ProgramRecorder>();
        state = Module1{};
        experiment = std::make_unique<Experiment>(
            state, clock, [this] { return nextDraw; }, QDir(folder->path()).filesystemPath());
    }
    void cleanup()
    {
        closeAllWindows();
        experiment.reset();
        recorder.reset();
        folder.reset();
    }

    void registrationWindowLayout()
    {
        frmSubjects *window = startRegistration();
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QStringLiteral("Subject info"));
        QCOMPARE(window->Command1->text(), QStringLiteral("Run"));
        QCOMPARE(window->Label1->text(), QStringLiteral("Participant ID Number:"));
        QCOMPARE(window->Txt_id->text(), QString());

        QCOMPARE(window->Txt_id->font().pointSizeF(), 8.25);
        QVERIFY(window->Txt_id->font().bold());
        QCOMPARE(window->Command1->font().pointSizeF(), 13.5);
        QVERIFY(!window->Command1->font().bold());
        QCOMPARE(window->Label1->font().pointSizeF(), 13.5);
        QVERIFY(!window->Label1->font().bold());
        QCOMPARE(window->Label1->font().family(), QStringLiteral("MS Sans Serif"));
        // Front to back: text box, button, label.
        const QObjectList order = window->children();
        QVERIFY(order.indexOf(window->Txt_id) > order.indexOf(window->Command1));
        QVERIFY(order.indexOf(window->Command1) > order.indexOf(window->Label1));
    }

    void registrationCreatesFileAndOpensInstructions_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<int>("subjectId");
        // (Every form of ID: the participant ID unit test.)
        QTest::newRow("7") << "7"
                           << "7.csv" << 7;
        QTest::newRow("2.5 to even") << "2.5"
                                     << "2.csv" << 2;
        QTest::newRow("blanks") << "  12 "
                                << "12.csv" << 12;
    }
    void registrationCreatesFileAndOpensInstructions()
    {
        QFETCH(QString, id);
        QFETCH(QString, fileName);
        QFETCH(int, subjectId);
        QPointer<frmSubjects> window = startRegistration();
        typeAndRun(window, id);

        QCOMPARE(folder->read(fileName), kHeader);
        QCOMPARE(state.subjectId, subjectId);
        QCOMPARE(QString::fromStdString(state.dataFileName), fileName);
        QVERIFY(state.leftOptionOnLeft); // the draw was 0.25
        QVERIFY(recorder->boxes.empty());
        QTRY_VERIFY(!window);
        auto *instructions = qobject_cast<frmInstructions *>(topLevel(QStringLiteral("frmInstructions")));
        QVERIFY(instructions);
        QVERIFY(instructions->rtbInstructions->toPlainText().contains(QStringLiteral("Please read carefully.")));
    }

    void drawOfOneHalfPutsTheLeftOptionOnTheRightButton()
    {
        nextDraw = 0.5;
        typeAndRun(startRegistration(), QStringLiteral("5"));
        QVERIFY(!state.leftOptionOnLeft);
    }

    void zeroDoesNothing()
    {
        frmSubjects *window = startRegistration();
        typeAndRun(window, QStringLiteral("0.0"));
        QVERIFY(window->isVisible());
        QVERIFY(recorder->boxes.empty());
        QCOMPARE(QDir(folder->path()).entryList({QStringLiteral("*.csv")}), QStringList());
        QVERIFY(!topLevel(QStringLiteral("frmInstructions")));
    }

    void refusedIdTellsTheExperimenterAndCreatesNothing_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << ""
                               << "Please type the participant ID number before pressing Run.";
        QTest::newRow("letters") << "abc"
                                 << "\"abc\" is not a participant ID number. Please type a number such as 7.";
        QTest::newRow("too large") << "40000"
                                   << "\"40000\" is outside the range of participant ID numbers (-32768 to 32767).";
    }
    void refusedIdTellsTheExperimenterAndCreatesNothing()
    {
        QFETCH(QString, id);
        QFETCH(QString, message);
        frmSubjects *window = startRegistration();
        typeAndRun(window, id);
        QCOMPARE(recorder->boxes.size(), size_t(1));
        QCOMPARE(recorder->boxes[0].text, message);
        QCOMPARE(recorder->boxes[0].icon, MessageBox::Icon::Warning);
        QVERIFY(window->isVisible());
        QCOMPARE(QDir(folder->path()).entryList(QDir::Files),
                 QStringList({"config.ini", "instructions_condition_1.rtf"}));
        QVERIFY(recorder->exitStatuses.empty());
    }

    // The real message box: the typed text is quoted as typed, never read as
    // markup, and a long one is cut short instead of widening the box.
    void refusedIdIsShownAsTypedInTheMessageBox_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("quoted");
        QTest::newRow("bold") << "<b>9</b>"
                              << "\"<b>9</b>\"";
        QTest::newRow("picture") << "<img src=\"x.png\">"
                                 << "\"<img src=\"x.png\">\"";
        QTest::newRow("long") << QString(500, 'x') << "\"" + QString(60, 'x') + "\u2026\"";
    }
    void refusedIdIsShownAsTypedInTheMessageBox()
    {
        QFETCH(QString, id);
        QFETCH(QString, quoted);
        MessageBox::setHook({});
        frmSubjects *window = startRegistration();
        QString shown;
        Qt::TextFormat format = Qt::AutoText;
        int width = 0;
        QTimer::singleShot(0, [&] {
            QWidget *box = QApplication::activeModalWidget();
            auto *label = box ? box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label")) : nullptr;
            if (label) {
                shown = label->text();
                format = label->textFormat();
                width = box->width();
            }
            if (box)
                box->close();
        });
        typeAndRun(window, id);
        QCOMPARE(format, Qt::PlainText);
        QCOMPARE(shown, quoted + " is not a participant ID number. Please type a number such as 7.");
        QVERIFY(width <= window->screen()->availableGeometry().width());
    }

    void sameIdTwiceAppendsASecondHeader()
    {
        folder->write(QStringLiteral("7.csv"), kHeader + " 1 , 1 , 5 , 5 , 1 , 150 ,\r\n");
        typeAndRun(startRegistration(), QStringLiteral("7"));
        QCOMPARE(folder->read(QStringLiteral("7.csv")), kHeader + " 1 , 1 , 5 , 5 , 1 , 150 ,\r\n" + kHeader);
        // The session record counts this run as the ID's second registration.
        const session::ReadResult record = session::readSessionRecord(
            folder->read(QStringLiteral("7.session.csv")).toStdString());
        QVERIFY(record.ok() && record.rows.size() == 2);
        QCOMPARE(record.rows[0].event, session::Event::Registered);
        QCOMPARE(record.rows[0].registration, 2);
        QCOMPARE(record.rows[0].detailValue("left_option_button"), state.leftOptionOnLeft ? "left" : "right");
        QCOMPARE(record.rows[1].event, session::Event::InstructionsShown);
    }

    // Registration stops as it does for the data file, before the
    // instructions: the header line is in the data file, nothing else.
    void unwritableSessionRecordStopsTheProgram()
    {
        QDir(folder->path()).mkdir(QStringLiteral("9.session.csv"));
        typeAndRun(startRegistration(), QStringLiteral("9"));
        QCOMPARE(recorder->exitStatuses, std::vector<int>{1});
        QCOMPARE(recorder->boxes.size(), size_t(1));
        QVERIFY(recorder->boxes[0].text.startsWith(QStringLiteral("The session record could not be saved")));
        QVERIFY(recorder->boxes[0].text.contains(QStringLiteral("9.session.csv")));
        QVERIFY(!topLevel(QStringLiteral("frmInstructions")));
        QCOMPARE(folder->read(QStringLiteral("9.csv")), kHeader);
    }

    void unwritableDataFileStopsTheProgram()
    {
        QDir(folder->path()).mkdir(QStringLiteral("9.csv")); // a folder where the file should go
        frmSubjects *window = startRegistration();
        typeAndRun(window, QStringLiteral("9"));
        QCOMPARE(recorder->exitStatuses, std::vector<int>{1});
        QCOMPARE(recorder->boxes.size(), size_t(1));
        QCOMPARE(recorder->boxes[0].icon, MessageBox::Icon::Stop);
        QVERIFY2(recorder->boxes[0].text.contains(QStringLiteral("9.csv")), qPrintable(recorder->boxes[0].text));
        QVERIFY(recorder->boxes[0].text.contains(QStringLiteral("Is a directory")));
        QVERIFY(!topLevel(QStringLiteral("frmInstructions")));
    }

    void headerThatCannotBeWrittenLeavesNoDataFile_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::newRow("new file") << QByteArray();
        QTest::newRow("file there before") << kHeader;
    }
    void headerThatCannotBeWrittenLeavesNoDataFile()
    {
#ifdef Q_OS_WIN
        QSKIP("No file-size limit to inject on Windows; files_test forces the failed write there");
#else
        QFETCH(QByteArray, before);
        if (!before.isEmpty())
            folder->write(QStringLiteral("9.csv"), before);
        frmSubjects *window = startRegistration();
        {
            const NoFileGrowth full; // the header's write fails, as on a full disk
            typeAndRun(window, QStringLiteral("9"));
        }
        QCOMPARE(recorder->exitStatuses, std::vector<int>{1});
        QVERIFY2(recorder->boxes[0].text.contains(QStringLiteral("File too large")),
                 qPrintable(recorder->boxes[0].text));
        QCOMPARE(folder->exists(QStringLiteral("9.csv")), !before.isEmpty());
        QCOMPARE(folder->read(QStringLiteral("9.csv")), before);
#endif
    }

    void missingInputFilesStopBeforeRegistration_data()
    {
        QTest::addColumn<QString>("removed");
        QTest::addColumn<QString>("where");
        QTest::newRow("instructions") << "instructions_condition_1.rtf"
                                      << "the folder the program is started in";
        QTest::newRow("settings") << "config.ini"
                                  << "the program's folder";
    }
    void missingInputFilesStopBeforeRegistration()
    {
        QFETCH(QString, removed);
        QFETCH(QString, where);
        QFile::remove(folder->file(removed));
        QVERIFY(!experiment->start());
        QCOMPARE(recorder->exitStatuses, std::vector<int>{1});
        QCOMPARE(recorder->boxes.size(), size_t(1));
        const QString text = recorder->boxes[0].text;
        QVERIFY2(
            text.startsWith(QStringLiteral("The file \"%1\" is missing. It is expected in %2: ").arg(removed, where)),
            qPrintable(text));
        QVERIFY(text.contains(shown(folder->file(removed))));
        QVERIFY(!topLevel(QStringLiteral("frmSubjects")));
    }

    void workingFolderThatCannotBeWrittenStopsBeforeRegistration_data()
    {
        QTest::addColumn<bool>("readOnly");
        QTest::newRow("read-only folder") << true;
        QTest::newRow("no room for a file") << false;
    }
    void workingFolderThatCannotBeWrittenStopsBeforeRegistration()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows folders are guarded by access lists, and it has no file-size limit to inject");
#else
        QFETCH(bool, readOnly);
        if (readOnly && geteuid() == 0)
            QSKIP("root writes into read-only folders");
        QFile folderEntry(folder->path());
        const auto permissions = folderEntry.permissions();
        if (readOnly)
            QVERIFY(folderEntry.setPermissions(QFile::ReadOwner | QFile::ExeOwner));
        QWidget *window = nullptr;
        {
            const std::optional<NoFileGrowth> full = readOnly ? std::nullopt : std::make_optional<NoFileGrowth>();
            window = experiment->start();
        }
        folderEntry.setPermissions(permissions);
        QVERIFY(!window);
        QCOMPARE(recorder->exitStatuses, std::vector<int>{1});
        const QString text = recorder->boxes.at(0).text;
        QVERIFY2(text.startsWith(QStringLiteral("The folder the program is started in cannot be written to, so the "
                                                "data file could not be saved there: %1 (")
                                     .arg(shown(folder->path()))),
                 qPrintable(text));
        QVERIFY(text.endsWith(QStringLiteral("No participant has been registered.")));
        QCOMPARE(QDir(folder->path()).entryList(QDir::Files),
                 QStringList({"config.ini", "instructions_condition_1.rtf"}));
#endif
    }

    // A named pipe in place of an input file is refused like a folder, without
    // waiting for anyone to write into it.
    void namedPipeInPlaceOfAnInputFileStopsBeforeRegistration_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("settings") << "config.ini";
        QTest::newRow("instructions") << "instructions_condition_1.rtf";
    }
    void namedPipeInPlaceOfAnInputFileStopsBeforeRegistration()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows keeps named pipes apart from folders: none can stand in place of a file");
#else
        QFETCH(QString, name);
        QFile::remove(folder->file(name));
        NamedPipe pipe(folder->file(name));
        QVERIFY(!experiment->start());
        QVERIFY(!pipe.waitedOn());
        QCOMPARE(recorder->exitStatuses, std::vector<int>{1});
        QCOMPARE(recorder->boxes.at(0).text, QStringLiteral("\"%1\" is a named pipe, not a file: %2\n\nNo participant "
                                                            "has been registered.")
                                                 .arg(name, folder->file(name)));
#endif
    }

    void unusableSettingsStopBeforeRegistration()
    {
        folder->write(QStringLiteral("config.ini"), "fifty\r\n$\r\n");
        QVERIFY(!experiment->start());
        QCOMPARE(recorder->exitStatuses, std::vector<int>{1});
        QCOMPARE(recorder->boxes.size(), size_t(1));
        const QString text = recorder->boxes[0].text;
        QVERIFY2(text.startsWith(QStringLiteral("Line 1 of the settings file \"config.ini\"")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("\"fifty\"")));
        QVERIFY(text.endsWith(QStringLiteral("No participant has been registered.")));
        QVERIFY(!topLevel(QStringLiteral("frmSubjects")));
    }

    // The file is read in the background while the participant types; the
    // program stops as soon as it turns out unusable.
    void instructionFileThatIsNotRichTextStopsBeforeRegistration()
    {
        folder->write(QStringLiteral("instructions_condition_1.rtf"), "PK\x03\x04 a document saved in another format");
        frmSubjects *window = startRegistration();
        QVERIFY(window);
        QTRY_COMPARE(recorder->exitStatuses, std::vector<int>{1});
        typeAndRun(window, QStringLiteral("7"));
        QCOMPARE(recorder->boxes.size(), size_t(1));
        const QString text = recorder->boxes[0].text;
        QVERIFY2(text.startsWith(QStringLiteral("The instruction file cannot be shown.")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("not an RTF file")));
        QVERIFY(text.endsWith(QStringLiteral("No participant has been registered.")));
        QCOMPARE(QDir(folder->path()).entryList({QStringLiteral("*.csv")}), QStringList());
    }

    void instructionsWindowLayout()
    {
        frmInstructions window(experiment->context());
        QCOMPARE(window.windowTitle(), QStringLiteral("Instructions"));
        QCOMPARE(window.Command1->text(), QStringLiteral("OK"));
        QCOMPARE(window.Label10->text(), QStringLiteral("Click here to continue"));
        QCOMPARE(window.Command1->font().pointSizeF(), 9.75);
        QVERIFY(window.Command1->font().bold());
        QCOMPARE(window.Label10->font().family(), QStringLiteral("System"));
        QCOMPARE(window.palette().color(QPalette::Window), window.palette().color(QPalette::ToolTipBase));
        // Created with the placeholder; loading replaces it.
        QCOMPARE(window.rtbInstructions->toPlainText(), QStringLiteral("RichTextBox1"));
        QCOMPARE(window.rtbInstructions->document()->defaultFont().pointSizeF(), 8.5);
        QVERIFY(window.Form_Load());
        QCOMPARE(window.rtbInstructions->toPlainText().trimmed(), QStringLiteral("Please read carefully."));
        QVERIFY(window.rtbInstructions->isReadOnly());
        // The button is in front of the label it overlaps.
        QVERIFY(window.children().indexOf(window.Command1) > window.children().indexOf(window.Label10));
    }

    // Run waits for a check that has not finished; nothing is registered
    // before it has.
    void runWaitsForTheInstructionCheck()
    {
        std::mutex mutex;
        std::condition_variable released;
        bool open = false;
        experiment->setBeforeInstructionCheck([&] {
            std::unique_lock lock(mutex);
            released.wait(lock, [&] { return open; });
        });
        QPointer<frmSubjects> window = startRegistration();
        QVERIFY(window && window->isVisible());
        QVERIFY(!experiment->instructionCheckFinished());
        bool waited = false;
        QTimer::singleShot(0, [&] {
            // Run has been pressed: the window waits, and no file is written.
            waited = !window->isEnabled() && !folder->exists(QStringLiteral("7.csv"));
            const std::lock_guard lock(mutex);
            open = true;
            released.notify_all();
        });
        typeAndRun(window, QStringLiteral("7"));
        QVERIFY(waited);
        QCOMPARE(folder->read(QStringLiteral("7.csv")), kHeader);
        QVERIFY(topLevel(QStringLiteral("frmInstructions")));
        QVERIFY(recorder->boxes.empty());
    }

    void instructionsAreShownAsTheStartCheckReadThem()
    {
        QPointer<frmSubjects> window = startRegistration();
        QTRY_VERIFY(experiment->instructionCheckFinished());
        // Someone overwrites the file while the program waits for an ID: the
        // file is not read again, and the session record describes the bytes
        // shown.
        folder->write(QStringLiteral("instructions_condition_1.rtf"), "plain text, not rich text");
        typeAndRun(window, QStringLiteral("7"));
        auto *instructions = qobject_cast<frmInstructions *>(topLevel(QStringLiteral("frmInstructions")));
        QVERIFY(instructions);
        QCOMPARE(instructions->rtbInstructions->toPlainText().trimmed(), QStringLiteral("Please read carefully."));
        QVERIFY(recorder->boxes.empty());
        const session::ReadResult record = session::readSessionRecord(
            folder->read(QStringLiteral("7.session.csv")).toStdString());
        QVERIFY(record.ok() && !record.rows.empty());
        QCOMPARE(record.rows[0].detailValue("instructions_sha256"),
                 QCryptographicHash::hash(kInstructions, QCryptographicHash::Sha256).toHex().toStdString());
    }

    void instructionFileBrokenWhenTheWindowReadsItStopsTheProgram()
    {
        folder->write(QStringLiteral("instructions_condition_1.rtf"), "plain text, not rich text");
        frmInstructions window(experiment->context());
        QVERIFY(!window.Form_Load());
        QCOMPARE(recorder->exitStatuses, std::vector<int>{1});
        QCOMPARE(recorder->boxes.size(), size_t(1));
        QVERIFY2(recorder->boxes[0].text.contains(shown(folder->file(QStringLiteral("instructions_condition_1.rtf")))),
                 qPrintable(recorder->boxes[0].text));
        QVERIFY(recorder->boxes[0].text.contains(QStringLiteral("not an RTF file")));
    }
};

QTEST_MAIN(SetupWindowsTest)
#include "setup_windows_test.moc"
