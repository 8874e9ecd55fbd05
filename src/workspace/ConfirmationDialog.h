#pragma once

#include <QString>

#include <functional>

class QMessageBox;
class QWidget;

namespace norvelle {

// Asks before something that cannot be undone: a sheet over `parent`, in its look, with the title, the
// message, the destructive button and "Cancel". `onConfirm` runs only after the destructive
// button; the dialog goes away after either button. Returns the open dialog.
QMessageBox* askToConfirm(QWidget* parent, const QString& title, const QString& message,
    const QString& confirmText, std::function<void()> onConfirm);

} // namespace norvelle
