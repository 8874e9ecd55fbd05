#include "platform/NotificationCenter.h"

#include "platform/MainQueue.h"

#include <QCoreApplication>
#include <QThread>

#include <algorithm>
#include <memory>

namespace norvelle {

namespace {

std::mutex defaultMutex;
std::unique_ptr<NotificationCenter>& defaultInstance()
{
    static std::unique_ptr<NotificationCenter> instance;
    return instance;
}

} // namespace

NotificationCenter& NotificationCenter::defaultCenter()
{
    std::lock_guard lock(defaultMutex);
    auto& instance = defaultInstance();
    if (!instance) {
        instance = std::make_unique<NotificationCenter>();
    }
    return *instance;
}

void NotificationCenter::resetDefault()
{
    std::lock_guard lock(defaultMutex);
    defaultInstance().reset();
}

NotificationCenter::Token NotificationCenter::addObserver(const QString& name, QObject* context, Observer observer)
{
    std::lock_guard lock(m_mutex);
    const Token token = m_nextToken++;
    m_entries.push_back(Entry {token, name, context, context != nullptr, std::move(observer)});
    return token;
}

void NotificationCenter::removeObserver(Token token)
{
    std::lock_guard lock(m_mutex);
    std::erase_if(m_entries, [token](const Entry& entry) { return entry.token == token; });
}

void NotificationCenter::post(const QString& name, const void* object, const QVariantMap& userInfo)
{
    Notification notification {name, object, userInfo};
    if (MainQueue::isMainThread()) {
        deliver(notification);
    } else {
        MainQueue::async([this, alive = std::weak_ptr(m_alive), notification] {
            if (!alive.expired()) {
                deliver(notification);
            }
        });
    }
}

void NotificationCenter::deliver(const Notification& notification)
{
    std::vector<std::pair<Token, Observer>> matching;
    {
        std::lock_guard lock(m_mutex);
        std::erase_if(m_entries, [](const Entry& entry) { return entry.hadContext && !entry.context; });
        for (const Entry& entry : m_entries) {
            if (entry.name == notification.name) {
                matching.emplace_back(entry.token, entry.observer);
            }
        }
    }
    for (const auto& [token, observer] : matching) {
        // An earlier observer may have removed this one (or destroyed its context).
        bool stillObserving = false;
        {
            std::lock_guard lock(m_mutex);
            stillObserving = std::any_of(m_entries.begin(), m_entries.end(), [token = token](const Entry& entry) {
                return entry.token == token && (!entry.hadContext || entry.context);
            });
        }
        if (stillObserving) {
            observer(notification);
        }
    }
}

} // namespace norvelle
