#pragma once

#include "platform/clock.h"

#include <QPointer>

#include <vector>

namespace ct::test {

// A clock that moves only when a test advances it. Timers fire in time order
// as the clock passes their due times, so pauses and animation need no real
// waiting.
class ManualClock final : public Clock {
public:
    double seconds() const override { return m_now; }
    ClockTimer *createTimer(QObject *parent) override;

    // Moves the clock forward, firing every timer that falls due on the way.
    void advance(double seconds);
    // Moves to the next due time of any active timer and fires it; false when
    // no timer is active.
    bool fireNext();
    // Advances to the end of the next active single-shot timer (a pause);
    // false when there is none.
    bool finishPause();
    // Fires the next active single-shot timer `early` seconds before it is
    // due, as a coarse system timer may; false when there is none.
    bool fireSingleShotEarly(double early);

    int activeTimers() const;

private:
    class Timer;
    friend class Timer;
    Timer *nextDue() const;

    double m_now = 1000.0;
    std::vector<QPointer<Timer>> m_timers;
};

} // namespace ct::test
