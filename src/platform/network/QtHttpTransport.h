#pragma once

#include "platform/HttpTransport.h"

#include <QNetworkAccessManager>

namespace norvelle {

class QtHttpTransport : public HttpTransport {
public:
    void send(const HttpRequest& request, int idleMs, int deadlineMs, std::function<void(HttpResult)> done) override;

private:
    QNetworkAccessManager m_manager;
};

} // namespace norvelle
