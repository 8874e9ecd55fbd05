#include "account/SyncFixture.h"

#include "account/APIConfig.h"

#include "platform/NotificationCenter.h"
#include "platform/StoredSettings.h"
#include "platform/UserDefaults.h"
#include "store/StickyNote.h"

#include <QTcpServer>
#include <QUuid>
#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace norvelle;
using test::ScriptedReply;

namespace {

const QDateTime noon = QDateTime::fromMSecsSinceEpoch(1772366400000, Qt::UTC);

qint64 since()
{
    return UserDefaults::standard().integer(storedSettings::sinceGlobalVersionKey);
}

} // namespace

TEST(NotesSyncService, APullSendsNoNotesAndTakesNewerServerCopiesOfKnownNotes)
{
    test::SyncFixture s;
    s.signInDirectly("access-0");
    auto note = s.note("mine", noon);
    const QByteArray richBody = note->content();
    s.server.reply("/v1/notes/sync", s.answer({}, {s.dto(note, 5, "theirs", noon.addSecs(1)), s.dto("x-norvelle://00000000-0000-0000-0000-000000000000/StickyNote/p1", 9, "stranger", "2030-01-01T00:00:00Z"), s.dto("not a uri", 3, "nobody", "2030-01-01T00:00:00Z"), s.dto(note->objectID().uriString() + "\n", 4, "newline", "2030-01-01T00:00:00Z")}));
    EXPECT_EQ(s.pull(), std::nullopt);

    const test::RecordedRequest request = s.server.requests().first();
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.path, "/v1/notes/sync");
    EXPECT_EQ(request.header("authorization"), "Bearer access-0");
    EXPECT_EQ(request.header("content-type"), "application/json");
    EXPECT_EQ(request.json(), (QJsonObject {{"deviceId", s.attestation.deviceIdentifier()}, {"sinceVersion", 0}, {"notes", QJsonArray()}}));

    EXPECT_EQ(note->plainText(), "theirs");
    EXPECT_EQ(note->title(), "theirs");
    EXPECT_EQ(note->updatedAt(), noon.addSecs(1));
    EXPECT_EQ(note->lastSyncedVersion(), 5);
    EXPECT_EQ(note->version(), 1);
    EXPECT_EQ(note->updatedBy(), "sync");
    EXPECT_EQ(note->content(), richBody);
    EXPECT_FALSE(s.store.viewContext().hasChanges());
    EXPECT_EQ(s.store.viewContext().count(StickyNote::fetchRequest()), 1);
    EXPECT_EQ(since(), 9);
    EXPECT_EQ(s.eventNames(), QStringList {"sync_pull_ok"});
    EXPECT_EQ(s.event("sync_pull_ok"), (AnalyticsMetadata {{"outgoing", "4"}, {"since", "0"}}));
}

TEST(NotesSyncService, TheSinceVersionCarriesAcrossRunsAndNeverGoesDown)
{
    test::SyncFixture s;
    s.signInDirectly();
    s.server.reply("/v1/notes/sync", s.answer({}, {s.dto("a", 12, "x", "2030-01-01T00:00:00Z")}));
    s.server.reply("/v1/notes/sync", s.answer({s.dto("a", 4, "x", "2030-01-01T00:00:00Z")}, {}));
    s.server.reply("/v1/notes/sync", s.answer({}, {}));
    s.pull();
    EXPECT_EQ(since(), 12);
    {
        test::SyncFixture later; // a new run: the setting is all that carries over
        later.signInDirectly();
        later.server.reply("/v1/notes/sync", later.answer({}, {}));
        later.pull();
        EXPECT_EQ(later.server.requests().first().json().value("sinceVersion"), 12);
        EXPECT_EQ(later.event("sync_pull_ok")->value("since"), "12");
    }
    s.pull();
    EXPECT_EQ(since(), 12);
    s.pull();
    EXPECT_EQ(since(), 12);
    EXPECT_TRUE(UserDefaults::standard().contains(storedSettings::sinceGlobalVersionKey));
}

TEST(NotesSyncService, TheServerWinsTiesAndLosesToNewerLocalText)
{
    test::SyncFixture s;
    s.signInDirectly();
    auto tie = s.note("tie-local", noon);
    auto newer = s.note("newer-local", noon);
    auto undated = s.note("undated-local", QDateTime());
    s.server.reply("/v1/notes/sync", s.answer({}, {s.dto(tie, 2, "tie-remote", noon), s.dto(newer, 2, "old-remote", noon.addMSecs(-1)), s.dto(undated->objectID().uriString(), 2, "remote-undated", "tomorrow")}));
    s.pull();
    EXPECT_EQ(tie->plainText(), "tie-remote");
    EXPECT_EQ(newer->plainText(), "newer-local");
    EXPECT_EQ(newer->lastSyncedVersion(), 0);
    EXPECT_EQ(newer->updatedBy(), "local-device");
    EXPECT_EQ(undated->plainText(), "remote-undated");
    EXPECT_EQ(undated->updatedAt().date().year(), 1);

    // A note in both lists, equally new: the applied copy goes in first, the outgoing one last.
    s.server.replyAlways("/v1/notes/sync", s.answer({s.dto(tie, 3, "applied-copy", noon)}, {s.dto(tie, 4, "outgoing-copy", noon)}));
    EXPECT_FALSE(s.pull());
    EXPECT_EQ(tie->plainText(), "outgoing-copy");
    EXPECT_EQ(tie->lastSyncedVersion(), 4);
}

TEST(NotesSyncService, APushSendsTheNoteAndCountsWhatCameBack)
{
    test::SyncFixture s;
    s.signInDirectly();
    auto note = s.note("hello", noon.addMSecs(7));
    note->setVersion(4);
    s.server.reply("/v1/notes/sync", s.answer({s.dto(note, 40, "hello", noon.addMSecs(7))}, {}, QJsonArray {QJsonObject {{"id", "c1"}}}));
    s.server.reply("/v1/notes/sync", s.answer({}, {}, QJsonValue::Null));
    s.push(note);
    const QJsonObject body = s.server.requests().first().json();
    EXPECT_EQ(body.value("sinceVersion"), 0);
    EXPECT_EQ(body.value("notes").toArray(), (QJsonArray {QJsonObject {{"id", note->objectID().uriString()}, {"version", 4}, {"title", "hello"}, {"body", "hello"}, {"updatedAt", "2026-03-01T12:00:00.007Z"}}}));
    // The server's echo compares equal to the local copy, to the millisecond.
    EXPECT_EQ(note->updatedBy(), "sync");
    EXPECT_EQ(note->lastSyncedVersion(), 40);
    EXPECT_EQ(since(), 40);
    EXPECT_EQ(s.event("sync_push_ok"),
        (AnalyticsMetadata {{"noteID", note->objectID().uriString()}, {"applied", "1"}, {"conflicts", "1"}, {"outgoing", "0"}}));
    s.push(note);
    EXPECT_EQ(s.tracker.events().last().second.value("conflicts"), "0");
}

TEST(NotesSyncService, AnOlderPushAnswerNeverOverwritesNewerLocalText)
{
    test::SyncFixture s;
    s.signInDirectly();
    auto note = s.note("first", noon);
    ScriptedReply slow = s.answer({s.dto(note, 2, "first", noon)}, {});
    slow.delayMs = 300;
    s.server.reply("/v1/notes/sync", slow);
    s.server.reply("/v1/notes/sync", s.answer({s.dto(note, 3, "second", noon.addMSecs(1))}, {}));

    int finished = 0;
    s.sync.pushNote(note->objectID().uriString(), 2, "first", "first", noon, [&] { ++finished; });
    note->setPlainText("second");
    note->setTitle("second");
    note->setUpdatedAt(noon.addMSecs(1));
    ASSERT_FALSE(s.store.viewContext().save());
    s.sync.pushNote(note->objectID().uriString(), 3, "second", "second", noon.addMSecs(1), [&] { ++finished; });
    ASSERT_TRUE(test::waitUntil([&] { return finished == 2; }, 5000));
    EXPECT_EQ(note->plainText(), "second");
    EXPECT_EQ(note->lastSyncedVersion(), 3);
}

TEST(NotesSyncService, A401RefreshesOnceAndResends)
{
    test::SyncFixture s;
    s.signInDirectly("access-0");
    s.server.reply("/v1/notes/sync", ScriptedReply::json(401, {}));
    s.server.reply("/v1/notes/sync", s.answer({}, {}));
    s.server.reply("/v1/auth/refresh", test::LoopbackApiServer::tokens("access-2"));
    s.pull();
    EXPECT_EQ(s.server.paths(), (QStringList {"/v1/notes/sync", "/v1/auth/refresh", "/v1/notes/sync"}));
    EXPECT_EQ(s.server.requests().last().header("authorization"), "Bearer access-2");
    EXPECT_TRUE(s.event("sync_pull_ok"));

    test::SyncFixture twice;
    twice.signInDirectly();
    twice.server.reply("/v1/notes/sync", ScriptedReply::json(401, {}));
    twice.server.reply("/v1/auth/refresh", test::LoopbackApiServer::tokens("access-2"));
    twice.pull();
    EXPECT_EQ(twice.server.requests("/v1/auth/refresh").size(), 1);
    EXPECT_EQ(twice.server.requests("/v1/notes/sync").size(), 2);
    EXPECT_EQ(twice.event("sync_pull_failed"), (AnalyticsMetadata {{"error", "badStatus(401)"}}));
}

TEST(NotesSyncService, ARefreshDoesNotHoldTheResendUntilThePictureArrives)
{
    test::SyncFixture s;
    s.signInDirectly("access-0");
    int pictureChanges = 0;
    QObject observing;
    NotificationCenter::defaultCenter().addObserver(ProfileAvatarStore::didChangeNotification, &observing,
        [&](const Notification&) { ++pictureChanges; });
    ScriptedReply slowPicture = ScriptedReply::raw(404, "");
    slowPicture.delayMs = 1500;
    s.server.reply("/slow.png", slowPicture);
    s.server.reply("/v1/notes/sync", ScriptedReply::json(401, {}));
    s.server.reply("/v1/notes/sync", s.answer({}, {}));
    s.server.reply("/v1/auth/refresh", test::LoopbackApiServer::tokens("access-2", "2099-01-01T00:00:00.000Z", {{"avatarUrl", s.server.baseURL().toString() + "/slow.png"}}));
    EXPECT_EQ(s.pull(), std::nullopt);
    EXPECT_EQ(pictureChanges, 0);
    EXPECT_TRUE(test::waitUntil([&] { return pictureChanges == 1; }, 5000));
}

TEST(NotesSyncService, ASessionCloseToExpiryIsRefreshedFirst)
{
    for (const auto& [secondsLeft, refreshes] : {std::pair {60, 1}, {61, 0}, {-5, 1}}) {
        test::SyncFixture s;
        s.signInDirectly("access-0", secondsLeft);
        s.server.reply("/v1/notes/sync", s.answer({}, {}));
        s.server.reply("/v1/auth/refresh", test::LoopbackApiServer::tokens("access-2"));
        s.pull();
        EXPECT_EQ(s.server.requests("/v1/auth/refresh").size(), refreshes) << secondsLeft;
        EXPECT_EQ(s.server.requests("/v1/notes/sync").size(), 1);
    }
    test::SyncFixture failing;
    failing.signInDirectly("access-0", 10);
    failing.server.reply("/v1/auth/refresh", ScriptedReply::json(401, {}));
    failing.pull();
    EXPECT_TRUE(failing.server.requests("/v1/notes/sync").isEmpty());
    EXPECT_EQ(failing.event("sync_pull_failed"), (AnalyticsMetadata {{"error", "badStatus(401)"}}));
    EXPECT_EQ(failing.credentials.load()->accessToken, "access-0");

    test::SyncFixture injecting;
    injecting.signInDirectly("access-0", 10);
    injecting.server.reply("/v1/auth/refresh", test::LoopbackApiServer::tokens("abc\r\nX-Injected: 1"));
    injecting.server.reply("/v1/notes/sync", injecting.answer({}, {}));
    injecting.pull();
    EXPECT_TRUE(injecting.server.requests("/v1/notes/sync").isEmpty());
    EXPECT_EQ(injecting.event("sync_pull_failed"), (AnalyticsMetadata {{"error", "decoding(control character in \"accessToken\")"}}));
    EXPECT_EQ(injecting.credentials.load()->accessToken, "access-0");
}

TEST(NotesSyncService, SkipsWithoutASessionOrWhenSwitchedOff)
{
    test::SyncFixture s;
    auto note = s.note("n", noon);
    const QString id = note->objectID().uriString();
    EXPECT_EQ(s.pull(), ServiceError::noSession());
    s.push(note);
    UserDefaults::standard().set("norvelle.sync.enabled", false);
    s.push(note);
    EXPECT_EQ(s.tracker.events(), (QList<test::RecordingTracker::Event> {{"sync_now_skipped", {{"reason", "no_session"}}}, {"sync_skipped_no_session", {{"noteID", id}}}, {"sync_skipped_disabled", {{"noteID", id}}}}));

    s.signInDirectly();
    s.server.replyAlways("/v1/notes/sync", s.answer({}, {}));
    bool ran = false;
    s.sync.syncNowIfEnabled([&](const std::optional<ServiceError>& failure) { ran = !failure; });
    EXPECT_TRUE(ran);
    UserDefaults::standard().set("norvelle.sync.enabled", false);
    s.sync.syncNowIfEnabled();
    s.push(note);
    EXPECT_TRUE(s.server.requests().isEmpty());
    // Only a stored Boolean is a choice: the settings pane shows these as on, and so they are.
    UserDefaults::standard().set("norvelle.sync.enabled", 0);
    s.push(note);
    UserDefaults::standard().set("norvelle.sync.enabled", QString("no"));
    s.pull();
    EXPECT_EQ(s.server.requests().size(), 2);
}

TEST(NotesSyncService, AMalformedAnswerIsRefusedWhole)
{
    // GOOD stands for a well-formed newer copy of the local note: even it must not be taken.
    const QByteArray answers[] = {
        R"({"applied":{"applied":[GOOD]},"outgoing":[{"id":"b","version":1.5,"title":"t","body":"b","updatedAt":"x"}]})",
        R"({"applied":{"applied":[GOOD]}})",
        R"({"outgoing":[GOOD]})",
        R"({"applied":{"conflicts":[]},"outgoing":[GOOD]})",
        R"({"applied":{"applied":[GOOD],"conflicts":[{"id":3}]},"outgoing":[]})",
        R"({"applied":{"applied":[GOOD]},"outgoing":[{"id":"a","version":"1","title":"t","body":"b","updatedAt":"x"}]})",
        R"({"applied":{"applied":[GOOD]},"outgoing":[{"id":"a","version":1,"title":null,"body":"b","updatedAt":"x"}]})",
        R"({"applied":{"applied":[GOOD]},"outgoing":[{"id":"a","version":1e30,"title":"t","body":"b","updatedAt":"x"}]})",
        // Versions no JSON reader holds exactly, or below zero: one would become the since-version.
        R"({"applied":{"applied":[GOOD]},"outgoing":[{"id":"a","version":9223372036854775807,"title":"t","body":"b","updatedAt":"x"}]})",
        R"({"applied":{"applied":[GOOD]},"outgoing":[{"id":"a","version":9007199254740993,"title":"t","body":"b","updatedAt":"x"}]})",
        R"({"applied":{"applied":[GOOD,{"id":"a","version":-1,"title":"t","body":"b","updatedAt":"x"}]},"outgoing":[]})",
        R"([GOOD])",
        "<html>",
    };
    for (const QByteArray& text : answers) {
        test::SyncFixture s;
        s.signInDirectly();
        auto note = s.note("mine", noon);
        UserDefaults::standard().set(storedSettings::sinceGlobalVersionKey, 2);
        QByteArray body = text;
        body.replace("GOOD", QJsonDocument(s.dto(note, 50, "theirs", noon.addSecs(5))).toJson(QJsonDocument::Compact));
        s.server.reply("/v1/notes/sync", ScriptedReply::raw(200, body));
        s.pull();
        EXPECT_EQ(note->plainText(), "mine") << text.constData();
        EXPECT_EQ(since(), 2);
        ASSERT_TRUE(s.event("sync_pull_failed")) << text.constData();
        EXPECT_TRUE(s.event("sync_pull_failed")->value("error").startsWith("decoding(")) << text.constData();
    }
}

TEST(NotesSyncService, StatusesOtherThan200AndADownServerLoseNothing)
{
    for (const int status : {201, 204, 500}) {
        test::SyncFixture s;
        s.signInDirectly();
        auto note = s.note("mine", noon);
        s.server.reply("/v1/notes/sync", ScriptedReply::json(status, {}));
        s.push(note);
        EXPECT_EQ(s.event("sync_push_failed")->value("error"), QString("badStatus(%1)").arg(status));
    }
    test::SyncFixture s;
    s.signInDirectly();
    auto note = s.note("mine", noon);
    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost, 0);
    const QString down = QString("http://127.0.0.1:%1").arg(closed.serverPort());
    UserDefaults::standard().set("norvelle.api.baseURL", down);
    ASSERT_FALSE(s.credentials.save(*s.credentials.load(), QUrl(down)));
    closed.close();
    s.push(note);
    const std::optional<ServiceError> failure = s.pull();
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->debugDescription(), "transport(cannotConnect)");
    EXPECT_EQ(s.event("sync_push_failed")->value("error"), "transport(cannotConnect)");
    EXPECT_EQ(s.event("sync_pull_failed")->value("error"), "transport(cannotConnect)");
    EXPECT_EQ(note->plainText(), "mine");
    EXPECT_FALSE(s.store.viewContext().hasChanges());
}

TEST(NotesSyncService, AFailedSaveDoesNotAdvanceTheSinceVersion)
{
    test::SyncFixture s;
    s.signInDirectly();
    auto note = s.note("mine", noon);
    UserDefaults::standard().set(storedSettings::sinceGlobalVersionKey, 3);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(PersistenceController::storePath().toUtf8().constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "CREATE TRIGGER refuse BEFORE UPDATE ON StickyNote BEGIN SELECT RAISE(ABORT, 'refused'); END;",
                  nullptr, nullptr, nullptr),
        SQLITE_OK);
    sqlite3_close(db);
    s.server.reply("/v1/notes/sync", s.answer({}, {s.dto(note, 8, "theirs", noon.addSecs(1))}));
    EXPECT_EQ(s.pull(), ServiceError::of(ServiceError::Kind::notesNotSaved));
    EXPECT_EQ(since(), 3);
    EXPECT_EQ(s.event("sync_pull_failed"), (AnalyticsMetadata {{"error", "notesNotSaved"}}));
}

TEST(NotesSyncService, ANoteOfManyMegabytesIsTakenIn)
{
    test::SyncFixture s;
    s.signInDirectly();
    auto note = s.note("mine", noon);
    const QString huge(6 * 1024 * 1024, QChar('w'));
    s.server.reply("/v1/notes/sync", s.answer({}, {s.dto(note, 2, huge, noon.addSecs(1))}));
    s.pull();
    EXPECT_EQ(note->plainText().size(), huge.size());
    EXPECT_TRUE(s.event("sync_pull_ok"));

    // Beyond what any real pull needs: refused while it arrives, nothing applied.
    s.server.replyAlways("/v1/notes/sync", ScriptedReply::raw(200, QByteArray(NotesSyncService::maximumSyncReplyBytes + 1, ' ')));
    const std::optional<ServiceError> refused = s.pull();
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->debugDescription(), "transport(replyTooLarge)");
    EXPECT_EQ(note->plainText().size(), huge.size());
}

TEST(NotesSyncService, ALargePullIsTakenInStepsAndItsSinceVersionStoredOnlyAfterTheLast)
{
    test::SyncFixture s;
    s.signInDirectly();
    ObjectContext& context = s.store.viewContext();
    QJsonArray outgoing;
    std::vector<std::shared_ptr<StickyNote>> notes;
    for (qsizetype i = 0; i < 2 * NotesSyncService::notesPerStep + 1; ++i) {
        auto note = StickyNote::insert(context);
        note->setId(QUuid::createUuid());
        note->setUpdatedAt(noon);
        notes.push_back(note);
    }
    ASSERT_FALSE(context.save());
    for (qsizetype i = 0; i < qsizetype(notes.size()); ++i) {
        outgoing.append(s.dto(notes[size_t(i)], i + 10, QStringLiteral("server %1").arg(i), noon.addSecs(1)));
    }
    s.server.reply("/v1/notes/sync", s.answer({}, outgoing));
    // A quit between two steps must find the since-version where it was, so nothing is skipped.
    QList<qint64> sinceAtEachSave;
    QObject::connect(&context, &ObjectContext::didSave, [&] { sinceAtEachSave.append(since()); });
    EXPECT_FALSE(s.pull());
    // A step ends after notesPerStep changed notes, or sooner on a slow machine.
    EXPECT_GE(sinceAtEachSave.size(), 3);
    EXPECT_EQ(sinceAtEachSave, QList<qint64>(sinceAtEachSave.size(), 0));
    EXPECT_EQ(since(), qint64(notes.size()) + 9);
    EXPECT_EQ(notes.back()->plainText(), QStringLiteral("server %1").arg(notes.size() - 1));
}

TEST(NotesSyncService, AnAnswerThatNeverEndsIsCutOffAtItsLimit)
{
    test::SyncFixture s;
    s.signInDirectly();
    ScriptedReply endless;
    endless.mode = ScriptedReply::Mode::endless;
    s.server.replyAlways("/v1/notes/sync", endless);
    const std::optional<ServiceError> refused = s.pull();
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->debugDescription(), "transport(replyTooLarge)");
    // The connection is closed, and nothing much beyond the limit was taken off it first
    // (what the sockets' own buffers hold on the way is the slack).
    EXPECT_TRUE(test::waitUntil([&] { return s.server.closedConnections() >= 1; }, 30000));
    EXPECT_LT(s.server.endlessBytesSent(), NotesSyncService::maximumSyncReplyBytes + 64 * 1024 * 1024);
}

TEST(NotesSyncService, SigningOutWhileAPullIsAnsweredLeavesTheNotesAndTheNextSessionAlone)
{
    test::SyncFixture s;
    s.signInDirectly();
    auto note = s.note("mine", noon);
    ScriptedReply late = s.answer({}, {s.dto(note, 40, "old account's copy", noon.addSecs(1))});
    late.delayMs = 300;
    s.server.reply("/v1/notes/sync", late);
    bool done = false;
    std::optional<ServiceError> outcome;
    s.sync.syncNow([&](const std::optional<ServiceError>& failure) {
        outcome = failure;
        done = true;
    });
    ASSERT_TRUE(test::waitUntil([&] { return !s.server.requests().isEmpty(); }, 5000));
    s.auth.disconnect();
    ASSERT_TRUE(test::waitUntil([&] { return done; }, 5000));

    EXPECT_EQ(outcome, ServiceError::noSession());
    EXPECT_EQ(note->plainText(), "mine");
    EXPECT_FALSE(UserDefaults::standard().contains(storedSettings::sinceGlobalVersionKey));
    EXPECT_FALSE(s.event("sync_pull_ok"));
}

TEST(NotesSyncService, SigningOutWhileTheSessionIsRefreshedStaysSignedOut)
{
    test::SyncFixture s;
    s.signInDirectly("access-0", 10);
    ScriptedReply late = test::LoopbackApiServer::tokens("access-2", "2099-01-01T00:00:00.000Z", {{"displayName", "Ana"}});
    late.delayMs = 300;
    s.server.reply("/v1/auth/refresh", late);
    s.server.replyAlways("/v1/notes/sync", s.answer({}, {}));
    auto note = s.note("mine", noon);
    bool done = false;
    s.sync.pushNote(note->objectID().uriString(), 2, "mine", "mine", noon, [&] { done = true; });
    ASSERT_TRUE(test::waitUntil([&] { return !s.server.requests("/v1/auth/refresh").isEmpty(); }, 5000));
    s.auth.disconnect();
    ASSERT_TRUE(test::waitUntil([&] { return done; }, 5000));

    EXPECT_FALSE(s.credentials.load());
    EXPECT_FALSE(SyncCredentialStore(s.folder).load());
    EXPECT_FALSE(UserDefaults::standard().contains("norvelle.profile.accountDisplayName"));
    EXPECT_TRUE(s.server.requests("/v1/notes/sync").isEmpty());
    EXPECT_EQ(s.event("sync_push_failed"), (AnalyticsMetadata {{"noteID", note->objectID().uriString()}, {"error", "noSession"}}));
}

TEST(NotesSyncService, ARefusedServerAddressSendsNothingAnywhere)
{
    test::SyncFixture s;
    s.signInDirectly("access-0", 3600);
    auto note = s.note("mine", noon);
    s.server.replyAlways("/v1/notes/sync", s.answer({}, {}));
    ASSERT_EQ(s.pull(), std::nullopt);
    const qsizetype before = s.server.requests().size();

    for (const QString& refused : {QStringLiteral("http://example.com"), QStringLiteral("http://10.255.255.1:9"),
             s.server.baseURL().toString().replace("http:", "ftp:")}) {
        UserDefaults::standard().set(storedSettings::apiBaseURL.key, refused);
        const std::optional<ServiceError> failure = s.pull();
        ASSERT_TRUE(failure) << refused.toStdString();
        EXPECT_EQ(failure->kind(), ServiceError::Kind::serverAddressRefused) << refused.toStdString();
        EXPECT_TRUE(failure->localizedDescription().startsWith("This server address can’t be used: "));
        s.push(note);
        EXPECT_EQ(s.event("sync_push_failed")->value("error"), "serverAddressRefused");
    }
    // An expired session would be refreshed: its refresh token goes nowhere either.
    s.signInDirectly("access-0", -10);
    EXPECT_EQ(s.pull()->kind(), ServiceError::Kind::serverAddressRefused);
    EXPECT_EQ(s.server.requests().size(), before);
    EXPECT_EQ(s.credentials.load()->accessToken, "access-0");
}

TEST(NotesSyncService, ASessionGoesOnlyToTheServerThatIssuedIt)
{
    test::SyncFixture s;
    s.server.reply("/v1/auth/email/login", test::LoopbackApiServer::tokens("access-a"));
    ASSERT_EQ(s.run([&](Completion done) { s.auth.authenticateWithEmail("a@example.com", "secret", false, std::nullopt, std::move(done)); }), std::nullopt);
    ASSERT_EQ(s.credentials.load()->accessToken, "access-a");

    test::LoopbackApiServer other;
    other.replyAlways("/v1/notes/sync", s.answer({}, {}));
    other.replyAlways("/v1/auth/refresh", test::LoopbackApiServer::tokens("access-stolen"));
    other.useAsApiBase();
    const std::optional<ServiceError> failure = s.pull();
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->kind(), ServiceError::Kind::sessionFromOtherServer);
    s.signInDirectly("access-a", -10);
    EXPECT_EQ(s.pull()->kind(), ServiceError::Kind::sessionFromOtherServer);
    EXPECT_TRUE(other.requests().isEmpty());

    // Signed in again there, the session goes there.
    other.reply("/v1/auth/email/login", test::LoopbackApiServer::tokens("access-b"));
    ASSERT_EQ(s.run([&](Completion done) { s.auth.authenticateWithEmail("a@example.com", "secret", false, std::nullopt, std::move(done)); }), std::nullopt);
    EXPECT_EQ(s.pull(), std::nullopt);
    EXPECT_EQ(other.requests("/v1/notes/sync").last().header("authorization"), "Bearer access-b");
    // And no longer to the first server.
    s.server.useAsApiBase();
    EXPECT_EQ(s.pull()->kind(), ServiceError::Kind::sessionFromOtherServer);
    EXPECT_TRUE(s.server.requests("/v1/notes/sync").isEmpty());
}
