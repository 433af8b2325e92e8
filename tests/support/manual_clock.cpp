#include "manual_clock.h"

#include <algorithm>
#include <limits>

namespace ct::test {

class ManualClock::Timer final : public ClockTimer {
public:
    Timer(ManualClock &clock, QObject *parent) : ClockTimer(parent), m_clock(clock) {}
    void setInterval(int milliseconds) override { m_interval = milliseconds; }
    int interval() const override { return m_interval; }
    void setSingleShot(bool singleShot) override { m_singleShot = singleShot; }
    bool isSingleShot() const { return m_singleShot; }
    void start() override
    {
        m_active = true;
        m_due = m_clock.m_now + m_interval / 1000.0;
    }
    void stop() override { m_active = false; }
    bool isActive() const override { return m_active; }
    double due() const { return m_due; }

    void fire()
    {
        if (m_singleShot)
            m_active = false;
        else
            m_due += m_interval / 1000.0;
        emit timeout();
    }

private:
    ManualClock &m_clock;
    int m_interval = 0;
    bool m_singleShot = false;
    bool m_active = false;
    double m_due = 0;
};

ClockTimer *ManualClock::createTimer(QObject *parent)
{
    auto *timer = new Timer(*this, parent);
    m_timers.emplace_back(timer);
    return timer;
}

ManualClock::Timer *ManualClock::nextDue() const
{
    Timer *next = nullptr;
    for (const auto &timer : m_timers)
        if (timer && timer->isActive() && (!next || timer->due() < next->due()))
            next = timer;
    return next;
}

void ManualClock::advance(double seconds)
{
    const double end = m_now + seconds;
    while (Timer *timer = nextDue()) {
        if (timer->due() > end)
            break;
        m_now = std::max(m_now, timer->due());
        timer->fire();
    }
    m_now = end;
}

bool ManualClock::fireNext()
{
    Timer *timer = nextDue();
    if (!timer)
        return false;
    m_now = std::max(m_now, timer->due());
    timer->fire();
    return true;
}

bool ManualClock::finishPause()
{
    double due = std::numeric_limits<double>::infinity();
    for (const auto &timer : m_timers)
        if (timer && timer->isActive() && timer->isSingleShot())
            due = std::min(due, timer->due());
    if (due == std::numeric_limits<double>::infinity())
        return false;
    advance(due - m_now);
    return true;
}

bool ManualClock::fireSingleShotEarly(double early)
{
    Timer *next = nullptr;
    for (const auto &timer : m_timers)
        if (timer && timer->isActive() && timer->isSingleShot() && (!next || timer->due() < next->due()))
            next = timer;
    if (!next)
        return false;
    // Timers due before the early firing go first, in order.
    advance(std::max(0.0, next->due() - early - m_now));
    if (next->isActive())
        next->fire();
    return true;
}

int ManualClock::activeTimers() const
{
    return static_cast<int>(
        std::count_if(m_timers.begin(), m_timers.end(), [](const auto &timer) { return timer && timer->isActive(); }));
}

} // namespace ct::test
