#include "platform/clock.h"

#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>

#ifdef __linux__
#include <QSocketNotifier>

#include <cerrno>
#include <cstdint>
#include <sys/timerfd.h>
#include <unistd.h>
#endif

namespace ct {
namespace {

#ifdef __linux__
// A one-shot kernel timer on the monotonic clock, watched by the event loop.
// Qt's own timers wake the loop only to the whole millisecond and so come up
// to a millisecond late; this one wakes it when the time is up.
class KernelOneShot {
public:
    explicit KernelOneShot(QObject *owner)
    {
        m_fd = ::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
        if (m_fd < 0)
            return;
        m_notifier = new QSocketNotifier(static_cast<qintptr>(m_fd), QSocketNotifier::Read, owner);
    }
    ~KernelOneShot()
    {
        delete m_notifier;
        if (m_fd >= 0)
            ::close(m_fd);
    }
    KernelOneShot(const KernelOneShot &) = delete;
    KernelOneShot &operator=(const KernelOneShot &) = delete;

    bool usable() const { return m_notifier != nullptr; }
    QSocketNotifier *notifier() const { return m_notifier; }

    bool arm(int milliseconds)
    {
        itimerspec timing{};
        const std::int64_t ns = std::max<std::int64_t>(1, std::int64_t{milliseconds} * 1000000);
        timing.it_value.tv_sec = static_cast<time_t>(ns / 1000000000);
        timing.it_value.tv_nsec = static_cast<long>(ns % 1000000000);
        return ::timerfd_settime(m_fd, 0, &timing, nullptr) == 0;
    }
    void disarm()
    {
        itimerspec timing{};
        (void)::timerfd_settime(m_fd, 0, &timing, nullptr);
        acknowledge();
    }
    // Clears the expiry so that the descriptor stops being readable.
    void acknowledge()
    {
        std::uint64_t expirations = 0;
        ssize_t n = 0;
        do {
            n = ::read(m_fd, &expirations, sizeof expirations);
        } while (n < 0 && errno == EINTR);
    }

private:
    int m_fd = -1;
    QSocketNotifier *m_notifier = nullptr;
};
#endif

class SystemTimer final : public ClockTimer {
public:
    explicit SystemTimer(QObject *parent) : ClockTimer(parent)
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        connect(&m_timer, &QTimer::timeout, this, &ClockTimer::timeout);
#ifdef __linux__
        if (m_oneShot.usable())
            connect(m_oneShot.notifier(), &QSocketNotifier::activated, this, &SystemTimer::oneShotExpired);
#endif
    }
    void setInterval(int milliseconds) override { m_timer.setInterval(milliseconds); }
    int interval() const override { return m_timer.interval(); }
    void setSingleShot(bool singleShot) override
    {
        stop();
        m_timer.setSingleShot(singleShot);
    }
    void start() override
    {
#ifdef __linux__
        if (m_timer.isSingleShot() && m_oneShot.usable()) {
            m_oneShot.disarm();
            if (m_oneShot.arm(m_timer.interval())) {
                m_oneShotActive = true;
                return;
            }
        }
#endif
        m_timer.start();
    }
    void stop() override
    {
#ifdef __linux__
        if (m_oneShotActive) {
            m_oneShotActive = false;
            m_oneShot.disarm();
        }
#endif
        m_timer.stop();
    }
    bool isActive() const override { return m_oneShotActive || m_timer.isActive(); }

private:
#ifdef __linux__
    void oneShotExpired()
    {
        m_oneShot.acknowledge();
        if (!m_oneShotActive)
            return;
        m_oneShotActive = false;
        emit timeout();
    }
    KernelOneShot m_oneShot{this};
#endif
    QTimer m_timer;
    bool m_oneShotActive = false;
};

class SystemClock final : public Clock {
public:
    SystemClock() { m_elapsed.start(); }
    double seconds() const override { return static_cast<double>(m_elapsed.nsecsElapsed()) / 1e9; }
    ClockTimer *createTimer(QObject *parent) override { return new SystemTimer(parent); }

private:
    QElapsedTimer m_elapsed; // monotonic
};

} // namespace

Clock &systemClock()
{
    static SystemClock clock;
    return clock;
}

} // namespace ct
