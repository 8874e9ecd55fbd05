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

} // namespace

void UserNotice::warn(const QString& topic, const QString& text, const QString& details)
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
    box->show();
    box->raise();
    box->activateWindow();
}

QMessageBox* UserNotice::showing(const QString& topic)
{
    return openBoxes().value(topic).data();
}

} // namespace norvelle
