#include "platform/clock.h"

#include "platform/precise_one_shot.h"

#include <QElapsedTimer>
#include <QTimer>

namespace ct {
namespace {

// Single-shot timers run on the system's most precise one-shot timer, the
// repeating ones on a precise Qt timer.
class SystemTimer final : public ClockTimer {
public:
    explicit SystemTimer(QObject *parent) : ClockTimer(parent), m_oneShot(this)
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        connect(&m_timer, &QTimer::timeout, this, &ClockTimer::timeout);
        connect(&m_oneShot, &PreciseOneShot::timeout, this, &ClockTimer::timeout);
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
        if (m_timer.isSingleShot())
            m_oneShot.start(m_timer.interval());
        else
            m_timer.start();
    }
    void stop() override
    {
        m_oneShot.stop();
        m_timer.stop();
    }
    bool isActive() const override { return m_oneShot.isActive() || m_timer.isActive(); }

private:
    PreciseOneShot m_oneShot;
    QTimer m_timer;
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
