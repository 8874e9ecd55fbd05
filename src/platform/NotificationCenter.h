#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantMap>

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace norvelle {

struct Notification {
    QString name;
    const void* object = nullptr; // the sender, compared by identity only
    QVariantMap userInfo;
};

// The in-process notification hub. Observers run on the main thread: a post from the main
// thread calls them before it returns; a post from another thread queues them.
class NotificationCenter {
public:
    using Observer = std::function<void(const Notification&)>;
    using Token = quint64;

    static NotificationCenter& defaultCenter();
    // Forgets every observer (tests start each case with a clean hub).
    static void resetDefault();

    // `context` bounds the observer's life: once it is destroyed the observer is dropped.
    Token addObserver(const QString& name, QObject* context, Observer observer);
    void removeObserver(Token token);

    void post(const QString& name, const void* object = nullptr, const QVariantMap& userInfo = {});

private:
    struct Entry {
        Token token;
        QString name;
        QPointer<QObject> context;
        bool hadContext;
        Observer observer;
    };
    void deliver(const Notification& notification);

    std::mutex m_mutex;
    std::vector<Entry> m_entries;
    Token m_nextToken = 1;
    // Lets a post queued from another thread find out that this hub has gone meanwhile.
    std::shared_ptr<const bool> m_alive = std::make_shared<const bool>(true);
};

} // namespace norvelle
