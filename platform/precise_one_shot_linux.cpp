// Linux: a one-shot kernel timer (timerfd) on the monotonic clock, watched by
// the event loop. Qt's own timers wake the loop only to the whole millisecond
// and so come up to a millisecond late; this one wakes it when the time is up.
// Where timerfd is unavailable, Qt's precise timer stands in.
#include "platform/precise_one_shot.h"

#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <sys/timerfd.h>
#include <unistd.h>

namespace ct {

struct PreciseOneShot::System {
    int fd = -1;
    QSocketNotifier *notifier = nullptr;
    QTimer fallback;

    ~System()
    {
        delete notifier;
        if (fd >= 0)
            ::close(fd);
    }
    bool arm(int milliseconds)
    {
        itimerspec timing{};
        const std::int64_t ns = std::max<std::int64_t>(1, std::int64_t{milliseconds} * 1000000);
        timing.it_value.tv_sec = static_cast<time_t>(ns / 1000000000);
        timing.it_value.tv_nsec = static_cast<long>(ns % 1000000000);
        return ::timerfd_settime(fd, 0, &timing, nullptr) == 0;
    }
    void disarm()
    {
        itimerspec timing{};
        (void)::timerfd_settime(fd, 0, &timing, nullptr);
        acknowledge();
    }
    // Clears the expiry so that the descriptor stops being readable.
    void acknowledge()
    {
        std::uint64_t expirations = 0;
        ssize_t n = 0;
        do {
            n = ::read(fd, &expirations, sizeof expirations);
        } while (n < 0 && errno == EINTR);
    }
};

PreciseOneShot::PreciseOneShot(QObject *parent) : QObject(parent), m_system(std::make_unique<System>())
{
    m_system->fallback.setSingleShot(true);
    m_system->fallback.setTimerType(Qt::PreciseTimer);
    connect(&m_system->fallback, &QTimer::timeout, this, &PreciseOneShot::expired);
    m_system->fd = ::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_system->fd < 0)
        return;
    m_system->notifier = new QSocketNotifier(static_cast<qintptr>(m_system->fd), QSocketNotifier::Read);
    connect(m_system->notifier, &QSocketNotifier::activated, this, [this] {
        m_system->acknowledge();
        expired();
    });
}

PreciseOneShot::~PreciseOneShot() = default;

void PreciseOneShot::start(int milliseconds)
{
    stop();
    m_active = true;
    if (m_system->notifier && m_system->arm(milliseconds))
        return;
    m_system->fallback.start(milliseconds);
}

void PreciseOneShot::stop()
{
    m_active = false;
    if (m_system->notifier)
        m_system->disarm();
    m_system->fallback.stop();
}

} // namespace ct
