#include "workspace/ConfirmationDialog.h"

#include "ui/SchemePalette.h"

#include <QMessageBox>
#include <QPushButton>

namespace norvelle {

QMessageBox* askToConfirm(QWidget* parent, const QString& windowTitle, const QString& question, const QString& message,
    const QString& confirmText, std::function<void()> onConfirm)
{
    auto* dialog = new QMessageBox(QMessageBox::Warning, windowTitle, question, QMessageBox::NoButton, parent);
    dialog->setInformativeText(message);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    if (parent) {
        followSchemeOf(*dialog, *parent);
    }
    QPushButton* confirm = dialog->addButton(confirmText, QMessageBox::DestructiveRole);
    dialog->addButton(QMessageBox::Cancel);
    dialog->setDefaultButton(QMessageBox::Cancel);
    QObject::connect(dialog, &QMessageBox::buttonClicked, dialog, [confirm, onConfirm = std::move(onConfirm)](QAbstractButton* button) {
        if (button == confirm) {
            onConfirm();
        }
    });
    dialog->open();
    return dialog;
}

} // namespace norvelle
