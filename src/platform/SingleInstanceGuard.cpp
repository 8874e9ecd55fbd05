#include "platform/SingleInstanceGuard.h"

#include "platform/AppPaths.h"
#include "platform/SystemLog.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>

#include <unistd.h>

namespace norvelle {

namespace {

constexpr int kTimeoutMs = 2000;
// Longer than a launch that finds a running copy not answering can take.
constexpr int kStartUpLockTimeoutMs = 4 * kTimeoutMs;
const QByteArray kReopen = "reopen\n";
const QByteArray kAcknowledged = "ok\n";

} // namespace

SingleInstanceGuard::SingleInstanceGuard(QString socketPath, QObject* parent)
    : QObject(parent)
    , m_socketPath(std::move(socketPath))
{
}

SingleInstanceGuard::~SingleInstanceGuard() = default;

QString SingleInstanceGuard::defaultSocketPath()
{
    const QString folder = AppPaths::temporaryDirectory();
    if (folder.isEmpty()) {
        return {};
    }
    const QByteArray home = QCryptographicHash::hash(AppPaths::configDirectory().toUtf8(), QCryptographicHash::Sha256);
    return folder + "/instance-" + QString::fromLatin1(home.toHex().left(12));
}

bool SingleInstanceGuard::claim()
{
    if (m_socketPath.isEmpty()) {
        SystemLog("app").error("No private runtime folder: later launches cannot find this copy");
        return true;
    }
    // Two launches at once must not both find nobody listening and both start listening.
    QLockFile startUp(m_socketPath + ".lock");
    if (!startUp.tryLock(kStartUpLockTimeoutMs)) {
        SystemLog("app").error("Cannot take the start-up lock: " + startUp.fileName());
    }
    if (askRunningCopyToReopen()) {
        return false;
    }
    // Nobody listens: a socket left over from a copy that crashed would be in the way.
    QLocalServer::removeServer(m_socketPath);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_socketPath)) {
        SystemLog("app").error("Cannot listen for later launches: " + m_server->errorString());
        return true;
    }
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstanceGuard::acceptConnection);
    return true;
}

bool SingleInstanceGuard::askRunningCopyToReopen()
{
    QLocalSocket socket;
    socket.connectToServer(m_socketPath);
    if (!socket.waitForConnected(kTimeoutMs)) {
        return false;
    }
    // Someone is listening: the running copy. Even when it does not answer in time, starting
    // a second copy next to it would be worse.
    socket.write(kReopen);
    socket.waitForBytesWritten(kTimeoutMs);
    while (socket.bytesAvailable() < kAcknowledged.size() && socket.waitForReadyRead(kTimeoutMs)) {
    }
    if (!socket.readAll().startsWith(kAcknowledged)) {
        SystemLog("app").error("The running copy of Norvelle did not answer the reopen request");
    }
    return true;
}

void SingleInstanceGuard::acceptConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        const auto readRequest = [this, socket] {
            if (!socket->canReadLine()) {
                return;
            }
            const QByteArray request = socket->readLine();
            if (request == kReopen) {
                socket->write(kAcknowledged);
                socket->flush();
                emit reopenRequested();
            }
            socket->disconnectFromServer();
        };
        connect(socket, &QLocalSocket::readyRead, this, readRequest);
        // The request may have arrived with the connection.
        readRequest();
    }
}

} // namespace norvelle
