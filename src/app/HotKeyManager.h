#pragma once

// The three system-wide hot keys of the shortcut profile. At launch the application sets the
// trigger and registers; each "norvelleShortcutsChanged" registers again from the new profile:
//
//   HotKeyManager& hotKeys = HotKeyManager::shared();
//   hotKeys.onTrigger = [delegate = QPointer(this)](NorvelleShortcutAction action) {
//       if (delegate) { delegate->perform(action); } // runs on the main thread
//   };
//   hotKeys.registerAll();
//   NotificationCenter::defaultCenter().addObserver(shortcutsChangedNotification(), this,
//       [](const Notification&) { HotKeyManager::shared().registerAll(); });
//
// A key another program holds leaves its action without a hot key until the next pass; with
// no X display nothing is registered and the program runs on without hot keys.

#include "core/NorvelleShortcutAction.h"
#include "core/ShortcutModifierFlags.h"
#include "platform/GlobalHotKeys.h"

#include <QChar>
#include <QMap>
#include <QObject>

#include <functional>
#include <map>
#include <vector>

namespace norvelle {

class HotKeyManager {
public:
    // Over the X display's hot keys; kept for the life of the process.
    static HotKeyManager& shared();

    explicit HotKeyManager(GlobalHotKeys& hotKeys);
    // Releases its hot keys and stops receiving presses.
    ~HotKeyManager();
    HotKeyManager(const HotKeyManager&) = delete;
    HotKeyManager& operator=(const HotKeyManager&) = delete;

    // What a press does; always called on the main thread.
    std::function<void(NorvelleShortcutAction)> onTrigger;

    // Routes presses to this manager; does so once, however often it is called.
    void installHandlerIfNeeded();
    // Releases every hot key this manager registered and forgets them.
    void unregisterAll();
    // Registers `action`'s hot key as the stored profile says. A refused registration leaves
    // the action without a hot key; its identifier is used up all the same.
    void registerAction(NorvelleShortcutAction action);
    // A whole pass: install the handler once, unregister all, register each action in order.
    void registerAll();
    // A press of the hot key registered under `identifier`: the action's trigger is queued to
    // the main thread; an identifier no longer registered does nothing.
    void handleHotKeyEvent(quint32 identifier);

    // The identifier the next registration attempt takes (starts at 1, never reused).
    quint32 nextId() const { return m_nextId; }
    // Registered identifiers and their actions.
    const std::map<quint32, NorvelleShortcutAction>& idToAction() const { return m_idToAction; }
    // The actions of the last pass whose key combination another program holds, in order.
    const std::vector<NorvelleShortcutAction>& heldElsewhere() const { return m_heldElsewhere; }

    // a-z to the evdev code of the key at that letter's US (ANSI) position.
    static const QMap<QChar, int>& letterKeyCodes();
    // Super always, plus Shift, Alt and Ctrl as the flags say.
    static GlobalHotKeys::Modifiers hotKeyModifiers(ShortcutModifierFlags flags);

private:
    GlobalHotKeys& m_hotKeys;
    std::vector<HotKeyRef> m_refs;
    std::map<quint32, NorvelleShortcutAction> m_idToAction;
    std::vector<NorvelleShortcutAction> m_heldElsewhere;
    quint32 m_nextId = 1;
    bool m_handlerInstalled = false;
    QObject m_lifetime; // bounds queued triggers to the manager's life
};

} // namespace norvelle
