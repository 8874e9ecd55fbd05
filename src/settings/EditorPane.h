#pragma once

#include "settings/SettingsForm.h"

namespace norvelle {

class ToggleSwitch;

// The Editor pane: two editor options shown at their fixed values. No setting backs them, so
// operating one leaves it where it was.
class EditorPane : public SettingsForm {
    Q_OBJECT
public:
    explicit EditorPane(QWidget* parent = nullptr);

    ToggleSwitch* checklistAutoformatSwitch() const { return m_checklistAutoformat; }
    ToggleSwitch* pastePlainTextSwitch() const { return m_pastePlainText; }

private:
    ToggleSwitch* m_checklistAutoformat = nullptr;
    ToggleSwitch* m_pastePlainText = nullptr;
};

} // namespace norvelle
