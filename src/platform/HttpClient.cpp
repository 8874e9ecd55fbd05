#include "platform/HttpClient.h"

#include "platform/HttpTransport.h"
#include "platform/NetworkModule.h"

namespace norvelle {

HttpClient::HttpClient(int timeoutMs, QObject* parent)
    : QObject(parent)
    , m_timeoutMs(timeoutMs)
{
}

HttpClient::~HttpClient() = default;

HttpClient& HttpClient::shared()
{
    static HttpClient* client = new HttpClient();
    return *client;
}

void HttpClient::send(const HttpRequest& request, std::function<void(HttpResult)> done)
{
    // Made on the first request: a program that never goes online loads no network code.
    if (!m_transport) {
        if (NetworkModule* module = NetworkModule::shared()) {
            m_transport = module->makeHttpTransport();
        }
    }
    if (!m_transport) {
        QMetaObject::invokeMethod(this, [done = std::move(done)] {
            done(HttpError{HttpError::Kind::cannotConnect, QStringLiteral("Norvelle’s network part is missing, so the server can’t be reached.")});
        }, Qt::QueuedConnection);
        return;
    }
    m_transport->send(request, m_timeoutMs, std::move(done));
}

} // namespace norvelle
