#include "platform/KeystrokeSynthesizer.h"

#include "platform/ApplicationDisplay.h"
#include "platform/SystemLog.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QTimer>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace norvelle {

namespace {

constexpr int modifierPollMs = 20;
constexpr int modifierWaitAttempts = 2000 / modifierPollMs;
constexpr int keyHoldMs = 50;

const SystemLog& log()
{
    static const SystemLog logger("paste");
    return logger;
}

} // namespace

// A connection of our own, so the keys can still be released after the toolkit has closed its.
KeystrokeSynthesizer::KeystrokeSynthesizer(QObject* parent)
    : QObject(parent)
    , m_display(openApplicationDisplay())
{
}

KeystrokeSynthesizer::~KeystrokeSynthesizer()
{
    // Never leave Shift and Insert held down in the X server when we go first.
    releaseChord();
    if (m_display) {
        XCloseDisplay(static_cast<Display*>(m_display));
    }
}

bool KeystrokeSynthesizer::isTrusted()
{
    if (!m_display) {
        return false;
    }
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    return XTestQueryExtension(static_cast<Display*>(m_display), &eventBase, &errorBase, &major, &minor);
}

void KeystrokeSynthesizer::prompt()
{
    if (m_notice) {
        m_notice->raise();
        return;
    }
    m_notice = new QMessageBox(QMessageBox::Information, "Norvelle",
        "Norvelle put the clip on the clipboard but cannot type the paste keystroke for you.",
        QMessageBox::Ok);
    m_notice->setInformativeText(m_display
            ? "The X server does not offer the XTest extension. Paste with Ctrl+V or Shift+Insert yourself."
            : "Pasting into other programs needs an X11 session (or XWayland). Paste with Ctrl+V yourself.");
    m_notice->setAttribute(Qt::WA_DeleteOnClose);
    m_notice->setModal(false);
    m_notice->show();
}

bool KeystrokeSynthesizer::modifiersHeld() const
{
    auto* display = static_cast<Display*>(m_display);
    if (!display) {
        return false;
    }
    char keys[32] = {};
    XQueryKeymap(display, keys);
    for (const KeySym sym : {XK_Shift_L, XK_Shift_R, XK_Control_L, XK_Control_R, XK_Alt_L, XK_Alt_R, XK_Super_L,
             XK_Super_R, XK_Meta_L, XK_Meta_R, XK_ISO_Level3_Shift}) {
        const KeyCode code = XKeysymToKeycode(display, sym);
        if (code != 0 && (keys[code / 8] & (1 << (code % 8)))) {
            return true;
        }
    }
    return false;
}

void KeystrokeSynthesizer::postPaste()
{
    if (!m_display) {
        return;
    }
    waitForReleasedModifiers(modifierWaitAttempts);
}

void KeystrokeSynthesizer::waitForReleasedModifiers(int attemptsLeft)
{
    if (attemptsLeft > 0 && modifiersHeld()) {
        QTimer::singleShot(modifierPollMs, this, [this, attemptsLeft] { waitForReleasedModifiers(attemptsLeft - 1); });
        return;
    }
    if (attemptsLeft == 0) {
        log().notice("Modifier keys still held after 2 s; pasting anyway");
    }
    sendChord();
}

void KeystrokeSynthesizer::sendChord()
{
    auto* display = static_cast<Display*>(m_display);
    const KeyCode shift = XKeysymToKeycode(display, XK_Shift_L);
    const KeyCode insert = XKeysymToKeycode(display, XK_Insert);
    if (shift == 0 || insert == 0) {
        log().error("The keyboard has no Shift or Insert key; nothing pasted");
        return;
    }
    XTestFakeKeyEvent(display, shift, True, CurrentTime);
    XTestFakeKeyEvent(display, insert, True, CurrentTime);
    XFlush(display);
    m_chordHeld = true;
    QTimer::singleShot(keyHoldMs, this, &KeystrokeSynthesizer::releaseChord);
}

void KeystrokeSynthesizer::releaseChord()
{
    if (!m_chordHeld) {
        return;
    }
    m_chordHeld = false;
    auto* display = static_cast<Display*>(m_display);
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, XK_Insert), False, CurrentTime);
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, XK_Shift_L), False, CurrentTime);
    XFlush(display);
}

} // namespace norvelle
