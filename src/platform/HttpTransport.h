#pragma once

#include "platform/HttpMessages.h"

#include <functional>

namespace norvelle {

// Sends HTTP requests over Qt's network stack; made by the network module.
class HttpTransport {
public:
    virtual ~HttpTransport() = default;

    // `done` runs once, later, on the thread that made the transport. Timeouts count from the
    // last bytes moved, as an idle limit.
    virtual void send(const HttpRequest& request, int timeoutMs, std::function<void(HttpResult)> done) = 0;
};

} // namespace norvelle
