#pragma once

#include "platform/HttpMessages.h"

#include <QObject>

#include <functional>
#include <memory>

namespace norvelle {

class HttpTransport;

// Asynchronous HTTP(S) over Qt's network stack, on the thread that owns the client (the main
// thread in the program). A request fails as timed out when nothing moves for the idle timeout,
// and in any case once the deadline has passed since it was sent.
class HttpClient : public QObject {
    Q_OBJECT
public:
    static constexpr int defaultTimeoutMs = 60'000;

    explicit HttpClient(int timeoutMs = defaultTimeoutMs, int deadlineMs = defaultTimeoutMs, QObject* parent = nullptr);
    ~HttpClient() override;

    // The program's client, on the main thread.
    static HttpClient& shared();

    // Sends the request; `done` runs once, later, on the client's thread.
    void send(const HttpRequest& request, std::function<void(HttpResult)> done);

    int timeoutMs() const { return m_timeoutMs; }

private:
    std::unique_ptr<HttpTransport> m_transport;
    int m_timeoutMs;
    int m_deadlineMs;
};

} // namespace norvelle
