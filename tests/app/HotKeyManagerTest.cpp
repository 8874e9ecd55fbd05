#include "app/HotKeyManager.h"
#include "core/NorvelleShortcutsProfile.h"
#include "platform/MainQueue.h"
#include "support/FakeGlobalHotKeys.h"
#include "support/TestHome.h"

#include <QThread>
#include <gtest/gtest.h>

#include <linux/input-event-codes.h>

namespace norvelle {
namespace {

using Action = NorvelleShortcutAction;
using test::FakeGlobalHotKeys;

constexpr GlobalHotKeys::Modifiers superShift = GlobalHotKeys::super | GlobalHotKeys::shift;
constexpr GlobalHotKeys::Modifiers superAlt = GlobalHotKeys::super | GlobalHotKeys::alt;

class HotKeyManagerTest : public testing::Test {
protected:
    HotKeyManagerTest()
    {
        manager.onTrigger = [this](Action action) {
            triggered.append(action);
            onMainThread = onMainThread && MainQueue::isMainThread();
        };
    }

    // Runs the queued triggers.
    void settle()
    {
        bool done = false;
        MainQueue::async([&] { done = true; });
        ASSERT_TRUE(test::waitUntil([&] { return done; }, 10000));
    }

    FakeGlobalHotKeys hotKeys;
    HotKeyManager manager {hotKeys};
    QList<Action> triggered;
    bool onMainThread = true;
};

TEST_F(HotKeyManagerTest, FirstPassRegistersTheDefaultsAsOneTwoThree)
{
    manager.registerAll();
    const auto registered = hotKeys.registered();
    ASSERT_EQ(registered.size(), 3);
    EXPECT_EQ(registered[0].keyCode, KEY_K);
    EXPECT_EQ(registered[1].keyCode, KEY_N);
    EXPECT_EQ(registered[2].keyCode, KEY_V);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(registered[i].modifiers, superShift);
        EXPECT_EQ(registered[i].identifier, quint32(i + 1));
    }
    EXPECT_EQ(manager.idToAction(),
        (std::map<quint32, Action> {{1, Action::openWorkspace}, {2, Action::newNote}, {3, Action::clipboardHistory}}));
    EXPECT_EQ(manager.nextId(), 4u);
}

TEST_F(HotKeyManagerTest, EachPassReplacesTheLastWithFreshIdentifiers)
{
    manager.registerAll();
    auto profile = NorvelleShortcutsProfile::defaults();
    profile.clipboardHistory = ActionShortcut {false, ShortcutModifierPreset::commandOption, "b"};
    saveShortcutsProfile(profile);
    manager.registerAll();

    EXPECT_EQ(hotKeys.unregistrations(), 3);
    const auto registered = hotKeys.registered();
    ASSERT_EQ(registered.size(), 3);
    EXPECT_EQ(registered[0].identifier, 4u);
    EXPECT_EQ(registered[1].identifier, 5u);
    EXPECT_EQ(registered[2].identifier, 6u);
    EXPECT_EQ(registered[2].keyCode, KEY_B);
    EXPECT_EQ(registered[2].modifiers, superAlt);

    EXPECT_FALSE(hotKeys.press(KEY_V, superShift)) << "the old key is released";
    hotKeys.deliver(3); // a stale identifier
    EXPECT_TRUE(hotKeys.press(KEY_B, superAlt));
    settle();
    EXPECT_EQ(triggered, QList<Action> {Action::clipboardHistory});
    EXPECT_EQ(hotKeys.handlerInstallations(), 1) << "the handler is installed once";
}

TEST_F(HotKeyManagerTest, PressesTriggerTheirActionOnTheMainThreadLater)
{
    manager.registerAll();
    ASSERT_TRUE(hotKeys.press(KEY_N, superShift));
    EXPECT_TRUE(triggered.isEmpty()) << "the trigger is queued, not run inside the handler";
    ASSERT_TRUE(hotKeys.press(KEY_K, superShift));
    settle();
    EXPECT_EQ(triggered, (QList<Action> {Action::newNote, Action::openWorkspace}));
    EXPECT_TRUE(onMainThread);

    // Identifier 0 and unknown identifiers do nothing.
    hotKeys.deliver(0);
    hotKeys.deliver(99);
    settle();
    EXPECT_EQ(triggered.size(), 2);
}

TEST_F(HotKeyManagerTest, ARefusedKeyUsesUpItsIdentifierAndLeavesTheOthersWorking)
{
    hotKeys.holdElsewhere(KEY_N, superShift);
    manager.registerAll();

    EXPECT_EQ(hotKeys.attempts().size(), 3);
    EXPECT_EQ(hotKeys.attempts()[1].identifier, 2u);
    EXPECT_EQ(manager.idToAction(),
        (std::map<quint32, Action> {{1, Action::openWorkspace}, {3, Action::clipboardHistory}}));
    EXPECT_FALSE(hotKeys.press(KEY_N, superShift));
    EXPECT_TRUE(hotKeys.press(KEY_K, superShift));
    EXPECT_TRUE(hotKeys.press(KEY_V, superShift));
    settle();
    EXPECT_EQ(triggered, (QList<Action> {Action::openWorkspace, Action::clipboardHistory}));
}

TEST_F(HotKeyManagerTest, NoDisplayRegistersNothingAndKeepsRunning)
{
    hotKeys.setNoDisplay(true);
    manager.registerAll();
    manager.registerAll();
    EXPECT_TRUE(manager.idToAction().empty());
    EXPECT_EQ(manager.nextId(), 7u);
}

TEST_F(HotKeyManagerTest, RowsAndFallbackLettersBecomeModifiersAndKeys)
{
    auto profile = NorvelleShortcutsProfile::defaults();
    profile.openWorkspace = ActionShortcut {false, ShortcutModifierPreset::controlOptionCommand, "Q"};
    profile.newNote = ActionShortcut {false, ShortcutModifierPreset::commandOption, "é"};
    profile.clipboardHistory = ActionShortcut {true, ShortcutModifierPreset::controlOptionCommand, "z"};
    saveShortcutsProfile(profile);
    manager.registerAll();

    const auto registered = hotKeys.registered();
    ASSERT_EQ(registered.size(), 3);
    EXPECT_EQ(registered[0].keyCode, KEY_Q);
    EXPECT_EQ(registered[0].modifiers, GlobalHotKeys::super | GlobalHotKeys::alt | GlobalHotKeys::control);
    EXPECT_EQ(registered[1].keyCode, KEY_N);
    EXPECT_EQ(registered[1].modifiers, superAlt);
    EXPECT_EQ(registered[2].keyCode, KEY_V);
    EXPECT_EQ(registered[2].modifiers, superShift);
}

TEST(HotKeyManagerKeyCodes, EveryLetterHasItsUsPositionKey)
{
    const auto& codes = HotKeyManager::letterKeyCodes();
    ASSERT_EQ(codes.size(), 26);
    // Rows of the US layout: the codes run along each row.
    const QString rows[] = {"qwertyuiop", "asdfghjkl", "zxcvbnm"};
    const int rowStarts[] = {KEY_Q, KEY_A, KEY_Z};
    for (int row = 0; row < 3; ++row) {
        for (int i = 0; i < rows[row].size(); ++i) {
            EXPECT_EQ(codes.value(rows[row].at(i)), rowStarts[row] + i) << rows[row].at(i).toLatin1();
        }
    }
}

TEST(HotKeyManagerLifetime, ADestroyedManagerReleasesItsKeysAndIgnoresPresses)
{
    FakeGlobalHotKeys hotKeys;
    {
        HotKeyManager manager(hotKeys);
        manager.registerAll();
    }
    EXPECT_TRUE(hotKeys.registered().isEmpty());
    hotKeys.deliver(1); // no handler left to call
}

} // namespace
} // namespace norvelle
