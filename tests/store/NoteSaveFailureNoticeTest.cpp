#include "store/NoteSaveFailureNotice.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"
#include "support/LogCapture.h"
#include "support/TestHome.h"
#include "ui/UserNotice.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <gtest/gtest.h>

#include <sqlite3.h>

using namespace norvelle;

namespace {

// Another program holding the store's write lock for as long as it lives.
class StoreLock {
public:
    StoreLock()
    {
        sqlite3_open(PersistenceController::storePath().toUtf8().constData(), &m_db);
        sqlite3_busy_timeout(m_db, 5000);
        m_held = sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    ~StoreLock()
    {
        sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(m_db);
    }
    bool held() const { return m_held; }

private:
    sqlite3* m_db = nullptr;
    bool m_held = false;
};

} // namespace

TEST(NoteSaveFailureNotice, EachRunOfFailedSavesIsToldOnceAndTheChangesWaitForTheNextSave)
{
    PersistenceController store;
    ObjectContext& context = store.viewContext();
    NoteSaveFailureNotice notice(context);
    const auto note = StickyNote::insert(context);
    note->setPlainText(QStringLiteral("first"));
    ASSERT_FALSE(context.save());
    test::LogCapture log;
    {
        StoreLock lock;
        ASSERT_TRUE(lock.held());
        note->setPlainText(QStringLiteral("second"));
        ASSERT_TRUE(context.save());
        note->setPlainText(QStringLiteral("third"));
        ASSERT_TRUE(context.save());
    }
    QMessageBox* box = UserNotice::showing(NoteSaveFailureNotice::topic);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text(), QStringLiteral("Norvelle can't save your notes."));
    EXPECT_TRUE(box->informativeText().contains(QStringLiteral("locked")));
    EXPECT_EQ(log.messages().size(), 1);
    box->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // The next save takes what waited; a later failure is a new run, told again.
    EXPECT_FALSE(context.save());
    EXPECT_EQ(PersistenceController().viewContext().fetch(StickyNote::fetchRequest()).at(0)->plainText(), "third");
    {
        StoreLock lock;
        note->setPlainText(QStringLiteral("fourth"));
        ASSERT_TRUE(context.save());
    }
    EXPECT_TRUE(UserNotice::showing(NoteSaveFailureNotice::topic));
}
