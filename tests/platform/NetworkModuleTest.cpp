#include "platform/NetworkModule.h"
#include "platform/LoopbackListener.h"

#include "support/TestHome.h"

#include <QFile>
#include <QTcpSocket>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace norvelle;

namespace {

// What the listener sends back for `request`, written in `chunks` pieces.
QByteArray exchange(quint16 port, const QByteArray& request, int chunks = 1)
{
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), port);
    EXPECT_TRUE(test::waitUntil([&] { return socket.state() == QAbstractSocket::ConnectedState; }));
    const qsizetype step = (request.size() + chunks - 1) / chunks;
    for (qsizetype at = 0; at < request.size(); at += step) {
        socket.write(request.mid(at, step));
        socket.flush();
        test::waitUntil([] { return false; }, 20);
    }
    QByteArray received;
    test::waitUntil([&] {
        received += socket.readAll();
        return socket.state() == QAbstractSocket::UnconnectedState;
    });
    return received + socket.readAll();
}

} // namespace

TEST(NetworkModule, AMissingOrBrokenModuleIsAnErrorNotACrash)
{
    QString error;
    EXPECT_EQ(NetworkModule::load(test::TestHomeListener::home() + "/absent.so", &error), nullptr);
    EXPECT_FALSE(error.isEmpty());

    QFile notALibrary(test::TestHomeListener::home() + "/libnorvelle-network.so");
    ASSERT_TRUE(notALibrary.open(QIODevice::WriteOnly));
    notALibrary.write("not a library");
    notALibrary.close();
    error.clear();
    EXPECT_EQ(NetworkModule::load(notALibrary.fileName(), &error), nullptr);
    EXPECT_FALSE(error.isEmpty());
}

TEST(NetworkModule, TheListenerAnswersEachWholeRequestHeadAndRefusesAnEndlessOne)
{
    NetworkModule* module = NetworkModule::shared();
    ASSERT_NE(module, nullptr);
    std::unique_ptr<LoopbackListener> listener = module->makeLoopbackListener();
    QList<QByteArray> heads;
    int answered = 0;
    ASSERT_TRUE(listener->listen([&](const QByteArray& head) {
        heads.append(head);
        return LoopbackListener::Answer {"200 OK", "<p>hi</p>", [&] { ++answered; }};
    }));
    ASSERT_NE(listener->port(), 0);

    // A head that arrives in pieces is answered once, when its blank line has come.
    const QByteArray reply = exchange(listener->port(), "GET /path?a=1 HTTP/1.1\r\nHost: x\r\n\r\n", 4);
    EXPECT_TRUE(reply.startsWith("HTTP/1.1 200 OK\r\n")) << reply.constData();
    EXPECT_TRUE(reply.contains("Content-Length: 9\r\n"));
    EXPECT_TRUE(reply.endsWith("\r\n\r\n<p>hi</p>"));
    EXPECT_EQ(heads, QList<QByteArray> {"GET /path?a=1 HTTP/1.1\r\nHost: x"});
    EXPECT_EQ(answered, 1);

    // Far more than any redirect, with no blank line: refused without asking the handler.
    const QByteArray refused = exchange(listener->port(), "GET /" + QByteArray(20000, 'a'), 1);
    EXPECT_TRUE(refused.startsWith("HTTP/1.1 431 ")) << refused.left(40).constData();
    EXPECT_EQ(heads.size(), 1);

    // Closed: nobody is listening any more.
    const quint16 port = listener->port();
    listener->close();
    QTcpSocket late;
    late.connectToHost(QStringLiteral("127.0.0.1"), port);
    EXPECT_FALSE(late.waitForConnected(500));
}

// A local program that holds more silent connections than the listener keeps, and opens a new
// one for each it loses, must not lock the browser's redirect out.
TEST(NetworkModule, TheListenerAnswersARequestWhileFortySilentConnectionsAreHeldAndRenewed)
{
    std::unique_ptr<LoopbackListener> listener = NetworkModule::shared()->makeLoopbackListener();
    ASSERT_TRUE(listener->listen([](const QByteArray&) { return LoopbackListener::Answer {"200 OK", "<p>hi</p>", {}}; }));
    std::vector<std::unique_ptr<QTcpSocket>> silent(40);
    int dropped = 0;
    const auto renew = [&] {
        for (std::unique_ptr<QTcpSocket>& socket : silent) {
            if (socket && socket->state() != QAbstractSocket::UnconnectedState) {
                continue;
            }
            dropped += socket ? 1 : 0;
            socket = std::make_unique<QTcpSocket>();
            socket->connectToHost(QStringLiteral("127.0.0.1"), listener->port());
        }
    };
    renew();
    const int overLimit = int(silent.size()) - LoopbackListener::maximumOpenConnections;
    ASSERT_TRUE(test::waitUntil([&] {
        renew();
        return dropped >= overLimit;
    },
        20000));

    const QByteArray reply = exchange(listener->port(), "GET /callback HTTP/1.1\r\nHost: x\r\n\r\n");
    EXPECT_TRUE(reply.startsWith("HTTP/1.1 200 OK\r\n")) << reply.constData();
}
