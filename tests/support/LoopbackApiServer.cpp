#include "support/LoopbackApiServer.h"

#include "platform/UserDefaults.h"

#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

namespace norvelle::test {

namespace {

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200: return "OK";
    case 201: return "Created";
    case 204: return "No Content";
    case 302: return "Found";
    case 401: return "Unauthorized";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    default: return "Status";
    }
}

} // namespace

ScriptedReply ScriptedReply::json(int status, const QJsonObject& object)
{
    ScriptedReply reply;
    reply.status = status;
    reply.body = QJsonDocument(object).toJson(QJsonDocument::Compact);
    reply.headers.append({QByteArray("Content-Type"), QByteArray("application/json")});
    return reply;
}

ScriptedReply ScriptedReply::raw(int status, QByteArray body)
{
    ScriptedReply reply;
    reply.status = status;
    reply.body = std::move(body);
    return reply;
}

ScriptedReply LoopbackApiServer::tokens(const QString& accessToken, const QString& expiresAt, const QJsonObject& extra)
{
    QJsonObject object {{"userId", "user-1"}, {"accessToken", accessToken}, {"refreshToken", "refresh-" + accessToken},
        {"expiresAt", expiresAt}, {"tokenType", "Bearer"}};
    for (auto it = extra.begin(); it != extra.end(); ++it) {
        object.insert(it.key(), it.value());
    }
    return ScriptedReply::json(200, object);
}

LoopbackApiServer::LoopbackApiServer()
{
    m_server.listen(QHostAddress::LocalHost, 0);
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            socket->setParent(this);
            m_buffers.insert(socket, {});
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readFrom(socket); });
            connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
                ++m_closedConnections;
                m_buffers.remove(socket);
                socket->deleteLater();
            });
        }
    });
}

LoopbackApiServer::~LoopbackApiServer() = default;

QUrl LoopbackApiServer::baseURL() const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort()));
}

void LoopbackApiServer::useAsApiBase() const
{
    UserDefaults::standard().set(QStringLiteral("norvelle.api.baseURL"), baseURL().toString());
}

void LoopbackApiServer::reply(const QString& path, const ScriptedReply& reply)
{
    m_scripts[path].append(reply);
}

void LoopbackApiServer::replyAlways(const QString& path, const ScriptedReply& reply)
{
    m_scripts[path] = {reply};
}

void LoopbackApiServer::setHandler(std::function<std::optional<ScriptedReply>(const RecordedRequest&)> handler)
{
    m_handler = std::move(handler);
}

QList<RecordedRequest> LoopbackApiServer::requests(const QString& path) const
{
    QList<RecordedRequest> out;
    for (const RecordedRequest& request : m_requests) {
        if (request.path == path) {
            out.append(request);
        }
    }
    return out;
}

QStringList LoopbackApiServer::paths() const
{
    QStringList out;
    for (const RecordedRequest& request : m_requests) {
        out.append(request.path);
    }
    return out;
}

void LoopbackApiServer::readFrom(QTcpSocket* socket)
{
    QByteArray& buffer = m_buffers[socket];
    buffer += socket->readAll();
    while (true) {
        const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
        if (headerEnd < 0) {
            return;
        }
        const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
        const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
        RecordedRequest request;
        request.method = requestLine.value(0);
        const QUrl target(QString::fromUtf8(requestLine.value(1)));
        request.path = target.path();
        request.query = target.query();
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const qsizetype colon = lines[i].indexOf(':');
            if (colon > 0) {
                request.headers.insert(lines[i].left(colon).trimmed().toLower(), lines[i].mid(colon + 1).trimmed());
            }
        }
        const qsizetype length = request.headers.value("content-length").toLongLong();
        if (buffer.size() < headerEnd + 4 + length) {
            return;
        }
        request.body = buffer.mid(headerEnd + 4, length);
        buffer.remove(0, headerEnd + 4 + length);
        m_requests.append(request);
        answer(socket, request);
    }
}

void LoopbackApiServer::answer(QTcpSocket* socket, const RecordedRequest& request)
{
    std::optional<ScriptedReply> reply = m_handler ? m_handler(request) : std::nullopt;
    if (!reply) {
        QList<ScriptedReply>& queue = m_scripts[request.path];
        if (queue.isEmpty()) {
            reply = ScriptedReply::json(404, {{"error", "not_found"}});
        } else {
            reply = queue.size() > 1 ? queue.takeFirst() : queue.first();
        }
    }
    if (reply->delayMs > 0) {
        QTimer::singleShot(reply->delayMs, this, [this, socket = QPointer<QTcpSocket>(socket), reply = *reply] {
            if (socket) {
                write(socket, reply);
            }
        });
    } else {
        write(socket, *reply);
    }
}

void LoopbackApiServer::write(QTcpSocket* socket, const ScriptedReply& reply)
{
    switch (reply.mode) {
    case ScriptedReply::Mode::never:
        return;
    case ScriptedReply::Mode::notHttp:
        socket->write("this is not a web server\r\n\r\n");
        socket->disconnectFromHost();
        return;
    case ScriptedReply::Mode::endless:
        sendEndlessly(socket);
        return;
    case ScriptedReply::Mode::normal:
    case ScriptedReply::Mode::truncated:
    case ScriptedReply::Mode::trickle:
        break;
    }
    QByteArray out = "HTTP/1.1 " + QByteArray::number(reply.status) + ' ' + reasonPhrase(reply.status) + "\r\n";
    for (const auto& [name, value] : reply.headers) {
        out += name + ": " + value + "\r\n";
    }
    out += "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n\r\n";
    if (reply.mode == ScriptedReply::Mode::trickle) {
        socket->write(out);
        auto* drip = new QTimer(socket);
        QObject::connect(drip, &QTimer::timeout, socket, [socket, drip, body = reply.body, sent = qsizetype(0)]() mutable {
            if (sent == body.size()) {
                drip->stop();
                return;
            }
            socket->write(body.mid(sent++, 1));
        });
        drip->start(100);
        return;
    }
    if (reply.mode == ScriptedReply::Mode::truncated) {
        out += reply.body.left(reply.body.size() / 2);
        socket->write(out);
        socket->disconnectFromHost();
        return;
    }
    out += reply.body;
    socket->write(out);
}

void LoopbackApiServer::sendEndlessly(QTcpSocket* socket)
{
    socket->write("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nTransfer-Encoding: chunked\r\n\r\n");
    const QByteArray chunk(64 * 1024, ' ');
    const QByteArray frame = QByteArray::number(chunk.size(), 16) + "\r\n" + chunk + "\r\n";
    // Keeps about a megabyte queued: as fast as the reader takes it, never ahead of it.
    const auto topUp = [this, socket, frame, bytes = chunk.size()] {
        while (socket->state() == QAbstractSocket::ConnectedState && socket->bytesToWrite() < 1024 * 1024) {
            socket->write(frame);
            m_endlessBytesSent += bytes;
        }
    };
    connect(socket, &QTcpSocket::bytesWritten, this, topUp);
    topUp();
}

} // namespace norvelle::test
