#pragma once

#include "platform/DescriptorReserve.h"
#include "platform/LoopbackListener.h"

#include <QTcpServer>

namespace norvelle {

class TcpLoopbackListener : public LoopbackListener {
public:
    TcpLoopbackListener();

    bool listen(Handler handler) override;
    quint16 port() const override;
    void close() override;

private:
    void serve();
    QList<QTcpSocket*> waitingConnections() const;

    QTcpServer m_server;
    Handler m_handler;
    CallerRoom m_callerRoom {maximumOpenConnections};
};

} // namespace norvelle
