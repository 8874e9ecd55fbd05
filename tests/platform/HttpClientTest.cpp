#include "platform/HttpClient.h"

#include "support/LoopbackApiServer.h"
#include "support/TestHome.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <gtest/gtest.h>

using namespace norvelle;
using test::ScriptedReply;

namespace {

struct Exchange {
    // Long enough that a loaded machine turns no answer into a timeout.
    explicit Exchange(int timeoutMs = 5000, int deadlineMs = 20000)
        : client(timeoutMs, deadlineMs)
    {
    }

    test::LoopbackApiServer server;
    HttpClient client;

    HttpResult send(HttpRequest request, const QString& path = "/x")
    {
        if (request.url.isEmpty()) {
            request.url = server.baseURL().resolved(QUrl(path));
        }
        std::optional<HttpResult> result;
        client.send(request, [&](HttpResult r) { result = std::move(r); });
        EXPECT_TRUE(test::waitUntil([&] { return result.has_value(); }, 10000));
        return result.value_or(HttpResult(HttpError {HttpError::Kind::transferFailed, {}}));
    }

    std::optional<HttpError::Kind> errorOf(const HttpResult& result)
    {
        const HttpError* error = std::get_if<HttpError>(&result);
        return error ? std::optional(error->kind) : std::nullopt;
    }
};

} // namespace

TEST(HttpClient, GivesBackEveryStatusWithItsBodyAndSendsWhatItIsGiven)
{
    Exchange e;
    e.server.reply("/x", ScriptedReply::raw(404, "missing"));
    e.server.reply("/x", ScriptedReply::raw(500, "boom"));
    e.server.reply("/x", ScriptedReply::raw(204, ""));
    HttpRequest request;
    request.method = "POST";
    request.body = "{\"a\":1}";
    request.headers.append({QByteArray("Content-Type"), QByteArray("application/json")});
    for (const auto& [status, body] : {std::pair {404, QByteArray("missing")}, {500, "boom"}, {204, ""}}) {
        const HttpResult result = e.send(request);
        ASSERT_TRUE(std::holds_alternative<HttpResponse>(result));
        EXPECT_EQ(std::get<HttpResponse>(result).status, status);
        EXPECT_EQ(std::get<HttpResponse>(result).body, body);
    }
    const test::RecordedRequest sent = e.server.requests().first();
    EXPECT_EQ(sent.method, "POST");
    EXPECT_EQ(sent.body, "{\"a\":1}");
    EXPECT_EQ(sent.header("content-type"), "application/json");
}

TEST(HttpClient, ARedirectIsAnAnswerNeverFollowed)
{
    Exchange e;
    ScriptedReply redirect = ScriptedReply::raw(302, "");
    redirect.headers.append({QByteArray("Location"), QByteArray("http://127.0.0.1:1/elsewhere")});
    e.server.reply("/x", redirect);
    const HttpResult result = e.send({});
    ASSERT_TRUE(std::holds_alternative<HttpResponse>(result));
    EXPECT_EQ(std::get<HttpResponse>(result).status, 302);
    EXPECT_EQ(e.server.requests().size(), 1);
}

TEST(HttpClient, BrokenAnswersAreErrors)
{
    Exchange e;
    ScriptedReply truncated = ScriptedReply::raw(200, QByteArray(4000, 'x'));
    truncated.mode = ScriptedReply::Mode::truncated;
    e.server.reply("/cut", truncated);
    ScriptedReply garbage;
    garbage.mode = ScriptedReply::Mode::notHttp;
    e.server.reply("/garbage", garbage);
    EXPECT_EQ(e.errorOf(e.send({}, "/cut")), HttpError::Kind::transferFailed);
    EXPECT_EQ(e.errorOf(e.send({}, "/garbage")), HttpError::Kind::notHttp);

    Exchange impatient(500);
    ScriptedReply silent;
    silent.mode = ScriptedReply::Mode::never;
    impatient.server.reply("/silent", silent);
    ScriptedReply slow = ScriptedReply::raw(200, "late");
    slow.delayMs = 1500;
    impatient.server.reply("/slow", slow);
    EXPECT_EQ(impatient.errorOf(impatient.send({}, "/silent")), HttpError::Kind::timedOut);
    EXPECT_EQ(impatient.errorOf(impatient.send({}, "/slow")), HttpError::Kind::timedOut);
}

TEST(HttpClient, RefusesAnswersBeyondTheRequestsMaximum)
{
    Exchange e;
    e.server.reply("/big", ScriptedReply::raw(200, QByteArray(2048, 'x')));
    HttpRequest request;
    request.maximumReplyBytes = 2047;
    EXPECT_EQ(e.errorOf(e.send(request, "/big")), HttpError::Kind::replyTooLarge);
    request.maximumReplyBytes = 2048;
    EXPECT_FALSE(e.errorOf(e.send(request, "/big")));
}

TEST(HttpClient, NoServerIsCannotConnect)
{
    Exchange e;
    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost, 0);
    const quint16 port = closed.serverPort();
    closed.close();
    HttpRequest request;
    request.url = QUrl(QString("http://127.0.0.1:%1/x").arg(port));
    EXPECT_EQ(e.errorOf(e.send(request)), HttpError::Kind::cannotConnect);
}

TEST(HttpClient, AHeaderWithAControlCharacterIsNeverSent)
{
    Exchange e;
    e.server.replyAlways("/x", ScriptedReply::raw(200, "ok"));
    for (const QByteArray& value : {QByteArray("Bearer abc\r\nX-Injected: 1"), QByteArray("Bearer abc\n"),
             QByteArray("a\0b", 3), QByteArray("tab\there"), QByteArray("del\x7f")}) {
        HttpRequest request;
        request.headers.append({QByteArray("Authorization"), value});
        EXPECT_EQ(e.errorOf(e.send(request)), HttpError::Kind::unsafeRequest) << value.constData();
    }
    HttpRequest request;
    request.headers.append({QByteArray("X-Bad\r\nName"), QByteArray("v")});
    EXPECT_EQ(e.errorOf(e.send(request)), HttpError::Kind::unsafeRequest);
    EXPECT_TRUE(e.server.requests().isEmpty());
}

TEST(HttpClient, AnAnswerTricklingInStillEndsAtTheDeadline)
{
    // One byte every 100 ms keeps a 1 s idle timer from ever firing.
    Exchange e(1000, 2000);
    ScriptedReply trickle = ScriptedReply::raw(200, QByteArray(600, 'x'));
    trickle.mode = ScriptedReply::Mode::trickle;
    e.server.reply("/slow", trickle);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(e.errorOf(e.send({}, "/slow")), HttpError::Kind::timedOut);
    EXPECT_LT(clock.elapsed(), 30000) << "the whole answer takes a minute";
}
