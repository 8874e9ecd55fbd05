#pragma once

#include "platform/HttpMessages.h"

#include <functional>

namespace norvelle {

// Sends HTTP requests over Qt's network stack; made by the network module.
class HttpTransport {
public:
    virtual ~HttpTransport() = default;

    // `done` runs once, later, on the thread that made the transport. `idleMs` counts from the
    // last bytes moved; `deadlineMs` from the start, however busy the transfer.
    virtual void send(const HttpRequest& request, int idleMs, int deadlineMs, std::function<void(HttpResult)> done) = 0;
};

} // namespace norvelle
