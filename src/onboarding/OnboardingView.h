#pragma once

#include <QWidget>

#include <functional>

class QShortcut;
class QStackedWidget;

namespace norvelle {

class AuthService;
class GoogleSignInManager;
class PlainButton;
class LaunchAtLoginPage;
class OnboardingAccountPage;
class OnboardingPageDots;
class OnboardingSlide;

// The onboarding's content: four feature slides, the launch-at-login page and the account
// page, with the page dots, Back, Continue (Return) and Skip. Every way out calls
// `onComplete`.
class OnboardingView : public QWidget {
    Q_OBJECT
public:
    static constexpr int lastSlide = 3;
    static constexpr int accountPage = 5;
    static constexpr int pageCount = 6;

    OnboardingView(std::function<void()> onComplete, AuthService& auth, GoogleSignInManager& google,
        QWidget* parent = nullptr);

    int page() const { return m_page; }
    void setPage(int page);

    PlainButton* skipButton() const { return m_skip; }
    PlainButton* backButton() const { return m_back; }
    PlainButton* continueButton() const { return m_continue; }
    OnboardingPageDots* dots() const { return m_dots; }
    OnboardingSlide* slide(int index) const;
    LaunchAtLoginPage* launchAtLoginPage() const { return m_launchAtLogin; }
    OnboardingAccountPage* accountPageView() const { return m_account; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void makeSlides();
    QWidget* centred(QWidget* page);
    void pressReturn();
    void fadeIn();

    std::function<void()> m_onComplete;
    int m_page = 0;
    QStackedWidget* m_pages = nullptr;
    QList<OnboardingSlide*> m_slides;
    LaunchAtLoginPage* m_launchAtLogin = nullptr;
    OnboardingAccountPage* m_account = nullptr;
    OnboardingPageDots* m_dots = nullptr;
    PlainButton* m_skip = nullptr;
    PlainButton* m_back = nullptr;
    PlainButton* m_continue = nullptr;
    QList<QShortcut*> m_returnKeys;
};

} // namespace norvelle
