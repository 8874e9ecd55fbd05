#include "platform/MainQueue.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>

#include <cmath>

namespace norvelle {

namespace {

QObject* receiver(QObject* context)
{
    return context ? context : QCoreApplication::instance();
}

} // namespace

bool MainQueue::isMainThread()
{
    const QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

void MainQueue::async(std::function<void()> work, QObject* context)
{
    QMetaObject::invokeMethod(receiver(context), std::move(work), Qt::QueuedConnection);
}

void MainQueue::asyncAfter(double seconds, std::function<void()> work, QObject* context)
{
    const double clamped = std::isfinite(seconds) && seconds > 0 ? std::min(seconds, 2.0e6) : 0.0;
    const int milliseconds = int(std::lround(clamped * 1000.0));
    QObject* target = receiver(context);
    if (isMainThread()) {
        QTimer::singleShot(milliseconds, target, std::move(work));
        return;
    }
    // A timer must be started on the thread that owns it: hop to the main thread first.
    QMetaObject::invokeMethod(
        target, [milliseconds, target, work = std::move(work)]() mutable {
            QTimer::singleShot(milliseconds, target, std::move(work));
        },
        Qt::QueuedConnection);
}

} // namespace norvelle
