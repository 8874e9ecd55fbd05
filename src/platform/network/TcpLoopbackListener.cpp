#include "platform/network/TcpLoopbackListener.h"

#include <QTcpSocket>

namespace norvelle {

namespace {

// A request line and headers far beyond any redirect's: refused.
constexpr qsizetype kMaximumRequestBytes = 16 * 1024;

void answer(QTcpSocket* socket, const LoopbackListener::Answer& answer)
{
    socket->write("HTTP/1.1 " + answer.status + "\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: "
        + QByteArray::number(answer.body.size()) + "\r\nConnection: close\r\nCache-Control: no-store\r\n\r\n" + answer.body);
    socket->disconnectFromHost();
}

} // namespace

TcpLoopbackListener::TcpLoopbackListener()
{
    QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] { serve(); });
}

bool TcpLoopbackListener::listen(Handler handler)
{
    m_handler = std::move(handler);
    return m_server.listen(QHostAddress::LocalHost, 0);
}

quint16 TcpLoopbackListener::port() const
{
    return m_server.serverPort();
}

void TcpLoopbackListener::close()
{
    m_server.close();
}

void TcpLoopbackListener::serve()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
            const QByteArray received = socket->peek(kMaximumRequestBytes + 1);
            const qsizetype end = received.indexOf("\r\n\r\n");
            if (end < 0) {
                if (received.size() > kMaximumRequestBytes) {
                    answer(socket, {"431 Request Header Fields Too Large", {}, {}});
                }
                return;
            }
            const Answer given = m_handler(received.left(end));
            answer(socket, given);
            if (given.then) {
                given.then();
            }
        });
    }
}

} // namespace norvelle
