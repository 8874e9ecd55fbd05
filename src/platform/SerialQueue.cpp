#include "platform/SerialQueue.h"

#include <future>

namespace norvelle {

SerialQueue::SerialQueue(QString label)
    : m_label(std::move(label))
    , m_thread([this] { run(); })
{
}

SerialQueue::~SerialQueue()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void SerialQueue::async(std::function<void()> work)
{
    {
        std::lock_guard lock(m_mutex);
        m_work.push_back(std::move(work));
    }
    m_wake.notify_one();
}

void SerialQueue::sync(const std::function<void()>& work)
{
    std::promise<void> done;
    async([&] {
        work();
        done.set_value();
    });
    done.get_future().wait();
}

void SerialQueue::run()
{
    for (;;) {
        std::function<void()> work;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stopping || !m_work.empty(); });
            if (m_work.empty()) {
                return;
            }
            work = std::move(m_work.front());
            m_work.pop_front();
        }
        work();
    }
}

} // namespace norvelle
