#pragma once

#include "store/PersistenceController.h"
#include "store/StickyNote.h"
#include "workspace/WorkspaceNoteIndex.h"

#include <QDateTime>
#include <gtest/gtest.h>

#include <memory>

namespace norvelle::test {

// An in-memory note store, notes made to measure, and the workspace's index over them.
class WorkspaceNotesFixture : public testing::Test {
protected:
    struct NoteFields {
        QString title {};
        QString plainText {};
        // Minutes after a fixed instant; a negative value leaves the date missing.
        int updatedMinute = 0;
        int createdMinute = 0;
        int deletedMinute = -1;
        bool pinned = false;
        bool archived = false;
        QString workspaceId {};
    };

    static QDateTime at(int minute)
    {
        return minute < 0 ? QDateTime() : QDateTime(QDate(2026, 1, 1), QTime(0, 0), Qt::UTC).addSecs(60 * minute);
    }

    std::shared_ptr<StickyNote> add(const NoteFields& fields)
    {
        auto note = StickyNote::insert(context());
        note->setId(QUuid::createUuid());
        note->setTitle(fields.title);
        note->setPlainText(fields.plainText);
        note->setUpdatedAt(at(fields.updatedMinute));
        note->setCreatedAt(at(fields.createdMinute));
        note->setDeletedAt(at(fields.deletedMinute));
        note->setIsPinned(fields.pinned);
        note->setIsArchived(fields.archived);
        note->setWorkspaceId(fields.workspaceId);
        note->setVersion(1);
        return note;
    }

    ObjectContext& context() { return m_persistence.viewContext(); }

    // The index, made on first use over what was added so far.
    WorkspaceNoteIndex& index()
    {
        if (!m_index) {
            context().save();
            m_index = std::make_unique<WorkspaceNoteIndex>(context());
        }
        return *m_index;
    }

    static QStringList titles(const WorkspaceNoteIndex::NoteRefs& notes)
    {
        QStringList result;
        for (const WorkspaceNoteEntry* note : notes) {
            result << note->displayTitle;
        }
        return result;
    }

private:
    PersistenceController m_persistence {true};
    std::unique_ptr<WorkspaceNoteIndex> m_index;
};

} // namespace norvelle::test
