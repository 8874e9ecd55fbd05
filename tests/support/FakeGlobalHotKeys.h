#pragma once

#include "platform/GlobalHotKeys.h"

#include <QList>

#include <map>
#include <optional>
#include <set>
#include <utility>

namespace norvelle::test {

// Hot keys without a display: records what is registered, refuses the combinations a test
// says another program holds, and delivers presses on request.
class FakeGlobalHotKeys : public GlobalHotKeys {
public:
    struct Registered {
        int keyCode;
        Modifiers modifiers;
        quint32 identifier;
    };

    void setPressHandler(PressHandler handler) override;
    HotKeyRegistration registerHotKey(int evdevKeyCode, Modifiers modifiers, quint32 identifier) override;
    void unregisterHotKey(HotKeyRef ref) override;

    // Later registrations of this combination are refused as held by another program.
    void holdElsewhere(int keyCode, Modifiers modifiers);
    // Every registration attempt fails as if there were no display.
    void setNoDisplay(bool noDisplay) { m_noDisplay = noDisplay; }

    // A press of the combination: delivered when it is registered; returns whether it was.
    bool press(int keyCode, Modifiers modifiers);
    // A press carrying `identifier` straight to the handler, registered or not.
    void deliver(quint32 identifier);

    QList<Registered> registered() const;
    // Every attempt, refused ones included, in order.
    QList<Registered> attempts() const { return m_attempts; }
    int handlerInstallations() const { return m_handlerInstallations; }
    int unregistrations() const { return m_unregistrations; }

private:
    PressHandler m_handler;
    std::map<HotKeyRef, Registered> m_registered;
    QList<Registered> m_attempts;
    std::set<std::pair<int, Modifiers>> m_heldElsewhere;
    HotKeyRef m_nextRef = 1;
    int m_handlerInstallations = 0;
    int m_unregistrations = 0;
    bool m_noDisplay = false;
};

} // namespace norvelle::test
