#include "app/QuitWithUnsavedNotes.h"

#include "objectstore/ObjectContext.h"
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
void ask(ObjectContext& context, const QString& reason)
{
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Norvelle"),
        QStringLiteral("Some notes could not be saved."));
    box->setInformativeText(reason + QStringLiteral(".\n\nIf Norvelle quits now, what was not saved is lost. Free "
                                                    "some space or close the program using your notes, then try "
                                                    "again."));
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
            ask(context, error->localizedDescription());
            return;
        }
    }
    QCoreApplication::quit();
}

QMessageBox* QuitWithUnsavedNotes::asking()
{
    return openQuestion().data();
}

} // namespace norvelle
