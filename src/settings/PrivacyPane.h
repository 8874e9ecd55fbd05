#pragma once

#include "settings/SettingsForm.h"

class QPushButton;

namespace norvelle {

class ToggleSwitch;

// The Privacy pane: how the program treats the user's data, the usage analytics switch and
// the privacy policy and terms, opened in the browser.
class PrivacyPane : public SettingsForm {
    Q_OBJECT
public:
    explicit PrivacyPane(QWidget* parent = nullptr);

    ToggleSwitch* analyticsSwitch() const { return m_analytics; }
    QPushButton* privacyPolicyButton() const { return m_privacy; }
    QPushButton* termsButton() const { return m_terms; }

private:
    ToggleSwitch* m_analytics = nullptr;
    QPushButton* m_privacy = nullptr;
    QPushButton* m_terms = nullptr;
};

} // namespace norvelle
