#pragma once

#include "platform/DescriptorReserve.h"

#include <QList>
#include <QObject>
#include <QString>

class QSocketNotifier;

namespace norvelle {

// Keeps one running copy of the program per user and home: a later launch hands the running
// copy a "reopen" request instead of starting a second one. The socket and its start-up lock
// live in a folder only this user can enter, so no other user can take their place. Plain Unix
// sockets: the resident program runs none of Qt's network stack until it goes online.
class SingleInstanceGuard : public QObject {
    Q_OBJECT
public:
    explicit SingleInstanceGuard(QString socketPath = defaultSocketPath(), QObject* parent = nullptr);
    ~SingleInstanceGuard() override;

    // The socket for this user and this configuration folder, in the private runtime folder;
    // empty when there is no such folder.
    static QString defaultSocketPath();

    // True when this process is now the running copy. False when another copy answered; it
    // has been asked to reopen.
    bool claim();

signals:
    // Another launch asked the running copy to reopen.
    void reopenRequested();

public:
    // A caller has this long to send its line; at most this many wait at once (the oldest is
    // hung up on to make room); accepting pauses this long when the process has no descriptor
    // left.
    static constexpr int callerDeadlineMs = 3000;
    static constexpr int maximumCallers = 32;
    static constexpr int acceptBackOffMs = 250;

private:
    struct Caller {
        int fd;
        QSocketNotifier* notifier;
    };

    bool askRunningCopyToReopen();
    bool listen();
    void acceptConnections();
    void watchCaller(int fd);
    void hangUp(QSocketNotifier* notifier);

    QString m_socketPath;
    int m_listener = -1;
    QSocketNotifier* m_listening = nullptr;
    // Connections whose request has not all arrived yet, oldest first.
    QList<Caller> m_callers;
    CallerRoom m_callerRoom {maximumCallers};
};

} // namespace norvelle
