#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

#include <functional>
#include <utility>
#include <variant>

class QNetworkAccessManager;

namespace norvelle {

struct HttpRequest {
    QByteArray method = "GET";
    QUrl url;
    QList<std::pair<QByteArray, QByteArray>> headers;
    QByteArray body;
    // A longer reply fails with replyTooLarge instead of being read on.
    qint64 maximumReplyBytes = 8 * 1024 * 1024;
};

// A complete HTTP answer, whatever its status (redirects are answers too: never followed).
struct HttpResponse {
    int status = 0;
    QByteArray body;
};

// Why no complete answer came. The message is for the user; it never holds the request's or
// the reply's content.
struct HttpError {
    enum class Kind {
        timedOut,         // nothing arrived for the client's timeout
        cannotConnect,    // no server at that address
        noNetwork,        // this computer has no network connection
        secureConnection, // TLS failed (certificate or handshake); never ignored
        notHttp,          // the other side did not speak HTTP
        replyTooLarge,    // more than the request's maximum
        transferFailed,   // the connection broke, or the reply was cut short
    };
    Kind kind;
    QString message;
};

using HttpResult = std::variant<HttpResponse, HttpError>;

// Asynchronous HTTP(S) over Qt's network stack, on the thread that owns the client (the main
// thread in the program). Timeouts count from the last bytes moved, as an idle limit.
class HttpClient : public QObject {
    Q_OBJECT
public:
    static constexpr int defaultTimeoutMs = 60'000;

    explicit HttpClient(int timeoutMs = defaultTimeoutMs, QObject* parent = nullptr);
    ~HttpClient() override;

    // The program's client, on the main thread.
    static HttpClient& shared();

    // Sends the request; `done` runs once, later, on the client's thread.
    void send(const HttpRequest& request, std::function<void(HttpResult)> done);

    int timeoutMs() const { return m_timeoutMs; }

private:
    QNetworkAccessManager* m_manager = nullptr;
    int m_timeoutMs;
};

} // namespace norvelle
