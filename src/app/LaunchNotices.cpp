#include "app/LaunchNotices.h"

#include "objectstore/ObjectStoreError.h"
#include "ui/UserNotice.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

namespace norvelle {

namespace {

QString advice(const ObjectStoreError& error)
{
    switch (error.code()) {
    case ObjectStoreError::Code::NoAccess:
        return QStringLiteral("Norvelle needs to read and write %1: give your user read and write access to it.")
            .arg(QFileInfo(error.file()).fileName());
    case ObjectStoreError::Code::ReadOnly:
        return QStringLiteral("Norvelle needs to write to it: give your user write access to the file and its folder.");
    case ObjectStoreError::Code::Unavailable:
        return QStringLiteral("Another program may be using it, or the disk may be full: close that program or free "
                              "some space.");
    default:
        return QStringLiteral("Check that the folder exists and that your user may write to it.");
    }
}

} // namespace

void LaunchNotices::explainUnopenableStore(const ObjectStoreError& error, const QString& storePath)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Norvelle"), QStringLiteral("Norvelle can't open your notes."),
        QMessageBox::Ok);
    box.setInformativeText(QStringLiteral("%1.\n\nYour notes are stored in %2; Norvelle did not replace them. %3 Then "
                                          "start Norvelle again.")
                               .arg(error.localizedDescription(), QDir::toNativeSeparators(storePath),
                                   advice(error)));
    box.button(QMessageBox::Ok)->setText(QStringLiteral("Quit Norvelle"));
    box.exec();
}

void LaunchNotices::tellUnreadableSettings(const QString& keptAs)
{
    UserNotice::warn(unreadableSettingsTopic,
        QStringLiteral("Norvelle could not read its settings and started with the default ones."),
        QStringLiteral("The old settings file was kept as %1.").arg(QDir::toNativeSeparators(keptAs)));
}

void LaunchNotices::tellNoteStoreSetAside(const QString& keptAs)
{
    UserNotice::warn(noteStoreSetAsideTopic,
        QStringLiteral("Norvelle could not read your notes and started with an empty note store."),
        QStringLiteral("The unreadable notes file was kept as %1.").arg(QDir::toNativeSeparators(keptAs)));
}

void LaunchNotices::tellNoteStoreCompanionsSetAside(const QStringList& keptAs)
{
    QStringList shown;
    for (const QString& file : keptAs) {
        shown << QDir::toNativeSeparators(file);
    }
    const bool one = shown.size() == 1;
    UserNotice::warn(noteStoreCompanionsSetAsideTopic,
        one ? QStringLiteral("Norvelle found something other than a file beside your notes, set it aside and opened your notes.")
            : QStringLiteral("Norvelle found things other than files beside your notes, set them aside and opened your notes."),
        (one ? QStringLiteral("It was kept as %1.") : QStringLiteral("They were kept as %1.")).arg(shown.join(QStringLiteral(" and "))));
}

} // namespace norvelle
