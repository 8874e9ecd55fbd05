#pragma once

#include <QString>

#include <functional>

class QMessageBox;
class QWidget;

namespace norvelle {

// Asks before something that cannot be undone: a sheet over `parent`, in its look, with the
// question, the message, the destructive button and "Cancel". The window's title is the short
// `windowTitle`, which a window manager's title bar shows whole. `onConfirm` runs only after the
// destructive button; the dialog goes away after either button. Returns the open dialog.
QMessageBox* askToConfirm(QWidget* parent, const QString& windowTitle, const QString& question,
    const QString& message, const QString& confirmText, std::function<void()> onConfirm);

} // namespace norvelle
