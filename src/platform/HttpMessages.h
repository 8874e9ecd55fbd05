#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>

#include <utility>
#include <variant>

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
        timedOut, // nothing arrived for the client's timeout
        cannotConnect, // no server at that address
        noNetwork, // this computer has no network connection
        secureConnection, // TLS failed (certificate or handshake); never ignored
        notHttp, // the other side did not speak HTTP
        replyTooLarge, // more than the request's maximum
        transferFailed, // the connection broke, or the reply was cut short
        unsafeRequest, // a header holding a control character: never sent
    };
    Kind kind;
    QString message;
};

using HttpResult = std::variant<HttpResponse, HttpError>;

} // namespace norvelle
