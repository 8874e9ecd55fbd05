#pragma once

#include "core/ActionShortcut.h"
#include "core/NorvelleShortcutAction.h"

#include <QWidget>

class QComboBox;

namespace norvelle {

class TextLabel;
class ToggleSwitch;

// One action's row of the Shortcuts pane: its title, the shortcut in force, the "default"
// switch and, while the default is off, the modifier row and letter pickers. Operating a
// control asks for a change; the row shows whatever entry it is then given.
class ShortcutRow : public QWidget {
    Q_OBJECT
public:
    explicit ShortcutRow(NorvelleShortcutAction action, QWidget* parent = nullptr);

    NorvelleShortcutAction action() const { return m_action; }
    // Shows `entry` in the controls.
    void showEntry(const ActionShortcut& entry);
    // Reads the shortcut in force from the stored profile again.
    void refreshActive();

    TextLabel* activeLabel() const { return m_active; }
    ToggleSwitch* defaultSwitch() const { return m_default; }
    QComboBox* modifiersPicker() const { return m_modifiers; }
    QComboBox* letterPicker() const { return m_letter; }

signals:
    // The user asked for `proposal` as the action's shortcut.
    void changeRequested(NorvelleShortcutAction action, const ActionShortcut& proposal);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* makeLabelledPicker(const QString& title, QComboBox* picker);

    NorvelleShortcutAction m_action;
    ActionShortcut m_entry;
    TextLabel* m_active = nullptr;
    ToggleSwitch* m_default = nullptr;
    QWidget* m_pickers = nullptr;
    QComboBox* m_modifiers = nullptr;
    QComboBox* m_letter = nullptr;
};

} // namespace norvelle
