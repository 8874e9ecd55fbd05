#pragma once

#include <QWidget>

class QPushButton;

namespace norvelle {

class PlainButton;
class LaunchAtLoginCard;

// The onboarding page that offers launching at login. The choice reaches the desktop only
// through the finish button or the sign-in link.
class LaunchAtLoginPage : public QWidget {
    Q_OBJECT
public:
    explicit LaunchAtLoginPage(QWidget* parent = nullptr);

    LaunchAtLoginCard* card() const { return m_card; }
    QPushButton* finishButton() const { return m_finish; }
    PlainButton* signInLink() const { return m_signIn; }

    // Turns the login item on or off as the card says, when it is not so already. A refusal
    // is only logged: the onboarding goes on.
    void applyLaunchAtLogin();

signals:
    void finishChosen();
    void signInChosen();

private:
    LaunchAtLoginCard* m_card = nullptr;
    QPushButton* m_finish = nullptr;
    PlainButton* m_signIn = nullptr;
};

} // namespace norvelle
