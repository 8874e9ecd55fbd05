#include "platform/network/TcpLoopbackListener.h"

#include <QTcpSocket>
#include <QTimer>

namespace norvelle {

namespace {

// A request line and headers far beyond any redirect's: refused.
constexpr qsizetype maximumRequestBytes = 16 * 1024;

const char* const answered = "norvelleAnswered";

void drop(QTcpSocket* socket)
{
    socket->abort();
    socket->deleteLater();
}

void answer(QTcpSocket* socket, const LoopbackListener::Answer& answer)
{
    socket->setProperty(answered, true);
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
    for (QTcpSocket* socket : waitingConnections()) {
        drop(socket);
    }
}

QList<QTcpSocket*> TcpLoopbackListener::waitingConnections() const
{
    // Accepted sockets are the server's children, oldest first; those dropped are on their way out.
    QList<QTcpSocket*> waiting;
    for (QTcpSocket* socket : m_server.findChildren<QTcpSocket*>(Qt::FindDirectChildrenOnly)) {
        if (socket->state() == QAbstractSocket::ConnectedState && !socket->property(answered).toBool()) {
            waiting << socket;
        }
    }
    return waiting;
}

void TcpLoopbackListener::serve()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        // A local program holding connections open must not lock the browser's redirect out:
        // the oldest caller still waiting for an answer makes room for the newcomer.
        // Nor may callers take the descriptors kept in reserve.
        const QList<QTcpSocket*> waiting = waitingConnections();
        switch (m_callerRoom.admit(int(socket->socketDescriptor()), waiting.size() - 1)) {
        case CallerRoom::Admission::Refuse:
            drop(socket);
            continue;
        case CallerRoom::Admission::TakeInPlaceOfOldest:
            drop(waiting.constFirst());
            break;
        case CallerRoom::Admission::Take:
            break;
        }
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        // A caller that connects and says nothing must not hold a descriptor for long.
        QTimer::singleShot(connectionDeadlineMs, socket, [socket] { drop(socket); });
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
            const QByteArray received = socket->peek(maximumRequestBytes + 1);
            const qsizetype end = received.indexOf("\r\n\r\n");
            if (end < 0) {
                if (received.size() > maximumRequestBytes) {
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
