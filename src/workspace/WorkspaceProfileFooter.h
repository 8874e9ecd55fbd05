#pragma once

#include <QWidget>

class QMenu;

namespace norvelle {

class PlainButton;
class WorkspaceView;

// The bottom of the sidebar: the profile menu (badge, name; "Profile & Settings",
// "Appearance", "Help", "Log Out") when an account is signed in, else "Sign in or sign up";
// then the settings gear.
class WorkspaceProfileFooter : public QWidget {
    Q_OBJECT
public:
    explicit WorkspaceProfileFooter(WorkspaceView& workspace, QWidget* parent = nullptr);

    void refresh();
    bool isSignedIn() const { return m_signedIn; }

    QWidget* profileButton() const { return m_profile; }
    PlainButton* signInButton() const { return m_signIn; }
    PlainButton* settingsButton() const { return m_settings; }
    // The profile menu as it is built for the current state.
    QMenu* profileMenu();

    static void openSettings(const std::optional<QString>& pane);

private:
    WorkspaceView& m_workspace;
    bool m_signedIn = false;
    QWidget* m_profile;
    PlainButton* m_signIn;
    PlainButton* m_settings;
    QMenu* m_menu;
};

} // namespace norvelle
