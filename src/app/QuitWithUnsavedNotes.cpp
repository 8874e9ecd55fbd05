#include "app/QuitWithUnsavedNotes.h"

#include "objectstore/ObjectContext.h"
#include "platform/UserDefaults.h"
#include "ui/MessageBoxRoom.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

namespace norvelle {

namespace {

QPointer<QMessageBox>& openQuestion()
{
    static QPointer<QMessageBox> box;
    return box;
}

// Answered without a nested event loop: the windows behind it keep drawing and the store's
// other work goes on while the user decides.
void ask(ObjectContext& context, const QString& text, const QString& details)
{
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Norvelle"), text);
    box->setInformativeText(details);
    QPushButton* retry = box->addButton(QStringLiteral("Try Again"), QMessageBox::AcceptRole);
    QPushButton* keep = box->addButton(QStringLiteral("Keep Norvelle Running"), QMessageBox::RejectRole);
    QPushButton* quit = box->addButton(QStringLiteral("Quit Anyway"), QMessageBox::DestructiveRole);
    box->setDefaultButton(retry);
    box->setEscapeButton(keep);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowFlag(Qt::WindowStaysOnTopHint);
    giveMessageRoom(*box);
    QObject::connect(box, &QMessageBox::buttonClicked, box, [&context, retry, quit](QAbstractButton* clicked) {
        // This box closes with the click; a second try asks anew.
        openQuestion() = nullptr;
        if (clicked == retry) {
            QuitWithUnsavedNotes::request(context);
        } else if (clicked == quit) {
            QCoreApplication::quit();
        }
    });
    openQuestion() = box;
    box->open();
}

} // namespace

void QuitWithUnsavedNotes::request(ObjectContext& context)
{
    if (asking()) {
        asking()->raise();
        asking()->activateWindow();
        return;
    }
    if (context.hasChanges()) {
        if (const std::optional<ObjectStoreError> error = context.save()) {
            if (error->code() == ObjectStoreError::Code::WaitingForBackgroundSave) {
                // Quits once the large note being saved is in and these changes follow it.
                QTimer::singleShot(ObjectContext::saveWaitingRetryMs, &context, [&context] { request(context); });
                return;
            }
            ask(context, QStringLiteral("Some notes could not be saved."),
                error->localizedDescription()
                    + QStringLiteral(".\n\nIf Norvelle quits now, what was not saved is lost. Free some space or "
                                     "close the program using your notes, then try again."));
            return;
        }
    }
    if (const std::optional<QString> failure = UserDefaults::standard().lastSaveFailure()) {
        ask(context, QStringLiteral("Some settings could not be saved."),
            *failure
                + QStringLiteral(".\n\nIf Norvelle quits now, the settings it could not save are lost. Free "
                                 "some space, then try again."));
        return;
    }
    QCoreApplication::quit();
}

QMessageBox* QuitWithUnsavedNotes::asking()
{
    return openQuestion().data();
}

} // namespace norvelle
