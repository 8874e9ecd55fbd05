#include "platform/X11GlobalHotKeys.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <xcb/xproto.h>

#include <algorithm>
#include <optional>

namespace norvelle {

namespace {

// X keycodes are the kernel's input codes shifted by 8.
constexpr int evdevToXKeycodeOffset = 8;

// The modifiers a hot key is told apart by; lock keys and the rest are ignored.
constexpr quint32 significantModifiers = ShiftMask | ControlMask | Mod1Mask | Mod4Mask;

Display* qtDisplay()
{
    auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!application) {
        return nullptr;
    }
    auto* x11 = application->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->display() : nullptr;
}

quint32 xModifierMask(GlobalHotKeys::Modifiers modifiers)
{
    quint32 mask = 0;
    if (modifiers & GlobalHotKeys::shift) {
        mask |= ShiftMask;
    }
    if (modifiers & GlobalHotKeys::control) {
        mask |= ControlMask;
    }
    if (modifiers & GlobalHotKeys::alt) {
        mask |= Mod1Mask;
    }
    if (modifiers & GlobalHotKeys::super) {
        mask |= Mod4Mask;
    }
    return mask;
}

// The modifier bit Num Lock sets on this display's keymap (usually Mod2), or 0.
quint32 numLockMask(Display* display)
{
    const KeyCode numLock = XKeysymToKeycode(display, XK_Num_Lock);
    XModifierKeymap* map = XGetModifierMapping(display);
    quint32 mask = 0;
    if (map && numLock != 0) {
        for (int modifier = 0; modifier < 8 && mask == 0; ++modifier) {
            for (int i = 0; i < map->max_keypermod; ++i) {
                if (map->modifiermap[modifier * map->max_keypermod + i] == numLock) {
                    mask = 1u << modifier;
                    break;
                }
            }
        }
    }
    if (map) {
        XFreeModifiermap(map);
    }
    return mask;
}

std::vector<quint32> lockVariants(quint32 mask, quint32 numLock)
{
    std::vector<quint32> masks {mask, mask | numLock, mask | LockMask, mask | numLock | LockMask};
    std::sort(masks.begin(), masks.end());
    masks.erase(std::unique(masks.begin(), masks.end()), masks.end());
    return masks;
}

// Set while a grab is being checked: the error handler has no user data.
bool grabRefused = false;

int recordGrabError(Display*, XErrorEvent* event)
{
    if (event->error_code == BadAccess) {
        grabRefused = true;
    }
    return 0;
}

void ungrab(Display* display, quint32 keycode, const std::vector<quint32>& masks)
{
    const Window root = DefaultRootWindow(display);
    for (quint32 mask : masks) {
        XUngrabKey(display, int(keycode), mask, root);
    }
    // Sent is not yet done: the server may still take another program's grab of the key first.
    XSync(display, False);
}

} // namespace

X11GlobalHotKeys::X11GlobalHotKeys()
    : m_log(QStringLiteral("hotkeys"))
{
}

X11GlobalHotKeys::~X11GlobalHotKeys()
{
    if (m_filterInstalled && QCoreApplication::instance()) {
        QCoreApplication::instance()->removeNativeEventFilter(this);
    }
}

void X11GlobalHotKeys::setPressHandler(PressHandler handler)
{
    m_handler = std::move(handler);
    installFilterIfNeeded();
}

void X11GlobalHotKeys::installFilterIfNeeded()
{
    if (!m_filterInstalled && QCoreApplication::instance()) {
        QCoreApplication::instance()->installNativeEventFilter(this);
        m_filterInstalled = true;
    }
}

HotKeyRegistration X11GlobalHotKeys::registerHotKey(int evdevKeyCode, Modifiers modifiers, quint32 identifier)
{
    Display* display = qtDisplay();
    if (!display) {
        if (!m_reportedNoDisplay) {
            m_reportedNoDisplay = true;
            m_log.notice(hotKeyErrorMessage(HotKeyError::noDisplay));
        }
        return {0, HotKeyError::noDisplay};
    }
    int minKeycode = 0;
    int maxKeycode = 0;
    XDisplayKeycodes(display, &minKeycode, &maxKeycode);
    const int keycode = evdevKeyCode + evdevToXKeycodeOffset;
    if (evdevKeyCode <= 0 || keycode < minKeycode || keycode > maxKeycode) {
        return {0, HotKeyError::unknownKey};
    }
    installFilterIfNeeded();

    const quint32 mask = xModifierMask(modifiers);
    const std::vector<quint32> masks = lockVariants(mask, numLockMask(display));
    const Window root = DefaultRootWindow(display);

    // A grab another client holds fails with BadAccess, reported asynchronously: sync first so
    // only our own grabs' errors reach the temporary handler, and sync again to collect them.
    XSync(display, False);
    grabRefused = false;
    XErrorHandler previous = XSetErrorHandler(recordGrabError);
    for (quint32 variant : masks) {
        XGrabKey(display, keycode, variant, root, False, GrabModeAsync, GrabModeAsync);
    }
    XSync(display, False);
    XSetErrorHandler(previous);
    if (grabRefused) {
        ungrab(display, quint32(keycode), masks);
        return {0, HotKeyError::heldByAnotherProgram};
    }

    const HotKeyRef ref = m_nextRef++;
    m_grabs[ref] = Grab {quint32(keycode), mask, masks, identifier};
    return {ref, HotKeyError::none};
}

void X11GlobalHotKeys::unregisterHotKey(HotKeyRef ref)
{
    const auto grab = m_grabs.find(ref);
    if (grab == m_grabs.end()) {
        return;
    }
    if (Display* display = qtDisplay()) {
        ungrab(display, grab->second.keycode, grab->second.grabbedMasks);
    }
    m_grabs.erase(grab);
}

bool X11GlobalHotKeys::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t" || m_grabs.empty()) {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const quint8 type = event->response_type & 0x7f;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE) {
        return false;
    }
    const auto* key = static_cast<const xcb_key_press_event_t*>(message);
    bool consumed = false;
    handleKey(type == XCB_KEY_PRESS, key->detail, key->state, key->time, &consumed);
    return consumed;
}

void X11GlobalHotKeys::handleKey(bool pressed, quint32 keycode, quint32 state, quint32 time, bool* consumed)
{
    std::optional<quint32> fired;
    for (auto& [ref, grab] : m_grabs) {
        if (grab.keycode != keycode) {
            continue;
        }
        const bool modifiersMatch = (state & significantModifiers) == grab.modifierMask;
        if (!pressed) {
            // Modifiers may already be up when a hot key is released, so a held hot key takes
            // its release whatever they are; a release typed into our own windows passes on.
            if (grab.held || modifiersMatch) {
                *consumed = true;
            }
            grab.held = false;
            grab.lastReleaseTime = time;
            continue;
        }
        if (!modifiersMatch) {
            continue;
        }
        *consumed = true;
        // Auto-repeat: either presses without releases, or a release and a press that share
        // one timestamp. Only the first press of a hold counts.
        const bool repeat = grab.held || (grab.lastReleaseTime != 0 && grab.lastReleaseTime == time);
        grab.held = true;
        if (!repeat) {
            fired = grab.identifier;
        }
    }
    if (fired && m_handler) {
        m_handler(*fired);
    }
}

} // namespace norvelle
