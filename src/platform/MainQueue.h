#pragma once

#include <QObject>

#include <functional>

namespace norvelle {

// Work for the main (GUI) thread's event loop.
class MainQueue {
public:
    // Runs `work` on a later turn of the main event loop, from any thread. With a `context`,
    // the work is dropped if the context is destroyed first.
    static void async(std::function<void()> work, QObject* context = nullptr);
    // Runs `work` on the main thread after `seconds` (negative or not finite counts as 0).
    static void asyncAfter(double seconds, std::function<void()> work, QObject* context = nullptr);
    static bool isMainThread();
};

} // namespace norvelle
