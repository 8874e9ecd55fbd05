#pragma once

#include "UserInput.h"
#include "account/GoogleSignInFixture.h"
#include "account/NotesSyncService.h"
#include "settings/ConnectedDevices.h"
#include "settings/NorvelleSettingsView.h"
#include "settings/SettingsAccountState.h"
#include "settings/SettingsSidebar.h"
#include "settings/SettingsWindowController.h"
#include "store/PersistenceController.h"
#include "support/FakeAppDelegating.h"

#include <QJsonArray>
#include <QTest>

namespace norvelle::test {

// The settings window over account services that talk to the loopback server, with a real
// note database and a delegate that records the timer restarts.
struct AccountPanesFixture : GoogleSignInFixture {
    PersistenceController store;
    NotesSyncService sync {http, tracker, credentials, attestation, refresher,
        [this]() -> ObjectContext& { return store.viewContext(); }};
    FakeAppDelegating app;
    SettingsWindowController controller {SettingsAccountServices {auth, sync, google, credentials, attestation, tracker}};

    AccountPanesFixture()
    {
        server.reply("/v1/devices/register", ScriptedReply::json(200, {}));
        server.reply("/v1/notes/sync", emptySyncAnswer());
    }

    // A pull that brings nothing new.
    static ScriptedReply emptySyncAnswer()
    {
        return ScriptedReply::json(200, {{"applied", QJsonObject {{"applied", QJsonArray()}}}, {"outgoing", QJsonArray()}});
    }

    NorvelleSettingsView& view() { return *controller.view(); }
    SettingsAccountState& state() { return view().accountState(); }

    template <class Pane>
    Pane& open(SettingsPane pane)
    {
        click(view().sidebar()->row(pane));
        return *static_cast<Pane*>(view().form(pane));
    }

    void show()
    {
        controller.showWindow();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(controller.window()));
    }

    // A device record as the server lists it.
    static QJsonObject device(const QString& id, const QString& name, const QJsonObject& extra = {})
    {
        QJsonObject record {{"id", id}, {"name", name}, {"platform", "Linux"}};
        for (auto it = extra.begin(); it != extra.end(); ++it) {
            record.insert(it.key(), it.value());
        }
        return record;
    }
    static ScriptedReply devices(const QJsonArray& list) { return ScriptedReply::json(200, {{"devices", list}}); }

    // Waits for the running device list load, if any.
    bool devicesSettled()
    {
        return waitUntil([this] { return !state().devices().isLoading(); }, 5000);
    }
};

} // namespace norvelle::test
