#include "store/NoteMigrationService.h"

#include "core/OSLogAnalyticsTracker.h"
#include "objectstore/ObjectContext.h"
#include "store/NoteTitle.h"
#include "store/StickyNote.h"

namespace norvelle {

NoteMigrationService& NoteMigrationService::shared()
{
    static NoteMigrationService service(OSLogAnalyticsTracker::shared());
    return service;
}

QString NoteMigrationService::titleFromPlainText(const QString& plainText)
{
    return NoteTitle::firstLine(plainText).value_or(QStringLiteral("Untitled")).trimmed();
}

void NoteMigrationService::migrate(ObjectContext& context)
{
    // Only the notes a rule below applies to: complete ones would be read for nothing.
    std::optional<ObjectStoreError> error;
    const std::vector<std::shared_ptr<StickyNote>> notes = context.fetch(StickyNote::fetchRequestIncomplete(), &error);
    if (error || notes.empty()) {
        return;
    }
    int updatedFields = 0;
    for (const std::shared_ptr<StickyNote>& note : notes) {
        if (note->title().trimmed().isEmpty()) {
            // An empty title stays a value, not an absent one.
            const QString title = titleFromPlainText(note->plainText());
            note->setTitle(title.isNull() ? QStringLiteral("") : title);
            ++updatedFields;
        }
        if (!note->updatedAt().isValid()) {
            note->setUpdatedAt(note->createdAt().isValid() ? note->createdAt() : QDateTime::currentDateTimeUtc());
            ++updatedFields;
        }
        if (note->version() == 0) {
            note->setVersion(1);
            ++updatedFields;
        }
    }
    if (context.hasChanges()) {
        context.save();
    }
    if (updatedFields > 0) {
        m_tracker.track(QStringLiteral("note_model_migrated"), {{QStringLiteral("updatedFields"), QString::number(updatedFields)}});
    }
}

} // namespace norvelle
