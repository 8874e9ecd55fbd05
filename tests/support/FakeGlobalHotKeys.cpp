#include "support/FakeGlobalHotKeys.h"

namespace norvelle::test {

void FakeGlobalHotKeys::setPressHandler(PressHandler handler)
{
    if (handler) {
        ++m_handlerInstallations;
    }
    m_handler = std::move(handler);
}

HotKeyRegistration FakeGlobalHotKeys::registerHotKey(int evdevKeyCode, Modifiers modifiers, quint32 identifier)
{
    m_attempts.append({evdevKeyCode, modifiers, identifier});
    if (m_noDisplay) {
        return {0, HotKeyError::noDisplay};
    }
    if (m_heldElsewhere.count({evdevKeyCode, modifiers})) {
        return {0, HotKeyError::heldByAnotherProgram};
    }
    const HotKeyRef ref = m_nextRef++;
    m_registered[ref] = {evdevKeyCode, modifiers, identifier};
    return {ref, HotKeyError::none};
}

void FakeGlobalHotKeys::unregisterHotKey(HotKeyRef ref)
{
    if (m_registered.erase(ref) > 0) {
        ++m_unregistrations;
    }
}

void FakeGlobalHotKeys::holdElsewhere(int keyCode, Modifiers modifiers)
{
    m_heldElsewhere.insert({keyCode, modifiers});
}

bool FakeGlobalHotKeys::press(int keyCode, Modifiers modifiers)
{
    for (const auto& [ref, hotKey] : m_registered) {
        if (hotKey.keyCode == keyCode && hotKey.modifiers == modifiers) {
            deliver(hotKey.identifier);
            return true;
        }
    }
    return false;
}

void FakeGlobalHotKeys::deliver(quint32 identifier)
{
    if (m_handler) {
        m_handler(identifier);
    }
}

QList<FakeGlobalHotKeys::Registered> FakeGlobalHotKeys::registered() const
{
    QList<Registered> list;
    for (const auto& [ref, hotKey] : m_registered) {
        list.append(hotKey);
    }
    return list;
}

} // namespace norvelle::test
