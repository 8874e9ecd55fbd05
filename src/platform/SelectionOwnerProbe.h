#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <array>
#include <functional>
#include <memory>

class QSocketNotifier;

namespace norvelle {

// Asks the program that holds the CLIPBOARD selection for its list of types, over an X
// connection of our own and without waiting for it: a program that took the clipboard and
// never answers would otherwise hold every read of it for seconds. Main thread only.
class SelectionOwnerProbe : public QObject {
    Q_OBJECT
public:
    explicit SelectionOwnerProbe(QObject* parent = nullptr);
    ~SelectionOwnerProbe() override;

    // Calls `done` with whether the owner answered (its types, or a refusal) within
    // `timeoutMs`; never when `context` has gone. A new ask drops the one still waiting.
    // Without an X display there is nobody to ask: `done(true)` at once.
    void ask(QObject* context, std::function<void(bool answered)> done, int timeoutMs);

private:
    void readEvents();
    void finish(bool answered);

    void* m_display = nullptr;
    unsigned long m_clipboard = 0; // atoms
    unsigned long m_targets = 0;
    unsigned long m_property = 0;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::array<unsigned long, 4> m_requestors {}; // made as first needed
    std::size_t m_nextRequestor = 0;
    unsigned long m_requestor = 0; // the window the awaited answer goes to; 0 when none is awaited
    QPointer<QObject> m_context;
    std::function<void(bool)> m_done;
    QTimer m_timeout;
};

} // namespace norvelle
