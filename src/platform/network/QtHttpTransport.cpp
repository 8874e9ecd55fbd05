#include "platform/network/QtHttpTransport.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>

namespace norvelle {

namespace {

constexpr qint64 readBufferBytes = 1024 * 1024;
constexpr qint64 largeReplyBytes = 1024 * 1024;
constexpr int lateTrimMs = 1000;

// At most `limit` of the bytes that have arrived. QIODevice::read(n) sizes its buffer to n
// first, so asking for the whole allowance would take hundreds of MiB on every read.
QByteArray readUpTo(QIODevice& device, qint64 limit)
{
    return device.read(std::min(limit, device.bytesAvailable()));
}

// The errors Qt raises for an answer that arrived whole but whose status is not 2xx: the
// answer itself is what the caller wants.
bool isStatusError(QNetworkReply::NetworkError error)
{
    const int code = int(error);
    return error == QNetworkReply::NoError || error == QNetworkReply::ProtocolInvalidOperationError
        || (code >= 201 && code <= 299 && error != QNetworkReply::ContentReSendError) || (code >= 401 && code <= 499);
}

HttpError timedOut()
{
    return {HttpError::Kind::timedOut, QStringLiteral("The server didn’t answer in time.")};
}

HttpError notHttp()
{
    return {HttpError::Kind::notHttp, QStringLiteral("The server sent an answer that isn’t a web response.")};
}

HttpError tooLarge()
{
    return {HttpError::Kind::replyTooLarge, QStringLiteral("The server’s answer was too large.")};
}

HttpError transportError(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::TemporaryNetworkFailureError:
        return {HttpError::Kind::noNetwork, QStringLiteral("No network connection.")};
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::UnknownNetworkError:
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyNotFoundError:
        return {HttpError::Kind::cannotConnect, QStringLiteral("Couldn’t reach the server. Check your connection and try again.")};
    case QNetworkReply::SslHandshakeFailedError:
        return {HttpError::Kind::secureConnection, QStringLiteral("A secure connection to the server couldn’t be made.")};
    case QNetworkReply::TimeoutError:
    case QNetworkReply::ProxyTimeoutError:
        return timedOut();
    case QNetworkReply::ProtocolFailure:
    case QNetworkReply::ProtocolUnknownError:
        return notHttp();
    default:
        return {HttpError::Kind::transferFailed, QStringLiteral("The connection to the server broke off.")};
    }
}

// One request in flight: the bytes read so far and the first failure seen.
struct Transfer {
    QByteArray body;
    qint64 maximum = 0;
    std::optional<HttpError> failure;
    std::function<void(HttpResult)> done;
};

} // namespace

QtHttpTransport::QtHttpTransport(std::function<void()> returnFreedMemory)
    : m_returnFreedMemory(std::move(returnFreedMemory))
{
}

void QtHttpTransport::send(const HttpRequest& request, int idleMs, int deadlineMs, std::function<void(HttpResult)> done)
{
    QNetworkRequest networkRequest(request.url);
    networkRequest.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    networkRequest.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    networkRequest.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    for (const auto& [name, value] : request.headers) {
        networkRequest.setRawHeader(name, value);
    }
    QNetworkReply* reply = m_manager.sendCustomRequest(networkRequest, request.method, request.body);
    // What has arrived is taken out at each readyRead: Qt's network thread is to stop reading
    // the socket while this much waits, or an answer at line speed outruns every limit. The
    // bound reaches that thread only once the request is under way, a turn of the loop later.
    QMetaObject::invokeMethod(
        reply, [reply] { reply->setReadBufferSize(readBufferBytes); }, Qt::QueuedConnection);

    auto transfer = std::make_shared<Transfer>();
    transfer->maximum = request.maximumReplyBytes;
    transfer->done = std::move(done);
    auto* idle = new QTimer(reply);
    idle->setSingleShot(true);
    idle->start(idleMs);
    // A server trickling a byte now and then keeps the idle timer from ever firing.
    auto* deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    deadline->start(deadlineMs);

    const auto fail = [reply, transfer](HttpError error) {
        if (!transfer->failure) {
            transfer->failure = std::move(error);
        }
        reply->abort();
    };
    QObject::connect(idle, &QTimer::timeout, reply, [fail] { fail(timedOut()); });
    QObject::connect(deadline, &QTimer::timeout, reply, [fail] { fail(timedOut()); });
    QObject::connect(reply, &QNetworkReply::uploadProgress, idle, [idle, idleMs] { idle->start(idleMs); });
    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [reply, transfer, fail] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > transfer->maximum) {
            fail(tooLarge());
        } else {
            // One allocation of the announced size, or of the limit when none is announced:
            // growing step by step would hold old and new buffers at once, near twice the
            // answer. Pages are only taken as bytes arrive.
            transfer->body.reserve(length.isValid() ? length.toLongLong() : transfer->maximum + 1);
        }
    });
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [reply, transfer, fail, idle, idleMs] {
        idle->start(idleMs);
        transfer->body += readUpTo(*reply, transfer->maximum - transfer->body.size() + 1);
        if (transfer->body.size() > transfer->maximum) {
            transfer->body.clear();
            fail(tooLarge());
        }
    });
    QObject::connect(reply, &QNetworkReply::finished, reply, [reply, transfer, returnFreedMemory = m_returnFreedMemory] {
        reply->deleteLater();
        if (transfer->body.size() >= largeReplyBytes || (transfer->failure && transfer->failure->kind == HttpError::Kind::replyTooLarge)) {
            // glibc keeps freed memory for later use: after an answer of megabytes the program
            // is to shrink back. Once the reply is gone, so are the pieces still queued for it;
            // what Qt's network thread read ahead of a refused answer goes a moment later.
            QObject::connect(reply, &QObject::destroyed, [returnFreedMemory] {
                returnFreedMemory();
                QTimer::singleShot(lateTrimMs, returnFreedMemory);
            });
        }
        if (!transfer->failure) {
            transfer->body += readUpTo(*reply, transfer->maximum - transfer->body.size() + 1);
            if (transfer->body.size() > transfer->maximum) {
                transfer->failure = tooLarge();
            }
        }
        const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        std::function<void(HttpResult)> done = std::move(transfer->done);
        if (transfer->failure) {
            done(*transfer->failure);
        } else if (reply->error() == QNetworkReply::RemoteHostClosedError && !status.isValid()) {
            // The server hung up without a status line: whatever it said was no HTTP answer.
            done(notHttp());
        } else if (!isStatusError(reply->error())) {
            done(transportError(reply->error()));
        } else if (!status.isValid()) {
            done(notHttp());
        } else {
            done(HttpResponse {status.toInt(), std::move(transfer->body)});
        }
    });
}

} // namespace norvelle
