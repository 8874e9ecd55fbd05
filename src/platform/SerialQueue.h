#pragma once

#include <QString>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace norvelle {

// A worker thread that runs submitted work one item at a time, in submission order.
class SerialQueue {
public:
    explicit SerialQueue(QString label);
    // Finishes the queued work, then stops the thread.
    ~SerialQueue();
    SerialQueue(const SerialQueue&) = delete;
    SerialQueue& operator=(const SerialQueue&) = delete;

    void async(std::function<void()> work);
    // Runs `work` on the queue and waits for it (never call from the queue itself).
    void sync(const std::function<void()>& work);

    QString label() const { return m_label; }

private:
    void run();

    QString m_label;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::function<void()>> m_work;
    bool m_stopping = false;
    std::thread m_thread;
};

} // namespace norvelle
