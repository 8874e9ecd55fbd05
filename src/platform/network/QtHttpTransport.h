#pragma once

#include "platform/HttpTransport.h"

#include <QNetworkAccessManager>

namespace norvelle {

class QtHttpTransport : public HttpTransport {
public:
    explicit QtHttpTransport(std::function<void()> returnFreedMemory);

    void send(const HttpRequest& request, int idleMs, int deadlineMs, std::function<void(HttpResult)> done) override;

private:
    QNetworkAccessManager m_manager;
    std::function<void()> m_returnFreedMemory;
};

} // namespace norvelle
