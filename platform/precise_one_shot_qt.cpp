// Windows and macOS: Qt's precise timer (a multimedia timer on Windows, a
// dispatch timer on macOS) is already as exact as the event loop allows.
#include "platform/precise_one_shot.h"

#include <QTimer>

namespace ct {

struct PreciseOneShot::System {
    QTimer timer;
};

PreciseOneShot::PreciseOneShot(QObject *parent) : QObject(parent), m_system(std::make_unique<System>())
{
    m_system->timer.setSingleShot(true);
    m_system->timer.setTimerType(Qt::PreciseTimer);
    connect(&m_system->timer, &QTimer::timeout, this, &PreciseOneShot::expired);
}

PreciseOneShot::~PreciseOneShot() = default;

void PreciseOneShot::start(int milliseconds)
{
    m_active = true;
    m_system->timer.start(milliseconds);
}

void PreciseOneShot::stop()
{
    m_active = false;
    m_system->timer.stop();
}

} // namespace ct
