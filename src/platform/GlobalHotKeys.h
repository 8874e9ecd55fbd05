#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

namespace norvelle {

// Why a hot key could not be registered.
enum class HotKeyError {
    none,
    noDisplay, // no X display (offscreen, or Wayland without XWayland)
    heldByAnotherProgram,
    unknownKey, // the key code has no key on this keyboard
};

QString hotKeyErrorMessage(HotKeyError error);

// A registered hot key; 0 is never one.
using HotKeyRef = quint64;

struct HotKeyRegistration {
    HotKeyRef ref = 0;
    HotKeyError error = HotKeyError::none;

    bool succeeded() const { return error == HotKeyError::none; }
};

// System-wide hot keys: a key combination that reaches this program whichever window has the
// keyboard. A key is named by its Linux input (evdev) code, so a hot key follows the physical
// key whatever keyboard layout is active. Main thread only.
class GlobalHotKeys {
public:
    enum Modifier : quint32 {
        shift = 1 << 0,
        control = 1 << 1,
        alt = 1 << 2,
        super = 1 << 3,
    };
    using Modifiers = quint32;
    // Receives the identifier given at registration, on the main thread.
    using PressHandler = std::function<void(quint32 identifier)>;

    virtual ~GlobalHotKeys() = default;

    // The hot keys of the X display the application runs on.
    static GlobalHotKeys& system();

    // Replaces the handler that receives every press of a registered hot key.
    virtual void setPressHandler(PressHandler handler) = 0;

    // Grabs `modifiers` + the key whatever the state of Num Lock and Caps Lock. A combination
    // another program holds is refused, and then nothing of it stays grabbed.
    virtual HotKeyRegistration registerHotKey(int evdevKeyCode, Modifiers modifiers, quint32 identifier) = 0;

    virtual void unregisterHotKey(HotKeyRef ref) = 0;
};

} // namespace norvelle
