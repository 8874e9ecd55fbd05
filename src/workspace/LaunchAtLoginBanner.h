#pragma once

#include <QWidget>

#include <functional>
#include <optional>

namespace norvelle {

class PlainButton;
class WorkspaceView;

// "Never miss a copy": the invitation above the notes to start the program at login. Either
// button hides it for good.
class LaunchAtLoginBanner : public QWidget {
    Q_OBJECT
public:
    // Registers the login item; returns the reason when it could not.
    using RegisterLoginItem = std::function<std::optional<QString>()>;

    LaunchAtLoginBanner(WorkspaceView& workspace, RegisterLoginItem registerLoginItem, QWidget* parent = nullptr);

    PlainButton* enableButton() const { return m_enable; }

    // Registration failures are dropped: the banner goes either way.
    void enableLaunchAtLogin();
    void dismissLaunchAtLoginBanner();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    WorkspaceView& m_workspace;
    RegisterLoginItem m_registerLoginItem;
    PlainButton* m_enable;
};

} // namespace norvelle
