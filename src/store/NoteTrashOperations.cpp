#include "store/NoteTrashOperations.h"

#include "core/AppDelegating.h"
#include "objectstore/ObjectContext.h"
#include "store/StickyNote.h"
#include "store/StickyWindowKeys.h"

#include <QDateTime>

namespace norvelle {

namespace {

const QString localDevice = QStringLiteral("local-device");

QString keyOf(const StickyNote& note)
{
    return note.objectID().uriString();
}

void markChanged(StickyNote& note, const QDateTime& now)
{
    note.setUpdatedAt(now);
    note.setVersion(note.version() + 1);
    note.setUpdatedBy(localDevice);
}

void restore(StickyNote& note, const QDateTime& now)
{
    note.setDeletedAt(QDateTime());
    markChanged(note, now);
}

// The window stays in the delegate's table until its own closing takes it out.
void closeWindowOf(const QString& key)
{
    if (auto* app = AppDelegating::current()) {
        app->closeStickyWindow(key);
    }
}

void forgetWindowOf(const QString& key)
{
    if (auto* app = AppDelegating::current()) {
        app->removeStickyWindow(key);
    }
}

void deleteFrom(ObjectContext& context, StickyNote& note)
{
    if (auto object = context.existingObject(note.objectID())) {
        context.deleteObject(object);
    }
}

ObjectContext* contextOfFirst(const NoteTrashOperations::NoteList& notes)
{
    return notes.empty() || !notes.front() ? nullptr : notes.front()->managedObjectContext();
}

} // namespace

void NoteTrashOperations::restoreNoteFromTrash(StickyNote& note)
{
    ObjectContext* context = note.managedObjectContext();
    if (!context) {
        return;
    }
    restore(note, QDateTime::currentDateTimeUtc());
    context->save();
}

void NoteTrashOperations::restoreNotesFromTrash(const NoteList& notes)
{
    ObjectContext* context = contextOfFirst(notes);
    if (!context) {
        return;
    }
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (const auto& note : notes) {
        if (note) {
            restore(*note, now);
        }
    }
    context->save();
}

void NoteTrashOperations::moveNoteToTrash(StickyNote& note)
{
    ObjectContext* context = note.managedObjectContext();
    if (!context) {
        return;
    }
    const QString key = keyOf(note);
    note.setDeletedAt(QDateTime::currentDateTimeUtc());
    markChanged(note, QDateTime::currentDateTimeUtc());
    context->save();
    closeWindowOf(key);
}

void NoteTrashOperations::moveNotesToTrash(const NoteList& notes)
{
    ObjectContext* context = contextOfFirst(notes);
    if (!context) {
        return;
    }
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (const auto& note : notes) {
        if (!note) {
            continue;
        }
        const QString key = keyOf(*note);
        note->setDeletedAt(now);
        markChanged(*note, now);
        closeWindowOf(key);
    }
    context->save();
}

void NoteTrashOperations::deleteNotePermanently(StickyNote& note)
{
    ObjectContext* context = note.managedObjectContext();
    if (!context) {
        return;
    }
    const QString key = keyOf(note);
    forgetWindowOf(key);
    deleteFrom(*context, note);
    if (!context->save()) {
        StickyWindowKeys::forget({key});
    }
}

void NoteTrashOperations::deleteNotesPermanently(const NoteList& notes)
{
    ObjectContext* context = contextOfFirst(notes);
    if (!context) {
        return;
    }
    QStringList keys;
    for (const auto& note : notes) {
        if (note) {
            keys << keyOf(*note);
            forgetWindowOf(keys.back());
            deleteFrom(*context, *note);
        }
    }
    if (!context->save()) {
        StickyWindowKeys::forget(keys);
    }
}

} // namespace norvelle
