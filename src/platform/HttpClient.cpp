#include "platform/HttpClient.h"

#include "platform/FreedMemory.h"
#include "platform/HttpTransport.h"
#include "platform/NetworkModule.h"

#include <algorithm>

namespace norvelle {

HttpClient::HttpClient(int timeoutMs, int deadlineMs, QObject* parent)
    : QObject(parent)
    , m_timeoutMs(timeoutMs)
    , m_deadlineMs(deadlineMs)
{
}

HttpClient::~HttpClient() = default;

HttpClient& HttpClient::shared()
{
    static HttpClient* client = new HttpClient();
    return *client;
}

namespace {

// A line break in a header would start a header, or a request, of the sender's choosing.
bool hasControlCharacter(const QByteArray& text)
{
    return std::any_of(text.begin(), text.end(), [](char c) { return (c >= 0 && c < 0x20) || c == 0x7f; });
}

void answerLater(HttpClient* client, std::function<void(HttpResult)> done, HttpError error)
{
    QMetaObject::invokeMethod(
        client, [done = std::move(done), error = std::move(error)] { done(error); }, Qt::QueuedConnection);
}

} // namespace

void HttpClient::send(const HttpRequest& request, std::function<void(HttpResult)> done)
{
    for (const auto& [name, value] : request.headers) {
        if (hasControlCharacter(name) || hasControlCharacter(value)) {
            answerLater(this, std::move(done),
                HttpError {HttpError::Kind::unsafeRequest, QStringLiteral("The request held characters a web request can’t carry, so it wasn’t sent.")});
            return;
        }
    }
    // Made on the first request: a program that never goes online loads no network code.
    if (!m_transport) {
        if (NetworkModule* module = NetworkModule::shared()) {
            m_transport = module->makeHttpTransport(returnFreedMemory);
        }
    }
    if (!m_transport) {
        answerLater(this, std::move(done),
            HttpError {HttpError::Kind::cannotConnect, QStringLiteral("Norvelle’s network part is missing, so the server can’t be reached.")});
        return;
    }
    m_transport->send(request, m_timeoutMs, m_deadlineMs, std::move(done));
}

} // namespace norvelle
