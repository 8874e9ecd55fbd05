#include "workspace/WorkspaceNoteIndex.h"

#include "platform/ObjectContext.h"
#include "store/StickyNote.h"

#include <QLocale>
#include <QTimer>

#include <algorithm>

namespace norvelle {

namespace {

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
}

WorkspaceNoteIndex::~WorkspaceNoteIndex() = default;

void WorkspaceNoteIndex::schedule()
{
    if (!m_scheduled) {
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
    if (m_reloadNeeded) {
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
    QHash<ObjectID, std::shared_ptr<const WorkspaceNoteEntry>> entries;
    for (auto& note : m_context.fetch(StickyNote::fetchRequest())) {
        const ObjectID id = note->objectID();
        entries.insert(id, std::make_shared<const WorkspaceNoteEntry>(std::move(note), m_titleCollator));
    }
    m_entries = std::move(entries);
    reorder();
}

void WorkspaceNoteIndex::refresh(const ObjectID& id)
{
    std::shared_ptr<ManagedObject> object = m_context.existingObject(id);
    if (object && &object->entity() == &StickyNote::entity()) {
        m_entries.insert(id, std::make_shared<const WorkspaceNoteEntry>(std::static_pointer_cast<StickyNote>(object),
                                                                        m_titleCollator));
    } else {
        m_entries.remove(id);
    }
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
        return a->rowID < b->rowID;
    });
}

} // namespace norvelle
