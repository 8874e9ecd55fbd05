#include "app/HotKeyManager.h"

#include "core/NorvelleShortcutsProfile.h"
#include "platform/MainQueue.h"

#include <linux/input-event-codes.h>

namespace norvelle {

HotKeyManager& HotKeyManager::shared()
{
    static auto* manager = new HotKeyManager(GlobalHotKeys::system());
    return *manager;
}

HotKeyManager::HotKeyManager(GlobalHotKeys& hotKeys)
    : m_hotKeys(hotKeys)
{
}

HotKeyManager::~HotKeyManager()
{
    unregisterAll();
    if (m_handlerInstalled) {
        m_hotKeys.setPressHandler({});
    }
}

const QMap<QChar, int>& HotKeyManager::letterKeyCodes()
{
    static const QMap<QChar, int> codes {
        {u'a', KEY_A},
        {u'b', KEY_B},
        {u'c', KEY_C},
        {u'd', KEY_D},
        {u'e', KEY_E},
        {u'f', KEY_F},
        {u'g', KEY_G},
        {u'h', KEY_H},
        {u'i', KEY_I},
        {u'j', KEY_J},
        {u'k', KEY_K},
        {u'l', KEY_L},
        {u'm', KEY_M},
        {u'n', KEY_N},
        {u'o', KEY_O},
        {u'p', KEY_P},
        {u'q', KEY_Q},
        {u'r', KEY_R},
        {u's', KEY_S},
        {u't', KEY_T},
        {u'u', KEY_U},
        {u'v', KEY_V},
        {u'w', KEY_W},
        {u'x', KEY_X},
        {u'y', KEY_Y},
        {u'z', KEY_Z},
    };
    return codes;
}

GlobalHotKeys::Modifiers HotKeyManager::hotKeyModifiers(ShortcutModifierFlags flags)
{
    GlobalHotKeys::Modifiers modifiers = GlobalHotKeys::super;
    if (flags & ShortcutModifier::shift) {
        modifiers |= GlobalHotKeys::shift;
    }
    if (flags & ShortcutModifier::option) {
        modifiers |= GlobalHotKeys::alt;
    }
    if (flags & ShortcutModifier::control) {
        modifiers |= GlobalHotKeys::control;
    }
    return modifiers;
}

void HotKeyManager::installHandlerIfNeeded()
{
    if (m_handlerInstalled) {
        return;
    }
    m_handlerInstalled = true;
    m_hotKeys.setPressHandler([this](quint32 identifier) { handleHotKeyEvent(identifier); });
}

void HotKeyManager::unregisterAll()
{
    for (HotKeyRef ref : m_refs) {
        m_hotKeys.unregisterHotKey(ref);
    }
    m_refs.clear();
    m_idToAction.clear();
    m_heldElsewhere.clear();
}

void HotKeyManager::registerAction(NorvelleShortcutAction action)
{
    const EffectiveShortcut shortcut = loadShortcutsProfile().effectiveShortcut(action);
    if (shortcut.letter.size() != 1) {
        return;
    }
    const auto keyCode = letterKeyCodes().constFind(shortcut.letter.at(0));
    if (keyCode == letterKeyCodes().constEnd()) {
        return;
    }
    const quint32 identifier = m_nextId++;
    const HotKeyRegistration registration = m_hotKeys.registerHotKey(*keyCode, hotKeyModifiers(shortcut.flags), identifier);
    if (registration.succeeded()) {
        m_refs.push_back(registration.ref);
        m_idToAction[identifier] = action;
    } else if (registration.error == HotKeyError::heldByAnotherProgram) {
        m_heldElsewhere.push_back(action);
    }
}

void HotKeyManager::registerAll()
{
    installHandlerIfNeeded();
    unregisterAll();
    for (NorvelleShortcutAction action : allShortcutActions()) {
        registerAction(action);
    }
}

void HotKeyManager::handleHotKeyEvent(quint32 identifier)
{
    const auto found = m_idToAction.find(identifier);
    if (found == m_idToAction.end()) {
        return;
    }
    const NorvelleShortcutAction action = found->second;
    MainQueue::async(
        [this, action] {
            if (onTrigger) {
                onTrigger(action);
            }
        },
        &m_lifetime);
}

} // namespace norvelle
