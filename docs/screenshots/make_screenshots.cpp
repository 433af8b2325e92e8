// Draws the four windows of the experiment, in the states a participant sees
// them, into PNG files for the experimenter's guide:
//   make_screenshots OUTPUT_FOLDER DEMO_FOLDER
// DEMO_FOLDER holds the sample instruction file and settings file. The run is
// scripted with a manual clock, so no real pauses are taken.
#include "gui_support.h"
#include "manual_clock.h"
#include "platform/fonts.h"
#include "windows/feedback/frmFeedback1.h"
#include "windows/game/frmTesting2.h"
#include "windows/setup/frmInstructions.h"
#include "windows/setup/frmSubjects.h"
#include "windows/window_flow.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cstdio>

using namespace ct;
using namespace ct::test;

namespace {

QString output;

void save(QWidget *window, const char *name)
{
    QApplication::processEvents();
    const QString path = output + QLatin1Char('/') + QLatin1String(name);
    if (!window->grab().save(path))
        std::fprintf(stderr, "could not write %s\n", qPrintable(path));
}

template <typename T> T *window(const char *name)
{
    return qobject_cast<T *>(topLevel(QString::fromLatin1(name)));
}

// Plays one game: `left` left-option choices, then right-option ones.
void playGame(ManualClock &clock, int left, int stopAfter, const char *screenshot = nullptr)
{
    auto *game = window<frmTesting2>("frmTesting2");
    QTest::mouseClick(game->cmdGo, Qt::LeftButton);
    QPointer<frmTesting2> alive = game;
    for (int trial = 1; alive && alive->isVisible(); ++trial) {
        const bool leftOption = trial <= left;
        QTest::mouseClick(leftOption == module1().leftOptionOnLeft ? game->cmdLeft : game->cmdRight, Qt::LeftButton);
        if (trial == stopAfter && screenshot) {
            clock.advance(0.1); // the mover shows its closed mouth in the pause
            save(game, screenshot);
        }
        for (int i = 0; i < 5 && alive && alive->isPausing(); ++i)
            clock.finishPause();
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fputs("usage: make_screenshots OUTPUT_FOLDER DEMO_FOLDER\n", stderr);
        return 2;
    }
    // Absolute: the run below works in a folder of its own.
    output = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    const QString demo = QDir(QString::fromLocal8Bit(argv[2])).absolutePath();
    installFonts();

    WorkingFolder folder;
    QFile instructions(demo + QStringLiteral("/instructions_condition_1.rtf"));
    instructions.open(QIODevice::ReadOnly);
    folder.write(QStringLiteral("instructions_condition_1.rtf"), instructions.readAll());
    folder.write(QStringLiteral("config.ini"), "50\r\n$\r\n");
    ProgramRecorder recorder; // answers the final message box
    ManualClock clock;
    Experiment experiment(
        module1(), clock, [] { return 0.25; }, QDir(folder.path()).filesystemPath());

    auto *registration = qobject_cast<frmSubjects *>(experiment.start());
    registration->Txt_id->setText(QStringLiteral("7"));
    save(registration, "registration.png");
    QTest::mouseClick(registration->Command1, Qt::LeftButton);

    auto *instructionsWindow = window<frmInstructions>("frmInstructions");
    save(instructionsWindow, "instructions.png");
    QTest::mouseClick(instructionsWindow->Command1, Qt::LeftButton);

    playGame(clock, 150, 0);
    QTest::mouseClick(window<frmFeedback1>("frmFeedback1")->Command1, Qt::LeftButton);
    playGame(clock, 60, 64, "game.png");
    save(window<frmFeedback1>("frmFeedback1"), "feedback.png");
    for (int game = 3; game <= 8; ++game) {
        QTest::mouseClick(window<frmFeedback1>("frmFeedback1")->Command1, Qt::LeftButton);
        playGame(clock, game % 2 ? 144 : 130, 0);
    }
    save(window<frmFeedback1>("frmFeedback1"), "feedback-end.png");
    return 0;
}
