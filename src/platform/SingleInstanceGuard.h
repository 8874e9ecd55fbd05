#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace norvelle {

// Keeps one running copy of the program per user and home: a later launch hands the running
// copy a "reopen" request instead of starting a second one.
class SingleInstanceGuard : public QObject {
    Q_OBJECT
public:
    explicit SingleInstanceGuard(QString serverName = defaultServerName(), QObject* parent = nullptr);
    ~SingleInstanceGuard() override;

    // The name for this user and this configuration folder.
    static QString defaultServerName();

    // True when this process is now the running copy. False when another copy answered; it
    // has been asked to reopen.
    bool claim();

signals:
    // Another launch asked the running copy to reopen.
    void reopenRequested();

private:
    bool askRunningCopyToReopen();
    void acceptConnection();

    QString m_serverName;
    QLocalServer* m_server = nullptr;
};

} // namespace norvelle
