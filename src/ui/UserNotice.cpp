#include "ui/UserNotice.h"

#include <QHash>
#include <QMessageBox>
#include <QPointer>

namespace norvelle {

namespace {

QHash<QString, QPointer<QMessageBox>>& openBoxes()
{
    static QHash<QString, QPointer<QMessageBox>> boxes;
    return boxes;
}

QMessageBox& boxFor(const QString& topic, const QString& text, const QString& details)
{
    QPointer<QMessageBox>& box = openBoxes()[topic];
    if (!box) {
        box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Norvelle"), text, QMessageBox::Ok);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setModal(false);
        box->setWindowFlag(Qt::WindowStaysOnTopHint);
    }
    box->setText(text);
    box->setInformativeText(details);
    return *box;
}

} // namespace

void UserNotice::warn(const QString& topic, const QString& text, const QString& details)
{
    QMessageBox& box = boxFor(topic, text, details);
    box.show();
    box.raise();
    box.activateWindow();
}

void UserNotice::tell(const QString& topic, const QString& text, const QString& details)
{
    QMessageBox& box = boxFor(topic, text, details);
    // The window manager neither gives it the focus when it appears nor when it is clicked.
    box.setAttribute(Qt::WA_ShowWithoutActivating);
    box.setWindowFlag(Qt::WindowDoesNotAcceptFocus);
    box.show();
    box.raise();
}

QMessageBox* UserNotice::showing(const QString& topic)
{
    return openBoxes().value(topic).data();
}

} // namespace norvelle
