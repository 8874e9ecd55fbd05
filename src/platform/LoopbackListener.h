#pragma once

#include <QByteArray>

#include <functional>

namespace norvelle {

// An HTTP listener on 127.0.0.1 at a port the system picks; made by the network module. Each
// connection's request head (up to its blank line) goes to the handler, whose answer is sent
// before the connection is closed; a head too long for any redirect is refused. Any program on
// this computer may connect: a connection is dropped once it has been open for
// connectionDeadlineMs, and only so many wait at once (the oldest is dropped to make room).
class LoopbackListener {
public:
    struct Answer {
        QByteArray status; // "200 OK"
        QByteArray body; // an HTML page
        // Runs once the answer is on its way; it may close or destroy the listener.
        std::function<void()> then;
    };
    using Handler = std::function<Answer(const QByteArray& head)>;

    virtual ~LoopbackListener() = default;

    virtual bool listen(Handler handler) = 0;
    virtual quint16 port() const = 0;
    // Takes no more connections and drops those still waiting for an answer; one already
    // answered finishes sending it.
    virtual void close() = 0;

    static constexpr int connectionDeadlineMs = 5000;
    static constexpr int maximumOpenConnections = 32;
};

} // namespace norvelle
