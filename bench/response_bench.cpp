// Response times on a real X display: the game window, the system clock and
// mouse presses injected through the X server's XTEST extension at known
// delays after the choice buttons were painted. Compares each injected delay
// with the response_ms the session record holds for that trial. Prints
// figures; asserts nothing.
//
//   build/bench/response_bench [trials]     (needs DISPLAY; Xvfb will do)

#include "bench_game.h"
#include "platform/files.h"
#include "platform/fonts.h"
#include "rules/session_record.h"
#include "windows/game/frmTesting2.h"
#include "windows/game/response_timer.h"
#include "windows/window_flow.h"

#include <QApplication>
#include <QEventLoop>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace ct;
using namespace ct::bench;

namespace {

// A pointer and button of its own on the X server, as a mouse would be.
class FakeMouse {
public:
    FakeMouse() : m_connection(xcb_connect(nullptr, nullptr))
    {
        if (xcb_connection_has_error(m_connection))
            return;
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        xcb_test_get_version_cookie_t cookie = xcb_test_get_version(m_connection, 2, 2);
        xcb_test_get_version_reply_t *reply = xcb_test_get_version_reply(m_connection, cookie, nullptr);
        m_usable = reply != nullptr;
        std::free(reply);
    }
    ~FakeMouse() { xcb_disconnect(m_connection); }
    FakeMouse(const FakeMouse &) = delete;
    FakeMouse &operator=(const FakeMouse &) = delete;

    bool usable() const { return m_usable; }
    void moveTo(QPoint global) { send(XCB_MOTION_NOTIFY, 0, m_root, global); }
    void press() { send(XCB_BUTTON_PRESS, 1, XCB_NONE, {}); }
    void release() { send(XCB_BUTTON_RELEASE, 1, XCB_NONE, {}); }

private:
    void send(std::uint8_t type, std::uint8_t detail, xcb_window_t root, QPoint at)
    {
        xcb_test_fake_input(m_connection, type, detail, XCB_CURRENT_TIME, root, static_cast<std::int16_t>(at.x()),
                            static_cast<std::int16_t>(at.y()), 0);
        xcb_flush(m_connection);
    }

    xcb_connection_t *m_connection;
    xcb_window_t m_root = XCB_NONE;
    bool m_usable = false;
};

// Plays `trials` choices, alternating the buttons, each pressed a known time
// after the buttons were painted.
class Participant : public QObject {
public:
    Participant(AppContext &context, BenchFlow &flow, FakeMouse &mouse, int trials)
        : m_context(context), m_flow(flow), m_mouse(mouse), m_trials(trials)
    {
        m_window = new frmTesting2(context);
        auto *timer = m_window->findChild<ResponseTimer *>();
        connect(timer, &ResponseTimer::painted, this, &Participant::buttonsPainted);
    }
    ~Participant() override { delete m_window.data(); }

    bool run()
    {
        m_window->show();
        if (!QTest::qWaitForWindowExposed(m_window))
            return false;
        m_mouse.moveTo(centreOf(nextButton()));
        QTest::qWait(200);
        QTest::mouseClick(m_window->cmdGo, Qt::LeftButton);
        QTimer::singleShot(120000, &m_loop, &QEventLoop::quit); // never hang
        m_loop.exec();
        return true;
    }

    std::vector<double> injectedMs; // from the painted buttons to the press, as sent

private:
    QPushButton *nextButton() const { return m_pressed % 2 == 0 ? m_window->cmdLeft : m_window->cmdRight; }
    static QPoint centreOf(QWidget *w) { return w->mapToGlobal(w->rect().center()); }

    void buttonsPainted(double onset)
    {
        if (m_pressed >= m_trials || m_flow.feedbacks > 0) {
            QTimer::singleShot(300, &m_loop, &QEventLoop::quit); // the last row goes to disk first
            return;
        }
        // Delays from 120 to 620 ms, spread over the run.
        const int delay = 120 + (m_pressed * 97) % 500;
        QTimer::singleShot(delay, Qt::PreciseTimer, this, [this, onset] {
            const double now = m_context.clock.seconds();
            m_mouse.press();
            injectedMs.push_back((now - onset) * 1000.0);
            QTimer::singleShot(60, this, [this] {
                m_mouse.release();
                ++m_pressed;
                if (m_flow.feedbacks > 0 || !m_window) {
                    QTimer::singleShot(100, &m_loop, &QEventLoop::quit);
                    return;
                }
                // Over the next button while the buttons are away.
                m_mouse.moveTo(centreOf(nextButton()));
            });
        });
    }

    AppContext &m_context;
    BenchFlow &m_flow;
    FakeMouse &m_mouse;
    int m_trials;
    int m_pressed = 0;
    QPointer<frmTesting2> m_window; // gone once the game has ended
    QEventLoop m_loop;
};

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        std::fputs("response_bench: needs an X display (QT_QPA_PLATFORM=xcb)\n", stderr);
        return 2;
    }
    FakeMouse mouse;
    if (!mouse.usable()) {
        std::fputs("response_bench: the X server has no XTEST extension\n", stderr);
        return 2;
    }
    installFonts();
    const int trials = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;

    BenchGame bench;
    Participant participant(bench.context, bench.flow, mouse, trials);
    if (!participant.run()) {
        std::fputs("response_bench: the window was not exposed\n", stderr);
        return 1;
    }
    const ReadResult file = readWholeFile(bench.state.sessionFileName, 1 << 24);
    const session::ReadResult record = session::readSessionRecord(file.bytes);
    std::vector<double> recorded;
    for (const session::Row &row : record.rows)
        if (row.event == session::Event::Choice && row.responseMs)
            recorded.push_back(*row.responseMs);
    const std::size_t n = std::min(recorded.size(), participant.injectedMs.size());
    std::vector<double> errors, absolute;
    for (std::size_t k = 0; k < n; ++k) {
        errors.push_back(recorded[k] - participant.injectedMs[k]);
        absolute.push_back(std::abs(errors.back()));
    }
    const Summary e = summarise(errors);
    const Summary a = summarise(absolute);
    std::printf("response_bench: %zu presses injected through XTEST, %zu choice rows, platform %s\n",
                participant.injectedMs.size(), recorded.size(), qPrintable(QGuiApplication::platformName()));
    std::printf("%-40s %10s %10s %10s %10s   %s\n", "figure (ms)", "median", "mean", "best", "worst", "target");
    std::printf("%-40s %10.3f %10.3f %10.3f %10.3f   %s\n", "response_ms - injected delay", e.median, e.mean, e.best,
                e.worst, "median < 2");
    std::printf("%-40s %10.3f %10.3f %10.3f %10.3f\n", "|response_ms - injected delay|", a.median, a.mean, a.best,
                a.worst);
    return recorded.size() == participant.injectedMs.size() ? 0 : 1;
}
