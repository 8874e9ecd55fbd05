#pragma once

#include "core/NorvelleShortcutsProfile.h"
#include "settings/SettingsForm.h"

#include <QMessageBox>
#include <QPointer>

#include <map>
#include <optional>

class QPushButton;

namespace norvelle {

class ShortcutRow;

// The Shortcuts pane: the three global shortcuts. Each change is checked against the other
// two first; a refused one is explained in an alert and leaves everything as it was, an
// accepted one is saved at once (the hot keys then register again).
class ShortcutsPane : public SettingsForm {
    Q_OBJECT
public:
    explicit ShortcutsPane(QWidget* parent = nullptr);

    const NorvelleShortcutsProfile& workingProfile() const { return m_profile; }
    ShortcutRow* row(NorvelleShortcutAction action) const { return m_rows.at(action); }
    QPushButton* restoreDefaultsButton() const { return m_restore; }
    // The alert's message while it is shown.
    const std::optional<QString>& alertMessage() const { return m_alertMessage; }
    QMessageBox* alert() const { return m_alert; }

    void applyShortcutChange(NorvelleShortcutAction action, const ActionShortcut& proposal);
    void restoreDefaults();

private:
    void showAlert(const QString& message);
    void showProfile();

    NorvelleShortcutsProfile m_profile;
    std::optional<QString> m_alertMessage;
    QPointer<QMessageBox> m_alert;
    std::map<NorvelleShortcutAction, ShortcutRow*> m_rows;
    QPushButton* m_restore = nullptr;
};

} // namespace norvelle
