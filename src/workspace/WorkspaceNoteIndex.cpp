#include "workspace/WorkspaceNoteIndex.h"

#include "objectstore/ObjectContext.h"
#include "platform/SystemLog.h"
#include "store/StickyNote.h"
#include "workspace/NoteDisplayText.h"

#include <QLocale>
#include <QTimer>

#include <algorithm>

namespace norvelle {

namespace {

constexpr qsizetype bulkChangeMinimum = 256;

QCollator makeTitleCollator()
{
    // The C locale collates by code point, capitals first; the common collation of the
    // languages is what a person expects there.
    QLocale locale;
    if (locale.language() == QLocale::C) {
        locale = QLocale(QLocale::English, QLocale::UnitedStates);
    }
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

} // namespace

WorkspaceNoteIndex::WorkspaceNoteIndex(ObjectContext& context, QObject* parent)
    : QObject(parent)
    , m_context(context)
    , m_titleCollator(makeTitleCollator())
{
    reload();
    connect(&context, &ObjectContext::objectChanged, this, [this](const ObjectID& id) {
        if (id.entityName() == StickyNote::entity().name) {
            m_changed.insert(id);
            schedule();
        }
        m_sawObjectChange = true;
    });
    connect(&context, &ObjectContext::objectsDidChange, this, [this] {
        if (!m_sawObjectChange) {
            m_reloadNeeded = true;
            schedule();
        }
        m_sawObjectChange = false;
    });
    connect(&context, &ObjectContext::steppedChangesEnded, this, [this] {
        if (m_reloadNeeded || !m_changed.isEmpty()) {
            schedule();
        }
    });
}

WorkspaceNoteIndex::~WorkspaceNoteIndex() = default;

void WorkspaceNoteIndex::schedule()
{
    // Working the lists out again after every step of a pull of thousands of notes took many
    // times as long as the pull itself.
    if (!m_scheduled && !m_context.steppedChangeUnderWay()) {
        m_scheduled = true;
        QTimer::singleShot(0, this, &WorkspaceNoteIndex::applyPendingChanges);
    }
}

void WorkspaceNoteIndex::applyPendingChanges()
{
    m_scheduled = false;
    if (!m_reloadNeeded && m_changed.isEmpty()) {
        return;
    }
    // Reading the list columns of every note in one pass beats reading thousands of notes
    // one by one; notes somebody holds (as during a bulk action) need no read.
    const auto unheld = std::count_if(m_changed.cbegin(), m_changed.cend(), [this](const ObjectID& id) {
        return !m_context.isRegistered(id);
    });
    const bool manyChanged = unheld > std::max<qsizetype>(bulkChangeMinimum, m_entries.size() / 8);
    if (m_reloadNeeded || manyChanged) {
        reload();
    } else {
        for (const ObjectID& id : std::as_const(m_changed)) {
            refresh(id);
        }
    }
    m_changed.clear();
    m_reloadNeeded = false;
    reorder();
    emit notesChanged();
}

void WorkspaceNoteIndex::reload()
{
    // The text is read only for the rare note without a title, whose name it gives.
    QHash<ObjectID, std::shared_ptr<const WorkspaceNoteEntry>> entries;
    std::vector<ObjectID> untitled;
    const std::optional<ObjectStoreError> error = m_context.visitValues(
        StickyNote::entity(), WorkspaceNoteEntry::attributes(), [&](const ObjectID& id, const QList<QVariant>& values) {
            entries.insert(id, std::make_shared<const WorkspaceNoteEntry>(id, values, QString(), m_titleCollator));
            if (WorkspaceNoteEntry::hasBlankTitle(values)) {
                untitled.push_back(id);
            }
        });
    for (const ObjectID& id : untitled) {
        refreshInto(entries, id);
    }
    if (error) {
        SystemLog(QStringLiteral("workspace")).error(QStringLiteral("The workspace could not read the notes: %1").arg(error->localizedDescription()));
        return;
    }
    m_entries = std::move(entries);
    reorder();
}

void WorkspaceNoteIndex::refresh(const ObjectID& id)
{
    refreshInto(m_entries, id);
}

void WorkspaceNoteIndex::refreshInto(QHash<ObjectID, std::shared_ptr<const WorkspaceNoteEntry>>& entries, const ObjectID& id)
{
    std::shared_ptr<ManagedObject> object = m_context.existingObject(id);
    if (!object || &object->entity() != &StickyNote::entity()) {
        entries.remove(id);
        return;
    }
    const auto& note = static_cast<const StickyNote&>(*object);
    QList<QVariant> values;
    for (const int attribute : WorkspaceNoteEntry::attributes()) {
        values.append(note.value(attribute));
    }
    // The text is read only when it gives the name; its preview when the note is drawn, its
    // words when a search looks: a text may be hundreds of megabytes.
    const QString plainText = WorkspaceNoteEntry::hasBlankTitle(values) ? note.plainText() : QString();
    entries.insert(id, std::make_shared<const WorkspaceNoteEntry>(id, values, plainText, m_titleCollator));
}

const WorkspaceNoteEntry::Words& WorkspaceNoteIndex::words(const WorkspaceNoteEntry& entry) const
{
    if (!entry.words()) {
        const std::shared_ptr<StickyNote> found = note(entry);
        entry.setWords(found ? found->title() : QString(), found ? found->plainText() : QString());
    }
    return *entry.words();
}

const QString& WorkspaceNoteIndex::previewLine(const WorkspaceNoteEntry& entry) const
{
    if (!entry.previewLine()) {
        // Only the title and the start of the text are read, not the whole note: the values stored
        // after a text of hundreds of megabytes cost a walk through all of it.
        const std::optional<QList<QVariant>> title = m_context.existingValues(entry.id, {StickyNote::Title});
        entry.setPreviewLine(title ? norvelle::previewLine(title->front().toString(), [&](qsizetype length) {
            return m_context.leadingText(entry.id, StickyNote::PlainText, length);
        })
                                   : QString());
    }
    return *entry.previewLine();
}

void WorkspaceNoteIndex::loadAllWords()
{
    const auto missing = std::count_if(m_ordered.begin(), m_ordered.end(), [](const WorkspaceNoteEntry* entry) { return !entry->words(); });
    // Many notes without words are read in one pass; the few changed during a search one by
    // one, not every note's text again.
    if (missing > bulkChangeMinimum) {
        const std::optional<ObjectStoreError> error = m_context.visitValues(
            StickyNote::entity(), {StickyNote::Title, StickyNote::PlainText}, [this](const ObjectID& id, const QList<QVariant>& values) {
                const auto entry = m_entries.constFind(id);
                if (entry != m_entries.cend() && !entry.value()->words()) {
                    entry.value()->setWords(values[0].toString(), values[1].toString());
                }
            });
        if (error) {
            SystemLog(QStringLiteral("workspace")).error(QStringLiteral("The workspace could not read the notes' text: %1").arg(error->localizedDescription()));
        }
    }
    for (const WorkspaceNoteEntry* entry : m_ordered) {
        words(*entry);
    }
}

std::shared_ptr<StickyNote> WorkspaceNoteIndex::note(const WorkspaceNoteEntry& entry) const
{
    std::shared_ptr<ManagedObject> object = m_context.existingObject(entry.id);
    return object && &object->entity() == &StickyNote::entity() ? std::static_pointer_cast<StickyNote>(object) : nullptr;
}

std::vector<std::shared_ptr<StickyNote>> WorkspaceNoteIndex::notes(const NoteRefs& entries) const
{
    std::vector<ObjectID> ids;
    ids.reserve(entries.size());
    for (const WorkspaceNoteEntry* entry : entries) {
        ids.push_back(entry->id);
    }
    std::vector<std::shared_ptr<StickyNote>> notes;
    notes.reserve(entries.size());
    for (std::shared_ptr<ManagedObject>& object : m_context.existingObjects(ids)) {
        if (&object->entity() == &StickyNote::entity()) {
            notes.push_back(std::static_pointer_cast<StickyNote>(std::move(object)));
        }
    }
    return notes;
}

void WorkspaceNoteIndex::reorder()
{
    m_ordered.clear();
    m_ordered.reserve(size_t(m_entries.size()));
    for (const auto& entry : std::as_const(m_entries)) {
        m_ordered.push_back(entry.get());
    }
    std::sort(m_ordered.begin(), m_ordered.end(), [](const WorkspaceNoteEntry* a, const WorkspaceNoteEntry* b) {
        if (a->updatedAt != b->updatedAt) {
            return a->updatedAt > b->updatedAt;
        }
        if (a->createdAt != b->createdAt) {
            return a->createdAt > b->createdAt;
        }
        return a->id.rowID() < b->id.rowID();
    });
}

} // namespace norvelle
