#pragma once

#include "settings/SettingsAccountServices.h"
#include "settings/SettingsPane.h"

#include <QWidget>

#include <map>

class QStackedWidget;

namespace norvelle {

class SettingsAccountState;
class SettingsForm;
class SettingsSidebar;

// The settings window's content: the pane sidebar on the left and the chosen pane's form on
// the right. A pane's form is built the first time it is shown. Switches to a pane when
// "norvelleOpenSettingsPane" names one, and brings its state up to date each time it is shown.
// Either sync switch changing re-arms the automatic sync.
class NorvelleSettingsView : public QWidget {
    Q_OBJECT
public:
    explicit NorvelleSettingsView(QWidget* parent = nullptr);
    explicit NorvelleSettingsView(SettingsAccountServices services, QWidget* parent = nullptr);

    SettingsPane pane() const { return m_pane; }
    void setPane(SettingsPane pane);
    SettingsSidebar* sidebar() const { return m_sidebar; }
    // The form of `pane`, built now when it was not yet.
    SettingsForm* form(SettingsPane pane);
    SettingsForm* currentForm() { return form(m_pane); }
    SettingsAccountState& accountState() const { return *m_accountState; }

    // What "norvelleOpenSettingsPane" does: switch to the pane named by the user info's
    // "pane" text; anything else is ignored.
    void handleOpenSettingsPane(const QVariantMap& userInfo);
    // Run each time the view is shown.
    void refreshOnAppear();

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    SettingsForm* makeForm(SettingsPane pane);

    SettingsPane m_pane = SettingsPane::general;
    SettingsAccountState* m_accountState = nullptr;
    SettingsSidebar* m_sidebar = nullptr;
    QStackedWidget* m_forms = nullptr;
    std::map<SettingsPane, SettingsForm*> m_builtForms;
};

} // namespace norvelle
