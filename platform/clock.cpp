#include "platform/clock.h"

#include <QElapsedTimer>
#include <QTimer>

namespace ct {
namespace {

class SystemTimer final : public ClockTimer {
public:
    explicit SystemTimer(QObject *parent) : ClockTimer(parent)
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        connect(&m_timer, &QTimer::timeout, this, &ClockTimer::timeout);
    }
    void setInterval(int milliseconds) override { m_timer.setInterval(milliseconds); }
    int interval() const override { return m_timer.interval(); }
    void setSingleShot(bool singleShot) override { m_timer.setSingleShot(singleShot); }
    void start() override { m_timer.start(); }
    void stop() override { m_timer.stop(); }
    bool isActive() const override { return m_timer.isActive(); }

private:
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
