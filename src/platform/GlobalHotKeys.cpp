#include "platform/GlobalHotKeys.h"

#include "platform/X11GlobalHotKeys.h"

namespace norvelle {

QString hotKeyErrorMessage(HotKeyError error)
{
    switch (error) {
    case HotKeyError::none:
        return {};
    case HotKeyError::noDisplay:
        return QStringLiteral("Global hot keys need an X display, and none is available.");
    case HotKeyError::heldByAnotherProgram:
        return QStringLiteral("Another program already uses this key combination.");
    case HotKeyError::unknownKey:
        return QStringLiteral("This keyboard has no such key.");
    }
    return {};
}

GlobalHotKeys& GlobalHotKeys::system()
{
    // Kept for the life of the process: grabs last until it ends.
    static auto* hotKeys = new X11GlobalHotKeys;
    return *hotKeys;
}

} // namespace norvelle
