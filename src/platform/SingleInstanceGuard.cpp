#include "platform/SingleInstanceGuard.h"

#include "platform/AppPaths.h"
#include "platform/SystemLog.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QFile>
#include <QLockFile>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>

#include <cerrno>
#include <cstring>
#include <memory>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace norvelle {

namespace {

constexpr int timeoutMs = 2000;
// Longer than a launch that finds a running copy not answering can take.
constexpr int startUpLockTimeoutMs = 4 * timeoutMs;
const QByteArray reopenRequest = "reopen\n";
const QByteArray acknowledged = "ok\n";
// A caller that sends more than this without a line end is not a later launch.
constexpr qsizetype longestRequest = 64;

struct FileDescriptor {
    explicit FileDescriptor(int open)
        : fd(open)
    {
    }
    ~FileDescriptor()
    {
        if (fd >= 0) {
            ::close(fd);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    const int fd;
};

// False when the path does not fit a socket address.
bool socketAddress(const QString& path, sockaddr_un& address)
{
    const QByteArray encoded = QFile::encodeName(path);
    if (encoded.isEmpty() || size_t(encoded.size()) >= sizeof(address.sun_path)) {
        return false;
    }
    std::memset(&address, 0, sizeof(address));
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, encoded.constData(), size_t(encoded.size()));
    return true;
}

// Waits for `fd` to become ready for `events` until `deadline`; false when it did not.
bool waitFor(int fd, short events, const QDeadlineTimer& deadline)
{
    pollfd waiting {fd, events, 0};
    int ready;
    do {
        ready = ::poll(&waiting, 1, int(deadline.remainingTime()));
    } while (ready < 0 && errno == EINTR);
    return ready > 0;
}

} // namespace

SingleInstanceGuard::SingleInstanceGuard(QString socketPath, QObject* parent)
    : QObject(parent)
    , m_socketPath(std::move(socketPath))
{
}

SingleInstanceGuard::~SingleInstanceGuard()
{
    for (const Caller& caller : std::as_const(m_callers)) {
        ::close(caller.fd);
    }
    if (m_listener >= 0) {
        ::close(m_listener);
        ::unlink(QFile::encodeName(m_socketPath).constData());
    }
}

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
    if (!startUp.tryLock(startUpLockTimeoutMs)) {
        SystemLog("app").error("Cannot take the start-up lock: " + startUp.fileName());
    }
    if (askRunningCopyToReopen()) {
        return false;
    }
    if (!listen()) {
        SystemLog("app").error(QStringLiteral("Cannot listen for later launches at %1: %2")
                                   .arg(m_socketPath, QString::fromLocal8Bit(std::strerror(errno))));
    }
    return true;
}

bool SingleInstanceGuard::askRunningCopyToReopen()
{
    sockaddr_un address;
    if (!socketAddress(m_socketPath, address)) {
        return false;
    }
    const FileDescriptor socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    const int fd = socket.fd;
    if (fd < 0) {
        return false;
    }
    // A running copy too busy to accept makes the connect wait, at most this long.
    const timeval timeout {timeoutMs / 1000, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof(timeout));
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        return false;
    }
    // Someone is listening: the running copy. Even when it does not answer in time, starting
    // a second copy next to it would be worse.
    QByteArray answer;
    const QDeadlineTimer deadline(timeoutMs);
    if (::send(fd, reopenRequest.constData(), size_t(reopenRequest.size()), MSG_NOSIGNAL) == reopenRequest.size()) {
        char buffer[16];
        while (answer.size() < acknowledged.size() && waitFor(fd, POLLIN, deadline)) {
            const ssize_t got = ::recv(fd, buffer, sizeof(buffer), 0);
            if (got > 0) {
                answer.append(buffer, got);
            } else if (got == 0 || errno != EINTR) {
                break;
            }
        }
    }
    if (!answer.startsWith(acknowledged)) {
        SystemLog("app").error("The running copy of Norvelle did not answer the reopen request");
    }
    return true;
}

bool SingleInstanceGuard::listen()
{
    sockaddr_un address;
    if (!socketAddress(m_socketPath, address)) {
        errno = ENAMETOOLONG;
        return false;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    // Nobody listens: a socket left over from a copy that crashed would be in the way.
    ::unlink(address.sun_path);
    // Only this user may connect, whatever the folder's own rights.
    ::fchmod(fd, S_IRUSR | S_IWUSR);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 || ::listen(fd, SOMAXCONN) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return false;
    }
    m_listener = fd;
    m_listening = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_listening, &QSocketNotifier::activated, this, &SingleInstanceGuard::acceptConnections);
    return true;
}

void SingleInstanceGuard::acceptConnections()
{
    int fd;
    while ((fd = ::accept4(m_listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC)) >= 0) {
        switch (m_callerRoom.admit(fd, m_callers.size())) {
        case CallerRoom::Admission::Refuse:
            ::close(fd);
            continue;
        case CallerRoom::Admission::TakeInPlaceOfOldest:
            hangUp(m_callers.first().notifier);
            break;
        case CallerRoom::Admission::Take:
            break;
        }
        watchCaller(fd);
    }
    if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
        // The waiting connection stays readable: trying again at once would only spin.
        m_listening->setEnabled(false);
        QTimer::singleShot(acceptBackOffMs, m_listening, [this] {
            m_listening->setEnabled(true);
            acceptConnections();
        });
    }
}

void SingleInstanceGuard::watchCaller(int fd)
{
    auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    m_callers.append({fd, notifier});
    // A caller that connects and says nothing would hold its descriptor for good.
    QTimer::singleShot(callerDeadlineMs, notifier, [this, notifier] { hangUp(notifier); });
    auto received = std::make_shared<QByteArray>();
    const auto readRequest = [this, fd, notifier, received] {
        char buffer[longestRequest];
        ssize_t got;
        while ((got = ::recv(fd, buffer, sizeof(buffer), 0)) > 0) {
            received->append(buffer, got);
        }
        const qsizetype lineEnd = received->indexOf('\n');
        if (lineEnd < 0) {
            // Still arriving, unless the caller went away or talks too much.
            if ((got < 0 && (errno == EAGAIN || errno == EINTR)) && received->size() <= longestRequest) {
                return;
            }
            hangUp(notifier);
            return;
        }
        if (received->left(lineEnd + 1) == reopenRequest) {
            ::send(fd, acknowledged.constData(), size_t(acknowledged.size()), MSG_NOSIGNAL);
            hangUp(notifier);
            emit reopenRequested();
            return;
        }
        hangUp(notifier);
    };
    connect(notifier, &QSocketNotifier::activated, this, readRequest);
    // The request may have arrived with the connection.
    readRequest();
}

void SingleInstanceGuard::hangUp(QSocketNotifier* notifier)
{
    // Each caller is hung up on once: its deadline may still fire before the notifier goes.
    const auto caller = std::find_if(m_callers.begin(), m_callers.end(), [notifier](const Caller& c) { return c.notifier == notifier; });
    if (caller == m_callers.end()) {
        return;
    }
    notifier->setEnabled(false);
    notifier->deleteLater();
    ::close(caller->fd);
    m_callers.erase(caller);
}

} // namespace norvelle
