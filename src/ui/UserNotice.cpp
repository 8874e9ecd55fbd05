#include "ui/UserNotice.h"

#include "ui/NoticePlacement.h"

#include <QApplication>
#include <QHash>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>

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

// The frame the window manager puts around a box not yet shown, at most.
constexpr QMargins unshownFramePx(8, 40, 8, 8);

// Moves the box off the window the user types in, when it is on it or not yet shown.
void keepClearOfTheActiveWindow(QMessageBox& box)
{
    const QWidget* typing = QApplication::activeWindow();
    if (!typing || typing == &box) {
        return;
    }
    const QRect keepClear = typing->frameGeometry();
    QRect frame = box.frameGeometry();
    if (!box.isVisible()) {
        box.adjustSize();
        frame = QRect(QPoint(), box.size()).marginsAdded(unshownFramePx);
    } else if (!frame.intersects(keepClear)) {
        return;
    }
    const QScreen* screen = typing->screen();
    box.move(noticeOrigin(keepClear, frame.size(), screen->availableGeometry()));
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
    keepClearOfTheActiveWindow(box);
    box.show();
    box.raise();
}

void UserNotice::withdraw(const QString& topic)
{
    if (QMessageBox* box = showing(topic)) {
        box->close();
    }
}

QMessageBox* UserNotice::showing(const QString& topic)
{
    return openBoxes().value(topic).data();
}

} // namespace norvelle
