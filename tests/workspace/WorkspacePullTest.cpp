#include "workspace/WorkspaceView.h"

#include "account/SyncFixture.h"
#include "workspace/WorkspaceFoldersStore.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

using namespace norvelle;

namespace {

const QDateTime noon(QDate(2026, 3, 1), QTime(12, 0), Qt::UTC);

} // namespace

TEST(WorkspaceDuringAPull, ListsTheNotesOfALargePullOnceTheyAreAllIn)
{
    test::SyncFixture s;
    s.signInDirectly();
    ObjectContext& context = s.store.viewContext();
    QStringList ids;
    for (qsizetype i = 0; i < 3 * NotesSyncService::notesPerStep; ++i) {
        auto note = StickyNote::insert(context);
        note->setId(QUuid::createUuid());
        note->setTitle(QStringLiteral("mine %1").arg(i));
        note->setUpdatedAt(noon);
        ids << note->objectID().uriString();
    }
    ASSERT_FALSE(context.save());
    QJsonArray outgoing;
    for (qsizetype i = 0; i < ids.size(); ++i) {
        outgoing.append(s.dto(ids[i], i + 1, QStringLiteral("server %1").arg(i), InternetDateTime::format(noon.addSecs(i + 1))));
    }
    s.server.reply("/v1/notes/sync", s.answer({}, outgoing));

    WorkspaceFoldersStore folders;
    WorkspaceView workspace(
        context, folders, [] { return true; }, [] { return std::optional<QString>(); });
    workspace.resize(900, 600);
    workspace.show();
    int rebuilds = 0;
    QObject::connect(&workspace.index(), &WorkspaceNoteIndex::notesChanged, [&] { ++rebuilds; });
    QList<int> rebuildsAtEachSave;
    QObject::connect(&context, &ObjectContext::didSave, [&] { rebuildsAtEachSave.append(rebuilds); });

    EXPECT_FALSE(s.pull());
    ASSERT_TRUE(test::waitUntil([&] { return rebuilds > 0; }, 5000));
    QCoreApplication::processEvents();
    // Taken in steps, none of them followed by the lists worked out again.
    EXPECT_GE(rebuildsAtEachSave.size(), 3);
    EXPECT_EQ(rebuildsAtEachSave, QList<int>(rebuildsAtEachSave.size(), 0));
    EXPECT_EQ(rebuilds, 1);
    const WorkspaceView::NoteRefs& list = workspace.workspaceNoteList();
    ASSERT_EQ(list.size(), size_t(ids.size()));
    EXPECT_EQ(list.front()->displayTitle, QStringLiteral("server %1").arg(ids.size() - 1));
    EXPECT_EQ(list.back()->displayTitle, "server 0");
}
