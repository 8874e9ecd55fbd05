#include "objectstore/ObjectContext.h"
#include "objectstore/ObjectStore.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"
#include "support/TestHome.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>

#include <sqlite3.h>

#include <cstdio>

using namespace norvelle;

namespace {

const char* const storeVariable = "NORVELLE_SAVE_LOOP_STORE";

QString integrityCheck(const QString& path)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return QStringLiteral("cannot open");
    }
    sqlite3_stmt* statement = nullptr;
    QString result = QStringLiteral("no answer");
    if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &statement, nullptr) == SQLITE_OK && sqlite3_step(statement) == SQLITE_ROW) {
        result = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return result;
}

// Runs the save loop in a child copy of this test program until it reported `atLeast` saves,
// kills it with SIGKILL and returns the number of the last save it reported as returned.
int killSaveLoopAfter(const QString& path, int atLeast)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(storeVariable, path);
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::SeparateChannels);
    child.start(QCoreApplication::applicationFilePath(),
        {"--gtest_also_run_disabled_tests", "--gtest_filter=StoreDurability.DISABLED_SaveLoopUntilKilled"});
    EXPECT_TRUE(child.waitForStarted(30000));
    int lastSaved = -1;
    int reported = 0;
    const auto readReports = [&] {
        while (child.canReadLine()) {
            const QByteArray line = child.readLine().trimmed();
            if (line.startsWith("saved ")) {
                lastSaved = line.mid(6).toInt();
                ++reported;
            }
        }
    };
    const bool enough = test::waitUntil([&] {
        child.waitForReadyRead(20);
        readReports();
        return reported >= atLeast || child.state() == QProcess::NotRunning;
    },
        60000);
    EXPECT_TRUE(enough);
    EXPECT_EQ(child.state(), QProcess::Running) << child.readAllStandardError().toStdString();
    child.kill();
    EXPECT_TRUE(child.waitForFinished(30000));
    readReports();
    return lastSaved;
}

} // namespace

// Not a test of its own: the child the kill test starts. It saves one new note (and changes the
// one before) per turn and reports each save that returned, until it is killed.
TEST(StoreDurability, DISABLED_SaveLoopUntilKilled)
{
    const QString path = qEnvironmentVariable(storeVariable);
    if (path.isEmpty()) {
        GTEST_SKIP() << "started only by the kill test";
    }
    std::optional<ObjectStoreError> error;
    auto store = ObjectStore::open(path, PersistenceController::model(), error);
    ASSERT_TRUE(store) << error->localizedDescription().toStdString();
    ObjectContext& context = store->viewContext();
    auto previous = context.fetch(StickyNote::fetchRequestNewestFirst());
    std::shared_ptr<StickyNote> last = previous.empty() ? nullptr : previous.front();
    for (int number = int(previous.size());; ++number) {
        auto note = StickyNote::insert(context);
        note->setTitle(QString::number(number));
        note->setPlainText(QString(1000, QChar('a' + number % 26)));
        note->setUpdatedAt(QDateTime::fromMSecsSinceEpoch(number, Qt::UTC));
        if (last) {
            last->setVersion(2);
        }
        last = note;
        if (!context.save()) {
            std::printf("saved %d\n", number);
            std::fflush(stdout);
        }
    }
}

TEST(StoreDurability, AKilledSaveLoopLeavesAnIntactStoreHoldingEverySaveThatReturned)
{
    const QString directory = test::TestHomeListener::home() + "/killed";
    QDir().mkpath(directory);
    const QString path = directory + "/Norvelle.sqlite";
    // Three times: each child recovers the log of the one before and carries on.
    for (const int round : {1, 2, 3}) {
        const int lastSaved = killSaveLoopAfter(path, 150);
        ASSERT_GE(lastSaved, 149 * round) << "round " << round;

        EXPECT_EQ(integrityCheck(path), "ok") << "round " << round;
        std::optional<ObjectStoreError> error;
        auto store = ObjectStore::open(path, PersistenceController::model(), error);
        ASSERT_TRUE(store) << error->localizedDescription().toStdString();
        auto request = StickyNote::fetchRequest();
        request.sortDescriptors = {{"updatedAt", true}};
        const auto notes = store->viewContext().fetch(request);
        ASSERT_GE(int(notes.size()), lastSaved + 1);
        for (int number = 0; number <= lastSaved; ++number) {
            ASSERT_EQ(notes[size_t(number)]->title(), QString::number(number));
            ASSERT_EQ(notes[size_t(number)]->plainText().size(), 1000);
            if (number < lastSaved) {
                ASSERT_EQ(notes[size_t(number)]->version(), 2) << number;
            }
        }
    }
}
