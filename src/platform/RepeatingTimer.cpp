#include "platform/RepeatingTimer.h"

#include <cmath>

namespace norvelle {

RepeatingTimer::RepeatingTimer(double intervalSeconds, double toleranceSeconds, std::function<void()> fire,
    QObject* parent)
    : QObject(parent)
    , m_fire(std::move(fire))
{
    const double seconds = std::isfinite(intervalSeconds) && intervalSeconds > 0 ? intervalSeconds : 0.001;
    m_timer.setInterval(int(std::lround(std::min(seconds, 2.0e6) * 1000.0)));
    m_timer.setTimerType(toleranceSeconds > 0 ? Qt::CoarseTimer : Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &RepeatingTimer::fire);
    m_timer.start();
}

void RepeatingTimer::invalidate()
{
    m_timer.stop();
}

void RepeatingTimer::fire()
{
    if (m_fire) {
        m_fire();
    }
}

} // namespace norvelle
