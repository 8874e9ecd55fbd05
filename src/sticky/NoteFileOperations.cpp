#include "sticky/NoteFileOperations.h"

#include "core/AnalyticsTracking.h"
#include "core/OSLogAnalyticsTracker.h"
#include "objectstore/ObjectContext.h"
#include "platform/AtomicFile.h"
#include "platform/MainQueue.h"
#include "sticky/ExportFileName.h"
#include "sticky/NoteSyncHandoff.h"
#include "store/NoteFileText.h"
#include "store/NoteTitle.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"

#include <QDateTime>
#include <QFileInfo>
#include <QThreadPool>
#include <QUuid>

namespace norvelle {

namespace {

std::shared_ptr<StickyNote> insertImportedNote(ObjectContext& context, const QString& path, const QString& text)
{
    const auto note = StickyNote::insert(context);
    note->setId(QUuid::createUuid());
    note->setCreatedAt(QDateTime::currentDateTimeUtc());
    note->setUpdatedAt(QDateTime::currentDateTimeUtc());
    note->setTitle(NoteTitle::firstLine(text).value_or(NoteFileText::nameWithoutExtension(path)));
    note->setPlainText(text);
    note->setPaperColor(QStringLiteral("#FDFDF8"));
    note->setTextureName(QStringLiteral("lined"));
    note->setVersion(1);
    note->setLastSyncedVersion(0);
    note->setIsArchived(false);
    note->setUpdatedBy(QStringLiteral("local-device"));
    note->setPermissions(QStringLiteral("Private"));
    return note;
}

// Hands a saved note to sync and counts it as imported.
void announceImported(const StickyNote& note, const QString& path, AnalyticsTracking& tracker)
{
    NoteSyncHandoff::handOff(note);
    tracker.track(QStringLiteral("note_imported"), {{QStringLiteral("extension"), NoteFileText::pathExtension(path)}});
}

} // namespace

void NoteFileOperations::importNoteFromFile(QWidget* view, Imported onImported)
{
    importNoteFromFile(NoteFileDialogs::openedFrom(view), PersistenceController::shared().viewContext(),
        OSLogAnalyticsTracker::shared(), std::move(onImported));
}

void NoteFileOperations::importNoteFromFile(std::shared_ptr<NoteFileDialogs> dialogs, ObjectContext& context,
    AnalyticsTracking& tracker, Imported onImported)
{
    const std::optional<QString> path = dialogs->chooseFileToImport();
    if (!path) {
        return;
    }
    // A large note is saved on the worker too, through a connection of its own, so the window
    // and the stickies keep answering; a store in memory has no second connection.
    std::shared_ptr<ObjectContext> background = context.store().newBackgroundContext();
    QThreadPool::globalInstance()->start([path = *path, dialogs, &context, &tracker, onImported = std::move(onImported),
                                             background = std::move(background)]() mutable {
        NoteFileText::Reading reading = NoteFileText::read(path);
        if (!reading.text) {
            MainQueue::async([path, dialogs, failure = reading.failure] { dialogs->showImportFailure(QFileInfo(path).fileName(), failure); },
                &context);
            return;
        }
        if (!background) {
            MainQueue::async([path, text = std::move(*reading.text), &context, &tracker, onImported] {
                const auto note = insertImportedNote(context, path, text);
                // A note the store did not take waits for the next save; it is not counted as imported.
                if (!context.save()) {
                    announceImported(*note, path, tracker);
                }
                if (onImported) {
                    onImported(note->objectID());
                }
            },
                &context);
            return;
        }
        const auto note = insertImportedNote(*background, path, *reading.text);
        const std::optional<ObjectStoreError> failure = background->save();
        // The note keeps its values without the context, whose connection belongs to this thread.
        background.reset();
        MainQueue::async([path, note, failure, dialogs, &context, &tracker, onImported] {
            if (failure) {
                dialogs->showImportFailure(QFileInfo(path).fileName(),
                    QStringLiteral("The note store could not keep it: %1").arg(failure->localizedDescription()));
                return;
            }
            context.didInsertElsewhere({note});
            announceImported(*note, path, tracker);
            if (onImported) {
                onImported(note->objectID());
            }
        },
            &context);
    });
}

void NoteFileOperations::exportNoteAsPlainText(const StickyNote& note, QWidget* view)
{
    exportNoteAsPlainText(note, *NoteFileDialogs::openedFrom(view), OSLogAnalyticsTracker::shared());
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
    if (const auto failure = AtomicFile::write(*path, note.plainText().toUtf8())) {
        dialogs.showExportFailure(QFileInfo(*path).fileName(), *failure);
        return;
    }
    tracker.track(QStringLiteral("note_exported"), {{QStringLiteral("target"), QStringLiteral("txt")}});
}

} // namespace norvelle
