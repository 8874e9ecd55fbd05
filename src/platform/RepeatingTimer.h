#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

namespace norvelle {

// A repeating timer on the main event loop. A non-zero tolerance lets the system coalesce
// wake-ups (a coarse timer).
class RepeatingTimer : public QObject {
    Q_OBJECT
public:
    RepeatingTimer(double intervalSeconds, double toleranceSeconds, std::function<void()> fire,
        QObject* parent = nullptr);

    double interval() const { return m_timer.interval() / 1000.0; }
    bool isValid() const { return m_timer.isActive(); }
    void invalidate();
    // Runs the action now, without changing the schedule.
    void fire();

private:
    QTimer m_timer;
    std::function<void()> m_fire;
};

} // namespace norvelle
