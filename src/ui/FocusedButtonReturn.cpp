#include "ui/FocusedButtonReturn.h"

#include "ui/KeyboardFocusMark.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QPointer>

namespace norvelle {

namespace {

bool isPlainReturn(const QKeyEvent& key)
{
    // Enter on the keypad comes with the keypad modifier.
    return (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter)
        && (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

class FocusedButtonReturn : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress) {
            return false;
        }
        auto* button = qobject_cast<QAbstractButton*>(watched);
        if (!button || !button->isEnabled() || !showsKeyboardFocus(*button) || !isPlainReturn(*static_cast<QKeyEvent*>(event))) {
            return false;
        }
        // Taking the override keeps a window's Return shortcut from firing; the press follows.
        event->accept();
        if (event->type() == QEvent::KeyPress) {
            button->click();
        }
        return true;
    }
};

} // namespace

void pressFocusedButtonOnReturn()
{
    // Which button the keyboard chose is the focus mark's to tell.
    markKeyboardFocus();
    static QPointer<FocusedButtonReturn> filter;
    if (!filter) {
        filter = new FocusedButtonReturn(qApp);
        qApp->installEventFilter(filter);
    }
}

} // namespace norvelle
