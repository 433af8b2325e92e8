#pragma once

#include <QObject>

#include <memory>

namespace ct {

// A one-shot timer on the monotonic clock that fires as close to its time as
// the system allows. One source per system: precise_one_shot_linux.cpp (a
// kernel timerfd, which wakes the event loop when the time is up rather than
// at the next whole millisecond) and precise_one_shot_qt.cpp (Qt's precise
// timer, for Windows and macOS).
class PreciseOneShot final : public QObject {
    Q_OBJECT
public:
    explicit PreciseOneShot(QObject *parent);
    ~PreciseOneShot() override;

    // (Re)starts the timer; it fires once, `milliseconds` from now.
    void start(int milliseconds);
    void stop();
    bool isActive() const { return m_active; }

signals:
    void timeout();

private:
    struct System;
    std::unique_ptr<System> m_system;
    bool m_active = false;

    // The system's timer fired: once per start, never after a stop.
    void expired()
    {
        if (!m_active)
            return;
        m_active = false;
        emit timeout();
    }
};

} // namespace ct
