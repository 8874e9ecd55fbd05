#include "sticky/NoteFileOperations.h"

#include "core/AnalyticsTracking.h"
#include "core/OSLogAnalyticsTracker.h"
#include "platform/ObjectContext.h"
#include "sticky/ExportFileName.h"
#include "sticky/NoteSyncHandoff.h"
#include "store/NoteFileText.h"
#include "store/NoteTitle.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSaveFile>
#include <QUuid>

namespace norvelle {

namespace {

// The reason a plain-text export could not be written, or none when it was.
std::optional<QString> writeAtomically(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return file.errorString();
    }
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit()) {
        return file.errorString();
    }
    return std::nullopt;
}

} // namespace

void NoteFileOperations::importNoteFromFile()
{
    importNoteFromFile(NoteFileDialogs::system(), PersistenceController::shared().viewContext(),
                       OSLogAnalyticsTracker::shared());
}

void NoteFileOperations::importNoteFromFile(NoteFileDialogs& dialogs, ObjectContext& context,
                                            AnalyticsTracking& tracker)
{
    const std::optional<QString> path = dialogs.chooseFileToImport();
    if (!path) {
        return;
    }
    const std::optional<QString> text = NoteFileText::read(*path);
    if (!text) {
        return;
    }

    const auto note = StickyNote::insert(context);
    note->setId(QUuid::createUuid());
    note->setCreatedAt(QDateTime::currentDateTimeUtc());
    note->setUpdatedAt(QDateTime::currentDateTimeUtc());
    note->setTitle(NoteTitle::firstLine(*text).value_or(NoteFileText::nameWithoutExtension(*path)));
    note->setPlainText(*text);
    note->setPaperColor(QStringLiteral("#FDFDF8"));
    note->setTextureName(QStringLiteral("lined"));
    note->setVersion(1);
    note->setLastSyncedVersion(0);
    note->setIsArchived(false);
    note->setUpdatedBy(QStringLiteral("local-device"));
    note->setPermissions(QStringLiteral("Private"));
    context.save();

    NoteSyncHandoff::handOff(*note);
    tracker.track(QStringLiteral("note_imported"), { { QStringLiteral("extension"), NoteFileText::pathExtension(*path) } });
}

void NoteFileOperations::exportNoteAsPlainText(const StickyNote& note)
{
    exportNoteAsPlainText(note, NoteFileDialogs::system(), OSLogAnalyticsTracker::shared());
}

void NoteFileOperations::exportNoteAsPlainText(const StickyNote& note, NoteFileDialogs& dialogs,
                                               AnalyticsTracking& tracker)
{
    const QString title = note.title();
    const std::optional<QString> path
        = dialogs.chooseExportFile(ExportFileName::suggested(title.isNull() ? std::nullopt : std::optional(title)));
    if (!path) {
        return;
    }
    if (const auto failure = writeAtomically(*path, note.plainText().toUtf8())) {
        dialogs.showExportFailure(QFileInfo(*path).fileName(), *failure);
        return;
    }
    tracker.track(QStringLiteral("note_exported"), { { QStringLiteral("target"), QStringLiteral("txt") } });
}

} // namespace norvelle
