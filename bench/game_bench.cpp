// Timing of the game window in a real event loop with the system clock:
// how closely each pause ends on dblendtime, the period of the animation
// timer, the time from a click to the trial's numbers on screen, and the cost
// of appending one trial line durably. The run writes the data file and the
// session record as the program does. Prints figures; asserts nothing.
//
//   build/bench/game_bench [trials]     (offscreen unless QT_QPA_PLATFORM is set)

#include "bench_game.h"
#include "platform/files.h"
#include "platform/fonts.h"
#include "windows/game/frmTesting2.h"
#include "windows/window_flow.h"

#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace ct;
using namespace ct::bench;

namespace {

const std::string kLine = " 100 , 1 , 5 , 500 , 1 , 51 ,\r\n";

void printRow(const char *what, const Summary &s, const char *target)
{
    std::printf("%-34s %6zu %10.3f %10.3f %10.3f %10.3f   %s\n", what, s.count, s.median, s.mean, s.best, s.worst,
                target);
}

// Measures, in the running event loop, what one game window does over
// `trials` choices.
class GameRun : public QObject {
public:
    GameRun(AppContext &context, int trials) : m_context(context), m_trials(trials)
    {
        m_window = new frmTesting2(context);
        m_window->txtWins->installEventFilter(this);
        m_window->lblgametime->installEventFilter(this);
        m_window->cmdRight->installEventFilter(this);
        connect(m_window->Timer1, &ClockTimer::timeout, this, [this] { m_ticks.push_back(m_context.clock.seconds()); });
    }
    ~GameRun() override { delete m_window; }

    void run()
    {
        m_window->show();
        if (!QTest::qWaitForWindowExposed(m_window))
            std::fputs("game_bench: the window was not exposed\n", stderr);
        QTest::mouseClick(m_window->cmdGo, Qt::LeftButton);
        scheduleChoice();
        m_loop.exec();
    }

    std::vector<double> pauseErrors;  // ms after dblendtime
    std::vector<double> clickToPaint; // ms
    std::vector<double> periods() const
    {
        std::vector<double> result;
        for (std::size_t i = 1; i < m_ticks.size(); ++i)
            result.push_back((m_ticks[i] - m_ticks[i - 1]) * 1000.0);
        return result;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::ShowToParent && watched == m_window->cmdRight && m_choices > 0) {
            // The last step of a pause: the buttons are back.
            pauseErrors.push_back((m_context.clock.seconds() - m_window->dblendtime()) * 1000.0);
            scheduleChoice();
        } else if (event->type() == QEvent::Paint && m_measuring
                   && (watched == m_window->txtWins || watched == m_window->lblgametime)) {
            // Paint first, then take the time: the numbers are on screen.
            const bool handled = watched->event(event); // QObject::event is public
            (watched == m_window->txtWins ? m_winsPainted : m_unitsPainted) = true;
            if (m_winsPainted && m_unitsPainted) {
                clickToPaint.push_back((m_context.clock.seconds() - m_clicked) * 1000.0);
                m_measuring = false;
            }
            return handled;
        }
        return false;
    }

private:
    void scheduleChoice()
    {
        if (m_choices >= m_trials) {
            // Let the last pause's ticks and paints settle, then stop.
            QTimer::singleShot(300, &m_loop, &QEventLoop::quit);
            return;
        }
        // A participant takes a moment; the click then lands as a real one.
        QTimer::singleShot(40, this, [this] { choose(); });
    }

    void choose()
    {
        // Mostly the left option, with a right-option choice now and then so
        // that pauses of several lengths occur.
        const bool left = m_choices % 15 != 14;
        ++m_choices;
        m_winsPainted = m_unitsPainted = false;
        m_measuring = true;
        m_clicked = m_context.clock.seconds();
        QTest::mouseClick(left == m_context.state.leftOptionOnLeft ? m_window->cmdLeft : m_window->cmdRight,
                          Qt::LeftButton);
    }

    AppContext &m_context;
    int m_trials;
    frmTesting2 *m_window = nullptr;
    QEventLoop m_loop;
    std::vector<double> m_ticks;
    int m_choices = 0;
    bool m_measuring = false;
    bool m_winsPainted = false;
    bool m_unitsPainted = false;
    double m_clicked = 0;
};

std::vector<double> appendTimes(int count)
{
    Clock &clock = systemClock();
    std::vector<double> times;
    for (int i = 0; i < count; ++i) {
        const double start = clock.seconds();
        const FileResult result = appendDurably("append_bench.csv", kLine);
        times.push_back((clock.seconds() - start) * 1000.0);
        if (!result.ok()) {
            std::fprintf(stderr, "game_bench: %s\n", result.error.message.c_str());
            break;
        }
    }
    return times;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    installFonts();
    const int trials = argc > 1 ? std::max(1, std::atoi(argv[1])) : 120; // a game has at most 150

    BenchGame bench;
    GameRun game(bench.context, trials);
    game.run();
    const std::vector<double> appends = appendTimes(200);

    std::printf("game_bench: %d trials in a real event loop, platform %s, folder %s\n", trials,
                qPrintable(QGuiApplication::platformName()), qPrintable(bench.folder.path()));
    std::printf("%-34s %6s %10s %10s %10s %10s   %s\n", "figure (ms)", "n", "median", "mean", "best", "worst",
                "target");
    std::vector<double> absoluteErrors = game.pauseErrors;
    for (double &e : absoluteErrors)
        e = std::abs(e);
    printRow("pause end - dblendtime, absolute", summarise(absoluteErrors), "median < 1, worst < 5");
    printRow("Timer1 period", summarise(game.periods()), "250 +- 2");
    printRow("click to numbers painted", summarise(game.clickToPaint), "< 5");
    printRow("append and flush one line", summarise(appends), "reported");
    if (bench.flow.feedbacks)
        std::puts("note: the game ended before all trials were played");

    return 0;
}
