#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class QMessageBox;

namespace norvelle {

// Types the platform's paste chord into whatever window has the keyboard.
class KeystrokeSynthesizing {
public:
    virtual ~KeystrokeSynthesizing() = default;
    // Whether keystrokes can be synthesised at all.
    virtual bool isTrusted() = 0;
    // Tells the user what is missing for pasting to work.
    virtual void prompt() = 0;
    // Sends one paste keystroke.
    virtual void postPaste() = 0;
};

// Through the XTest extension of the X display. The paste chord is Shift+Insert: toolkits,
// browsers and terminals alike paste the clipboard with it. The chord waits (up to 2 s) for the
// user to let go of the modifier keys still held from the hot key, so they do not join it.
class KeystrokeSynthesizer : public QObject, public KeystrokeSynthesizing {
    Q_OBJECT
public:
    // On the X display the application runs on (none when it runs elsewhere).
    explicit KeystrokeSynthesizer(QObject* parent = nullptr);
    ~KeystrokeSynthesizer() override;

    bool isTrusted() override;
    void prompt() override;
    void postPaste() override;

    // Whether any Shift, Control, Alt or Super key is down right now.
    bool modifiersHeld() const;

private:
    void waitForReleasedModifiers(int attemptsLeft);
    void sendChord();
    void releaseChord();

    void* m_display = nullptr;
    bool m_chordHeld = false;
    QPointer<QMessageBox> m_notice;
};

} // namespace norvelle
