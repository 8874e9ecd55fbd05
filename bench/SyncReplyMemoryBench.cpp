// Memory of the program around large sync answers, served by a separate process over loopback
// so that only the program's own memory is counted: a 300 MB answer that must be refused (with
// and without a length announced), and a valid pull of 10,000 notes near the answer limit.
// Prints, for each, the resident size before, at its peak and after.
//
// Each endpoint refuses an answer beyond what its largest real form needs (sync 64 MiB, tokens
// 2 MiB, the device list 4 MiB, answers never read 64 KiB, the profile picture 10 MiB); after any
// answer, taken or refused, the program gives its memory back. The announced 300 MB answer is
// refused at its headers; the unannounced one, sent chunked as fast as loopback carries it, is cut
// off at the 64 MiB limit.
#include "SyncServices.h"
#include "support/ProcessMemory.h"

#include "account/NotesSyncService.h"
#include "platform/UserDefaults.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <string>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace norvelle;

namespace {

constexpr long long refusedBytes = 300LL * 1000 * 1000;
constexpr int noteCount = 10000;

void sendAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t sent = ::send(fd, data, size, MSG_NOSIGNAL);
        if (sent <= 0) {
            return;
        }
        data += sent;
        size -= size_t(sent);
    }
}

// Reads one request (head and announced body) and throws it away.
bool readRequest(int fd)
{
    std::string received;
    char buffer[65536];
    size_t headEnd;
    while ((headEnd = received.find("\r\n\r\n")) == std::string::npos) {
        const ssize_t got = ::recv(fd, buffer, sizeof(buffer), 0);
        if (got <= 0) {
            return false;
        }
        received.append(buffer, size_t(got));
    }
    size_t length = 0;
    const size_t at = received.find("Content-Length: ");
    if (at != std::string::npos) {
        length = std::stoul(received.substr(at + 16));
    }
    size_t have = received.size() - headEnd - 4;
    while (have < length) {
        const ssize_t got = ::recv(fd, buffer, sizeof(buffer), 0);
        if (got <= 0) {
            return false;
        }
        have += size_t(got);
    }
    return true;
}

void sendRefused(int fd, bool announced)
{
    const std::string head = announced
        ? "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: " + std::to_string(refusedBytes) + "\r\n\r\n"
        : std::string("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nTransfer-Encoding: chunked\r\n\r\n");
    sendAll(fd, head.data(), head.size());
    const std::string chunk(1 << 16, ' ');
    const std::string frame = "10000\r\n" + chunk + "\r\n";
    for (long long sent = 0; sent < refusedBytes; sent += chunk.size()) {
        if (announced) {
            sendAll(fd, chunk.data(), chunk.size());
        } else {
            sendAll(fd, frame.data(), frame.size());
        }
    }
}

// 10,000 notes this device does not have, about 6 KB each: near the sync answer's limit.
std::string validPull()
{
    std::string body = R"({"applied":{"applied":[]},"outgoing":[)";
    const std::string text(6000, 'n');
    for (int i = 0; i < noteCount; ++i) {
        body += (i ? "," : "");
        body += R"({"id":"x-norvelle://00000000-0000-0000-0000-000000000001/StickyNote/p)" + std::to_string(i + 1)
            + R"(","version":)" + std::to_string(i + 1) + R"(,"title":"Note )" + std::to_string(i) + R"(","body":")" + text
            + R"(","updatedAt":"2030-01-01T00:00:00.000Z"})";
    }
    return body + "]}";
}

[[noreturn]] void serve(int listener)
{
    const std::string pull = validPull();
    for (int request = 0;; ++request) {
        const int fd = ::accept(listener, nullptr, nullptr);
        if (fd < 0) {
            _exit(0);
        }
        if (readRequest(fd)) {
            const int round = request % 4;
            if (round == 1 || round == 2) {
                sendRefused(fd, round == 1);
            } else {
                const std::string body = round == 0 ? std::string(R"({"applied":{"applied":[]},"outgoing":[]})") : pull;
                const std::string head = "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: "
                    + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n";
                sendAll(fd, head.data(), head.size());
                sendAll(fd, body.data(), body.size());
            }
        }
        ::shutdown(fd, SHUT_WR);
        ::close(fd);
    }
}

} // namespace

int main(int argc, char** argv)
{
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    if (::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 || ::listen(listener, 8) != 0
        || ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        std::perror("listen");
        return 1;
    }
    const pid_t server = ::fork();
    if (server == 0) {
        serve(listener);
    }
    ::close(listener);

    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir home;
    qputenv("NORVELLE_HOME", home.path().toLocal8Bit());
    UserDefaults::resetStandard();
    UserDefaults::standard().set("norvelle.api.baseURL", QStringLiteral("http://127.0.0.1:%1").arg(ntohs(address.sin_port)));

    PersistenceController store;
    bench::SyncServices services(home.path(), store);
    NotesSyncService& sync = services.sync;

    const auto pull = [&] {
        bool done = false;
        std::optional<ServiceError> outcome;
        sync.syncNow([&](const std::optional<ServiceError>& failure) {
            outcome = failure;
            done = true;
        });
        while (!done) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        // What the program does after an answer settles within two seconds.
        QElapsedTimer settling;
        settling.start();
        while (settling.elapsed() < 2000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        }
        return outcome ? outcome->debugDescription() : QStringLiteral("ok");
    };

    int failures = 0;
    for (int cycle = 0; cycle < 2; ++cycle) {
        pull(); // a small answer: the network code is loaded and warm
        const char* names[] = {"300 MB answer with its length announced", "300 MB answer without a length (chunked)",
            "valid pull of 10,000 notes of 6 KB (61 MB)"};
        for (const char* name : names) {
            const long before = test::kilobytes("VmRSS:");
            test::resetPeak();
            const QString outcome = pull();
            const long peak = test::kilobytes("VmHWM:");
            const long after = test::kilobytes("VmRSS:");
            std::printf("run %d, %s: %s; resident before %.1f MB, peak %.1f MB, after %.1f MB (%+.1f MB)\n", cycle + 1, name,
                qPrintable(outcome), before / 1024.0, peak / 1024.0, after / 1024.0, (after - before) / 1024.0);
            if (after - before > 10 * 1024) {
                ++failures;
            }
        }
    }
    std::printf("every answer left the program within 10 MB of where it was: %s\n", failures ? "NO" : "yes");
    ::kill(server, SIGTERM);
    ::waitpid(server, nullptr, 0);
    return failures ? 1 : 0;
}
