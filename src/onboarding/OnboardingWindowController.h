#pragma once

#include "platform/WindowController.h"

#include <functional>

namespace norvelle {

class AuthService;
class GoogleSignInManager;
class OnboardingView;
class OnboardingWindow;

// The first-run window and its pages. Finishing, in any of its ways, records that onboarding
// is done, closes the window and calls onFinish; the window offers no other way out.
class OnboardingWindowController : public WindowController {
    Q_OBJECT
public:
    // Signs in through the program's account services.
    explicit OnboardingWindowController(QObject* parent = nullptr);
    OnboardingWindowController(AuthService& auth, GoogleSignInManager& google, QObject* parent = nullptr);

    // Called once onboarding is finished and the window closed.
    std::function<void()> onFinish;

    OnboardingView* view() const { return m_view; }

    // Records that onboarding is done, closes the window and calls onFinish.
    void finish();

private:
    OnboardingView* m_view = nullptr;
};

} // namespace norvelle
