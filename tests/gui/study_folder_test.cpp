// The study folder the menu entry runs in: made ready on first use with the
// sample instruction file, and never a change to what a lab put there.
#include "app/study_folder.h"
#include "gui_support.h"
#include "system_texts.h"

#include <QFileInfo>
#include <QTest>

using namespace ct;
using namespace ct::test;

class StudyFolderTest : public QObject {
    Q_OBJECT

private slots:
    void prepare_data()
    {
        QTest::addColumn<QString>("existing"); // what the study folder holds before
        QTest::addColumn<QString>("problem");
        QTest::newRow("none yet") << "" << QString();
        QTest::newRow("the lab's instructions and data") << "instructions 7.csv" << QString();
        QTest::newRow("a link where the instructions go") << "link" << QString();
        QTest::newRow("a file in the folder's place")
            << "file" << QStringLiteral("The study folder FOLDER could not be created.");
    }
    void prepare()
    {
        QFETCH(QString, existing);
        QFETCH(QString, problem);
        const WorkingFolder home;
        const QString folder = home.file(QStringLiteral("Documents/choicetask data"));
        const QString instructions = folder + QStringLiteral("/instructions_condition_1.rtf");
        QDir().mkpath(home.file(QStringLiteral("Documents")));
        if (existing == QLatin1String("file")) {
            home.write(QStringLiteral("Documents/choicetask data"), "not a folder");
        } else if (!existing.isEmpty()) {
#ifdef _WIN32
            if (existing == QLatin1String("link"))
                QSKIP("On Windows QFile::link makes a shortcut (.lnk), not a symbolic link, and symbolic links "
                      "need an administrator or developer mode");
#endif
            QDir().mkpath(folder);
            if (existing == QLatin1String("link"))
                QVERIFY(QFile::link(home.file(QStringLiteral("elsewhere.rtf")), instructions));
            else
                home.write(QStringLiteral("Documents/choicetask data/instructions_condition_1.rtf"), "{\\rtf1 ours}");
            home.write(QStringLiteral("Documents/choicetask data/7.csv"), "data");
        }

        QCOMPARE(prepareStudyFolder(folder), QString(problem).replace(QStringLiteral("FOLDER"), shown(folder)));

        QFile sample(QStringLiteral(CT_SAMPLE_INSTRUCTIONS));
        QVERIFY(sample.open(QIODevice::ReadOnly));
        if (existing.isEmpty()) {
            QCOMPARE(home.read(QStringLiteral("Documents/choicetask data/instructions_condition_1.rtf")),
                     sample.readAll());
            QVERIFY(QFileInfo(instructions).isWritable());
        } else if (existing == QLatin1String("link")) {
            QCOMPARE(QFileInfo(instructions).symLinkTarget(), home.file(QStringLiteral("elsewhere.rtf")));
            QVERIFY(!QFileInfo::exists(home.file(QStringLiteral("elsewhere.rtf"))));
        } else if (existing == QLatin1String("file")) {
            QCOMPARE(home.read(QStringLiteral("Documents/choicetask data")), QByteArray("not a folder"));
        } else {
            QCOMPARE(home.read(QStringLiteral("Documents/choicetask data/instructions_condition_1.rtf")),
                     QByteArray("{\\rtf1 ours}"));
            QCOMPARE(home.read(QStringLiteral("Documents/choicetask data/7.csv")), QByteArray("data"));
        }
    }

    // The macOS application's settings folder: the sample on first start, the
    // lab's edited file from then on.
    void prepareSettings()
    {
        const WorkingFolder home;
        const QString folder = home.file(QStringLiteral("Library/Application Support/choicetask"));
        QFile sample(QFileInfo(QStringLiteral(CT_SAMPLE_INSTRUCTIONS)).dir().filePath(QStringLiteral("config.ini")));
        QVERIFY(sample.open(QIODevice::ReadOnly));
        QCOMPARE(prepareSettingsFolder(folder), QString());
        QCOMPARE(home.read(QStringLiteral("Library/Application Support/choicetask/config.ini")), sample.readAll());
        home.write(QStringLiteral("Library/Application Support/choicetask/config.ini"), "2.5\r\nCHF\r\n");
        QCOMPARE(prepareSettingsFolder(folder), QString());
        QCOMPARE(home.read(QStringLiteral("Library/Application Support/choicetask/config.ini")),
                 QByteArray("2.5\r\nCHF\r\n"));
    }
};

QTEST_MAIN(StudyFolderTest)
#include "study_folder_test.moc"
