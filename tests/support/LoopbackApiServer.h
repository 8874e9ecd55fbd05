#pragma once

#include <QByteArray>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QObject>
#include <QTcpServer>
#include <QUrl>

#include <functional>
#include <optional>
#include <utility>

class QTcpSocket;

namespace norvelle::test {

// One request as the server received it.
struct RecordedRequest {
    QByteArray method;
    QString path;
    QString query;
    QMap<QByteArray, QByteArray> headers; // names in lower case
    QByteArray body;

    QByteArray header(const QByteArray& name) const { return headers.value(name.toLower()); }
    QJsonObject json() const { return QJsonDocument::fromJson(body).object(); }
};

// What the server does with one request.
struct ScriptedReply {
    enum class Mode {
        normal, // the status, headers and body
        truncated, // announces the body's length, sends half of it and hangs up
        notHttp, // answers bytes that are not HTTP and hangs up
        never, // keeps the connection open and says nothing
        trickle, // the status and headers, then one byte of the body every 100 ms
        endless, // a chunked body that never ends, sent as fast as it is taken
    };
    int status = 200;
    QByteArray body;
    QList<std::pair<QByteArray, QByteArray>> headers;
    int delayMs = 0;
    Mode mode = Mode::normal;

    static ScriptedReply json(int status, const QJsonObject& object);
    static ScriptedReply raw(int status, QByteArray body);
};

// An HTTP/1.1 server on 127.0.0.1 (a free port) that speaks the service's wire format as the
// tests script it. Replies are queued per path and used in order, the last one again for
// every later request; a handler, when set, answers first. Unscripted paths get a 404.
class LoopbackApiServer : public QObject {
    Q_OBJECT
public:
    LoopbackApiServer();
    ~LoopbackApiServer() override;

    QUrl baseURL() const;
    // Points the program's API base at this server.
    void useAsApiBase() const;

    void reply(const QString& path, const ScriptedReply& reply);
    // Drops what was queued for `path`: every later request gets this reply.
    void replyAlways(const QString& path, const ScriptedReply& reply);
    void setHandler(std::function<std::optional<ScriptedReply>(const RecordedRequest&)> handler);

    QList<RecordedRequest> requests() const { return m_requests; }
    QList<RecordedRequest> requests(const QString& path) const;
    // The paths asked for, in order.
    QStringList paths() const;
    // Connections the other side has closed, and the body bytes sent on endless replies.
    int closedConnections() const { return m_closedConnections; }
    qint64 endlessBytesSent() const { return m_endlessBytesSent; }

    // A 200 token answer, as the sign-in and refresh endpoints give it.
    static ScriptedReply tokens(const QString& accessToken = QStringLiteral("access-1"),
        const QString& expiresAt = QStringLiteral("2099-01-01T00:00:00.000Z"), const QJsonObject& extra = {});

private:
    void readFrom(QTcpSocket* socket);
    void answer(QTcpSocket* socket, const RecordedRequest& request);
    void write(QTcpSocket* socket, const ScriptedReply& reply);
    void sendEndlessly(QTcpSocket* socket);

    QTcpServer m_server;
    QHash<QTcpSocket*, QByteArray> m_buffers;
    QMap<QString, QList<ScriptedReply>> m_scripts;
    std::function<std::optional<ScriptedReply>(const RecordedRequest&)> m_handler;
    QList<RecordedRequest> m_requests;
    int m_closedConnections = 0;
    qint64 m_endlessBytesSent = 0;
};

} // namespace norvelle::test
