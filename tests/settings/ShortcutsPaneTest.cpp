// The Shortcuts pane, driven through its switches, pickers and alert.
#include "settings/ShortcutsPane.h"
#include "UserInput.h"
#include "core/NorvelleShortcutsProfile.h"
#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"
#include "settings/SettingsSection.h"
#include "settings/ShortcutRow.h"
#include "settings/ToggleSwitch.h"
#include "support/TestHome.h"
#include "ui/TextLabel.h"

#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

namespace norvelle {
namespace {

using Action = NorvelleShortcutAction;
using test::click;

class ShortcutsPaneTest : public testing::Test {
protected:
    ShortcutsPaneTest()
    {
        NotificationCenter::defaultCenter().addObserver(shortcutsChangedNotification(), nullptr,
            [this](const Notification&) { ++saves; });
    }

    ShortcutsPane& pane()
    {
        if (!m_pane) {
            m_pane = std::make_unique<ShortcutsPane>();
            m_pane->resize(480, 900);
            m_pane->show();
        }
        return *m_pane;
    }
    ShortcutRow& row(Action action) { return *pane().row(action); }
    QString active(Action action) { return row(action).activeLabel()->text(); }

    // Picks an entry the way the keyboard does on a closed picker: typing its first letter.
    static void type(QComboBox* picker, Qt::Key key)
    {
        ASSERT_TRUE(picker->isVisible());
        QTest::keyClick(picker, key);
    }
    static void chooseModifiers(ShortcutRow& row, int index)
    {
        row.modifiersPicker()->setFocus();
        while (row.modifiersPicker()->currentIndex() < index) {
            QTest::keyClick(row.modifiersPicker(), Qt::Key_Down);
        }
    }

    // Presses the alert's only button.
    void dismissAlert()
    {
        QMessageBox* alert = pane().alert();
        ASSERT_NE(alert, nullptr);
        ASSERT_TRUE(alert->isVisible());
        ASSERT_EQ(alert->buttons().size(), 1);
        EXPECT_EQ(alert->buttons().first()->text(), "OK");
        QTest::mouseClick(alert->buttons().first(), Qt::LeftButton);
        EXPECT_FALSE(pane().alertMessage().has_value());
    }

    int saves = 0;

private:
    std::unique_ptr<ShortcutsPane> m_pane;
};

TEST_F(ShortcutsPaneTest, TheDefaultProfileShowsEveryDefaultOnAndNoPickers)
{
    EXPECT_EQ(active(Action::openWorkspace), "Active: Shift+Super+K");
    EXPECT_EQ(active(Action::newNote), "Active: Shift+Super+N");
    EXPECT_EQ(active(Action::clipboardHistory), "Active: Shift+Super+V");
    for (const Action action : allShortcutActions()) {
        EXPECT_TRUE(row(action).defaultSwitch()->isChecked());
        EXPECT_FALSE(row(action).modifiersPicker()->isVisible());
        EXPECT_FALSE(row(action).letterPicker()->isVisible());
    }
    EXPECT_EQ(row(Action::openWorkspace).defaultSwitch()->accessibleName(), "Use Norvelle default (Shift+Super+K)");
    QStringList presets;
    for (int i = 0; i < row(Action::newNote).modifiersPicker()->count(); ++i) {
        presets << row(Action::newNote).modifiersPicker()->itemText(i);
    }
    EXPECT_EQ(presets, QStringList({"Shift+Super — recommended", "Alt+Super", "Ctrl+Alt+Super"}));
    EXPECT_EQ(row(Action::newNote).letterPicker()->count(), 26);
    EXPECT_EQ(saves, 0);
    // The icons live in the desktop's tray: there is no menu bar to point at.
    EXPECT_EQ(pane().sections().first()->header(), "Tray");
    for (const TextLabel* text : pane().findChildren<TextLabel*>()) {
        EXPECT_FALSE(text->text().contains("menu bar", Qt::CaseInsensitive)) << text->text().toStdString();
    }
}

TEST_F(ShortcutsPaneTest, TurningTheDefaultOffShowsThePickersAndSavesWithoutAnAlert)
{
    click(row(Action::newNote).defaultSwitch());
    EXPECT_TRUE(row(Action::newNote).modifiersPicker()->isVisible());
    EXPECT_EQ(row(Action::newNote).modifiersPicker()->currentText(), "Shift+Super — recommended");
    EXPECT_EQ(row(Action::newNote).letterPicker()->currentText(), "N");
    EXPECT_FALSE(loadShortcutsProfile().newNote.usesDefault);
    EXPECT_EQ(saves, 1);
    EXPECT_FALSE(pane().alertMessage().has_value());
    EXPECT_EQ(active(Action::newNote), "Active: Shift+Super+N");
    // Each picker is wide enough for its longest choice, and the two line up.
    for (QComboBox* picker : {row(Action::newNote).modifiersPicker(), row(Action::newNote).letterPicker()}) {
        EXPECT_GE(picker->width(), picker->sizeHint().width()) << picker->currentText().toStdString();
    }
    EXPECT_EQ(row(Action::newNote).modifiersPicker()->geometry().left(),
        row(Action::newNote).letterPicker()->geometry().left());
}

// Trying the old combination while a picker has the keyboard must not pick its letter.
TEST_F(ShortcutsPaneTest, AChordTypedIntoAPickerChoosesNothing)
{
    click(row(Action::clipboardHistory).defaultSwitch());
    ShortcutRow& history = row(Action::clipboardHistory);
    history.letterPicker()->setFocus();
    type(history.letterPicker(), Qt::Key_C);
    ASSERT_EQ(loadShortcutsProfile().clipboardHistory.keyLetter, "c");
    const int savesBefore = saves;

    for (const Qt::KeyboardModifiers chord : {Qt::MetaModifier | Qt::ShiftModifier, Qt::ControlModifier | Qt::AltModifier}) {
        QTest::keyClick(history.letterPicker(), Qt::Key_V, chord);
        QTest::keyClick(history.modifiersPicker(), Qt::Key_Down, chord);
    }
    EXPECT_EQ(history.letterPicker()->currentText(), "C");
    EXPECT_EQ(history.modifiersPicker()->currentIndex(), 0);
    EXPECT_EQ(loadShortcutsProfile().clipboardHistory.keyLetter, "c");
    EXPECT_EQ(saves, savesBefore);
    EXPECT_EQ(active(Action::clipboardHistory), "Active: Shift+Super+C");
}

TEST_F(ShortcutsPaneTest, AClashIsRefusedWithAnAlertAndThePickerShowsTheOldLetter)
{
    click(row(Action::newNote).defaultSwitch());
    const NorvelleShortcutsProfile before = loadShortcutsProfile();
    type(row(Action::newNote).letterPicker(), Qt::Key_K);
    EXPECT_EQ(pane().alertMessage(), "“Open workspace” and “New note” use the same shortcut.");
    EXPECT_EQ(pane().alert()->windowTitle(), "Norvelle");
    EXPECT_EQ(pane().alert()->informativeText(), *pane().alertMessage());
    EXPECT_EQ(row(Action::newNote).letterPicker()->currentText(), "N");
    EXPECT_EQ(loadShortcutsProfile(), before);
    EXPECT_EQ(pane().workingProfile(), before);
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(active(Action::newNote), "Active: Shift+Super+N");
    dismissAlert();
}

TEST_F(ShortcutsPaneTest, AnotherModifierRowAndLetterAreAcceptedAndShownAsActive)
{
    click(row(Action::newNote).defaultSwitch());
    chooseModifiers(row(Action::newNote), 1);
    type(row(Action::newNote).letterPicker(), Qt::Key_K);
    EXPECT_FALSE(pane().alertMessage().has_value());
    EXPECT_EQ(active(Action::newNote), "Active: Alt+Super+K");
    const ActionShortcut stored = loadShortcutsProfile().newNote;
    EXPECT_EQ(stored, (ActionShortcut {false, ShortcutModifierPreset::commandOption, "k"}));
    EXPECT_EQ(saves, 3);
}

TEST_F(ShortcutsPaneTest, SwitchingBackToADefaultHeldByAnotherActionIsRefused)
{
    click(row(Action::clipboardHistory).defaultSwitch());
    chooseModifiers(row(Action::clipboardHistory), 1);
    click(row(Action::newNote).defaultSwitch());
    type(row(Action::newNote).letterPicker(), Qt::Key_V);
    ASSERT_FALSE(pane().alertMessage().has_value());
    EXPECT_EQ(active(Action::newNote), "Active: Shift+Super+V");
    EXPECT_EQ(active(Action::clipboardHistory), "Active: Alt+Super+V");

    click(row(Action::clipboardHistory).defaultSwitch());
    EXPECT_EQ(pane().alertMessage(), "“New note” and “Clipboard history” use the same shortcut.");
    EXPECT_FALSE(row(Action::clipboardHistory).defaultSwitch()->isChecked());
    EXPECT_TRUE(row(Action::clipboardHistory).modifiersPicker()->isVisible());
    EXPECT_FALSE(loadShortcutsProfile().clipboardHistory.usesDefault);
    dismissAlert();
}

TEST_F(ShortcutsPaneTest, RestoreDefaultsSavesTheDefaultProfileWithoutAsking)
{
    click(row(Action::newNote).defaultSwitch());
    chooseModifiers(row(Action::newNote), 2);
    click(row(Action::openWorkspace).defaultSwitch());
    const int savesBefore = saves;
    QTest::mouseClick(pane().restoreDefaultsButton(), Qt::LeftButton);
    EXPECT_EQ(saves, savesBefore + 1);
    EXPECT_EQ(loadShortcutsProfile(), NorvelleShortcutsProfile::defaults());
    EXPECT_EQ(pane().workingProfile(), NorvelleShortcutsProfile::defaults());
    for (const Action action : allShortcutActions()) {
        EXPECT_TRUE(row(action).defaultSwitch()->isChecked());
        EXPECT_FALSE(row(action).modifiersPicker()->isVisible());
    }
    EXPECT_EQ(active(Action::newNote), "Active: Shift+Super+N");
    EXPECT_FALSE(pane().alertMessage().has_value());
}

TEST_F(ShortcutsPaneTest, AStoredLetterThatIsNoLetterShowsNoneChosenAndTheDefaultInForce)
{
    NorvelleShortcutsProfile stored = NorvelleShortcutsProfile::defaults();
    stored.newNote = {false, ShortcutModifierPreset::controlOptionCommand, "7x"};
    stored.clipboardHistory = {false, ShortcutModifierPreset::commandOption, ""};
    saveShortcutsProfile(stored);
    EXPECT_EQ(row(Action::newNote).letterPicker()->currentIndex(), -1);
    EXPECT_EQ(active(Action::newNote), "Active: Ctrl+Alt+Super+N");
    // An empty letter shows the default one.
    EXPECT_EQ(row(Action::clipboardHistory).letterPicker()->currentText(), "V");
    // Only the first character of a longer letter counts.
    stored.newNote.keyLetter = "Qz";
    saveShortcutsProfile(stored);
    EXPECT_EQ(active(Action::newNote), "Active: Ctrl+Alt+Super+Q");
}

} // namespace
} // namespace norvelle
