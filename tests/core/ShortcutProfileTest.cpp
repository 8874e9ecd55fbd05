#include "core/NorvelleShortcutsProfile.h"
#include "platform/NotificationCenter.h"
#include "platform/StoredSettings.h"
#include "platform/UserDefaults.h"

#include <QObject>
#include <gtest/gtest.h>

namespace norvelle {
namespace {

using Action = NorvelleShortcutAction;

ActionShortcut custom(ShortcutModifierPreset preset, const QString& letter)
{
    return ActionShortcut {false, preset, letter};
}

void storeRaw(const QByteArray& json)
{
    UserDefaults::standard().set(storedSettings::shortcutsProfileKey, json);
}

const QByteArray validStoredProfile = R"({
    "openWorkspace": {"usesDefault": false, "modifierPreset": "commandOption", "keyLetter": "w"},
    "newNote": {"usesDefault": true, "modifierPreset": "commandShift", "keyLetter": "n"},
    "clipboardHistory": {"usesDefault": false, "modifierPreset": "controlOptionCommand", "keyLetter": "c",
                         "extra": 1},
    "somethingElse": []
})";

TEST(ShortcutProfile, NothingStoredGivesTheDefaultShortcuts)
{
    const NorvelleShortcutsProfile profile = loadShortcutsProfile();
    EXPECT_EQ(profile, NorvelleShortcutsProfile::defaults());
    EXPECT_EQ(profile.label(Action::openWorkspace), "Shift+Super+K");
    EXPECT_EQ(profile.label(Action::newNote), "Shift+Super+N");
    EXPECT_EQ(profile.label(Action::clipboardHistory), "Shift+Super+V");
    EXPECT_EQ(profile.effectiveShortcut(Action::clipboardHistory),
        (EffectiveShortcut {0x120000, "v"}));
}

TEST(ShortcutProfile, ReadsAStoredProfileIgnoringExtraKeys)
{
    storeRaw(validStoredProfile);
    const NorvelleShortcutsProfile profile = loadShortcutsProfile();
    EXPECT_EQ(profile.openWorkspace, custom(ShortcutModifierPreset::commandOption, "w"));
    EXPECT_EQ(profile.newNote, (ActionShortcut {true, ShortcutModifierPreset::commandShift, "n"}));
    EXPECT_EQ(profile.clipboardHistory, custom(ShortcutModifierPreset::controlOptionCommand, "c"));
    EXPECT_EQ(profile.label(Action::openWorkspace), "Alt+Super+W");
    EXPECT_EQ(profile.label(Action::clipboardHistory), "Ctrl+Alt+Super+C");
}

TEST(ShortcutProfile, AnyFaultInTheStoredProfileLoadsTheWholeDefault)
{
    const QList<QByteArray> broken {
        "not json",
        "",
        "[]",
        "null",
        R"({"openWorkspace": {"usesDefault": false, "modifierPreset": "commandOption", "keyLetter": "w"},
            "clipboardHistory": {"usesDefault": true, "modifierPreset": "commandShift", "keyLetter": "v"}})",
        QByteArray(validStoredProfile).replace("controlOptionCommand", "commandControl"),
        QByteArray(validStoredProfile).replace("\"usesDefault\": true", "\"usesDefault\": 1"),
        QByteArray(validStoredProfile).replace("\"keyLetter\": \"w\"", "\"keyLetter\": 23"),
        QByteArray(validStoredProfile).replace("\"keyLetter\": \"n\"", "\"letter\": \"n\""),
        QByteArray(validStoredProfile).replace("\"modifierPreset\": \"commandShift\"", "\"modifierPreset\": null"),
        QByteArray(validStoredProfile).left(validStoredProfile.size() / 2),
    };
    for (const QByteArray& json : broken) {
        storeRaw(json);
        EXPECT_EQ(loadShortcutsProfile(), NorvelleShortcutsProfile::defaults()) << json.toStdString();
    }
    // A value of another type under the key counts as nothing stored.
    UserDefaults::standard().set(storedSettings::shortcutsProfileKey, QString::fromUtf8(validStoredProfile));
    EXPECT_EQ(loadShortcutsProfile(), NorvelleShortcutsProfile::defaults());
}

TEST(ShortcutProfile, SaveStoresJsonDataThatLoadsBackAndPostsOnce)
{
    QObject context;
    int posts = 0;
    NotificationCenter::defaultCenter().addObserver(shortcutsChangedNotification(), &context,
        [&](const Notification& notification) {
            ++posts;
            EXPECT_EQ(notification.object, nullptr);
            EXPECT_TRUE(notification.userInfo.isEmpty());
        });

    NorvelleShortcutsProfile profile = NorvelleShortcutsProfile::defaults();
    profile.setShortcut(Action::newNote, custom(ShortcutModifierPreset::controlOptionCommand, "Quit"));
    saveShortcutsProfile(profile);

    EXPECT_EQ(posts, 1);
    EXPECT_EQ(shortcutsChangedNotification(), "norvelleShortcutsChanged");
    EXPECT_EQ(storedSettings::shortcutsProfileKey, "norvelle.shortcuts.profile.v1");
    EXPECT_EQ(UserDefaults::standard().object(storedSettings::shortcutsProfileKey).typeId(), QMetaType::QByteArray);
    const NorvelleShortcutsProfile loaded = loadShortcutsProfile();
    EXPECT_EQ(loaded, profile);
    EXPECT_EQ(loaded.newNote.keyLetter, "Quit") << "the letter is stored as entered";
    EXPECT_EQ(loaded.label(Action::newNote), "Ctrl+Alt+Super+Q");

    saveShortcutsProfile(NorvelleShortcutsProfile::defaults());
    EXPECT_EQ(posts, 2);
    EXPECT_EQ(loadShortcutsProfile(), NorvelleShortcutsProfile::defaults());
}

TEST(ShortcutProfile, LetterRuleTakesOnlyTheFirstBasicLatinLetter)
{
    EXPECT_EQ(normalizedShortcutLetter("Q"), "q");
    EXPECT_EQ(normalizedShortcutLetter("q"), "q");
    EXPECT_EQ(normalizedShortcutLetter("Quit"), "q");
    EXPECT_EQ(normalizedShortcutLetter("Key"), "k");
    EXPECT_EQ(normalizedShortcutLetter("z"), "z");
    EXPECT_EQ(normalizedShortcutLetter("a1"), "a");
    for (const QString& refused : {QString(), QString("7"), QString(" k"), QString("-"), QString("é"),
             QString("ß"), QString("Ж"), QString("😀"), QString("k\u0301"), QString("\u0130"), QString("`"),
             QString("{")}) {
        EXPECT_EQ(normalizedShortcutLetter(refused), std::nullopt) << refused.toStdString();
    }
}

TEST(ShortcutProfile, SymbolAndNameRulesFollowOneOrder)
{
    EXPECT_EQ(modifierSymbols(0), "");
    EXPECT_EQ(modifierSymbols(0x1E0000), "⌃⌥⇧⌘");
    EXPECT_EQ(modifierSymbols(modifierFlags(ShortcutModifierPreset::commandShift)), "⇧⌘");
    EXPECT_EQ(modifierSymbols(modifierFlags(ShortcutModifierPreset::commandOption)), "⌥⌘");
    EXPECT_EQ(modifierSymbols(modifierFlags(ShortcutModifierPreset::controlOptionCommand)), "⌃⌥⌘");
    EXPECT_EQ(modifierNames(0x1E0000), "Ctrl+Alt+Shift+Super");
    EXPECT_EQ(modifierFlags(ShortcutModifierPreset::commandShift), 0x120000u);
    EXPECT_EQ(modifierFlags(ShortcutModifierPreset::commandOption), 0x180000u);
    EXPECT_EQ(modifierFlags(ShortcutModifierPreset::controlOptionCommand), 0x1C0000u);
    EXPECT_EQ(shortcutLabel(0, "x"), "X");
}

TEST(ShortcutProfile, EffectiveShortcutFallsBackOnlyWhereTheRulesSay)
{
    NorvelleShortcutsProfile profile = NorvelleShortcutsProfile::defaults();
    // usesDefault wins over whatever the other fields hold.
    profile.openWorkspace = ActionShortcut {true, ShortcutModifierPreset::commandOption, "x"};
    EXPECT_EQ(profile.effectiveShortcut(Action::openWorkspace), (EffectiveShortcut {0x120000, "k"}));
    // An invalid letter keeps the entry's row with the default letter.
    profile.newNote = custom(ShortcutModifierPreset::commandOption, "7");
    EXPECT_EQ(profile.effectiveShortcut(Action::newNote), (EffectiveShortcut {0x180000, "n"}));
    profile.clipboardHistory = custom(ShortcutModifierPreset::controlOptionCommand, "é");
    EXPECT_EQ(profile.label(Action::clipboardHistory), "Ctrl+Alt+Super+V");
}

TEST(ShortcutValidation, RefusesAnythingButOneLetterUnlessTheDefaultIsProposed)
{
    const auto current = NorvelleShortcutsProfile::defaults();
    const QString message = QString::fromUtf8("Use a single letter A\xE2\x80\x93Z for the shortcut key.");
    EXPECT_EQ(shortcutValidationMessage(Action::newNote, custom(ShortcutModifierPreset::commandOption, "7"), current),
        message);
    EXPECT_EQ(shortcutValidationMessage(Action::newNote, custom(ShortcutModifierPreset::commandOption, ""), current),
        message);
    EXPECT_EQ(shortcutValidationMessage(Action::newNote, ActionShortcut {true, ShortcutModifierPreset::commandOption, "7"},
                  current),
        std::nullopt);
    EXPECT_EQ(shortcutValidationMessage(Action::newNote, custom(ShortcutModifierPreset::commandOption, "Jot"), current),
        std::nullopt);
}

TEST(ShortcutValidation, NamesTheFirstPairThatWouldShareAShortcut)
{
    auto current = NorvelleShortcutsProfile::defaults();
    current.clipboardHistory = custom(ShortcutModifierPreset::commandOption, "v");
    EXPECT_EQ(shortcutValidationMessage(Action::openWorkspace, custom(ShortcutModifierPreset::commandOption, "V"), current),
        QString::fromUtf8("\xE2\x80\x9COpen workspace\xE2\x80\x9D and \xE2\x80\x9C"
                          "Clipboard history\xE2\x80\x9D use the same shortcut."));

    current = NorvelleShortcutsProfile::defaults();
    current.openWorkspace = custom(ShortcutModifierPreset::commandShift, "n");
    EXPECT_EQ(shortcutValidationMessage(Action::newNote, NorvelleShortcutsProfile::defaults().newNote, current),
        QString::fromUtf8("\xE2\x80\x9COpen workspace\xE2\x80\x9D and \xE2\x80\x9CNew note\xE2\x80\x9D use the same shortcut."));

    // All three equal: the first pair in order is named.
    current = NorvelleShortcutsProfile::defaults();
    current.newNote = custom(ShortcutModifierPreset::commandShift, "v");
    EXPECT_EQ(shortcutValidationMessage(Action::openWorkspace, custom(ShortcutModifierPreset::commandShift, "v"), current),
        QString::fromUtf8("\xE2\x80\x9COpen workspace\xE2\x80\x9D and \xE2\x80\x9CNew note\xE2\x80\x9D use the same shortcut."));

    // A fallback letter counts as the letter in force.
    current = NorvelleShortcutsProfile::defaults();
    current.clipboardHistory = custom(ShortcutModifierPreset::commandOption, "7"); // in force: Command-Option-V
    EXPECT_EQ(shortcutValidationMessage(Action::newNote, custom(ShortcutModifierPreset::commandOption, "v"), current),
        QString::fromUtf8("\xE2\x80\x9CNew note\xE2\x80\x9D and \xE2\x80\x9C"
                          "Clipboard history\xE2\x80\x9D use the same shortcut."));
}

TEST(ShortcutValidation, TheSameLetterOnAnotherRowIsAccepted)
{
    auto current = NorvelleShortcutsProfile::defaults();
    EXPECT_EQ(shortcutValidationMessage(Action::openWorkspace, custom(ShortcutModifierPreset::commandOption, "v"), current),
        std::nullopt);
    EXPECT_EQ(shortcutValidationMessage(Action::openWorkspace,
                  custom(ShortcutModifierPreset::controlOptionCommand, "n"), current),
        std::nullopt);
}

} // namespace
} // namespace norvelle
