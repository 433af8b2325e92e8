#pragma once

#include <QObject>

namespace ct {

// A timer driven by a Clock: the real one in the program, a manual one in
// tests, so that no test waits for real seconds.
class ClockTimer : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual void setInterval(int milliseconds) = 0;
    virtual int interval() const = 0;
    virtual void setSingleShot(bool singleShot) = 0;
    virtual void start() = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;

    void start(int milliseconds)
    {
        setInterval(milliseconds);
        start();
    }

signals:
    void timeout();
};

// Monotonic time and timers. Never a time-of-day clock: a pause that straddles
// midnight or a clock adjustment still ends on time.
class Clock {
public:
    virtual ~Clock() = default;
    // Seconds since an arbitrary start.
    virtual double seconds() const = 0;
    // A stopped timer owned by `parent`.
    virtual ClockTimer *createTimer(QObject *parent) = 0;
};

// The real clock: a steady clock and precise Qt timers.
Clock &systemClock();

} // namespace ct
