#pragma once

#include "platform/GlobalHotKeys.h"
#include "platform/SystemLog.h"

#include <QAbstractNativeEventFilter>

#include <map>
#include <vector>

namespace norvelle {

// Hot keys as passive key grabs on the root window of the X display Qt is connected to; the
// presses arrive among Qt's own X events and are picked out by a native event filter.
class X11GlobalHotKeys : public GlobalHotKeys, private QAbstractNativeEventFilter {
public:
    X11GlobalHotKeys();
    ~X11GlobalHotKeys() override;

    void setPressHandler(PressHandler handler) override;
    HotKeyRegistration registerHotKey(int evdevKeyCode, Modifiers modifiers, quint32 identifier) override;
    void unregisterHotKey(HotKeyRef ref) override;

private:
    struct Grab {
        quint32 keycode = 0;
        quint32 modifierMask = 0;
        std::vector<quint32> grabbedMasks; // the mask with every Num Lock / Caps Lock variant
        quint32 identifier = 0;
        bool held = false;
        quint32 lastReleaseTime = 0;
    };

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
    void installFilterIfNeeded();
    void handleKey(bool pressed, quint32 keycode, quint32 state, quint32 time, bool* consumed);

    PressHandler m_handler;
    std::map<HotKeyRef, Grab> m_grabs;
    HotKeyRef m_nextRef = 1;
    bool m_filterInstalled = false;
    bool m_reportedNoDisplay = false;
    SystemLog m_log;
};

} // namespace norvelle
