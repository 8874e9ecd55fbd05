#include "onboarding/OnboardingWindowController.h"

#include "account/AuthService.h"
#include "account/GoogleSignInManager.h"
#include "onboarding/OnboardingView.h"
#include "onboarding/OnboardingWindow.h"
#include "platform/StoredSettings.h"
#include "platform/UserDefaults.h"

#include <QPointer>
#include <QVBoxLayout>

namespace norvelle {

OnboardingWindowController::OnboardingWindowController(QObject* parent)
    : OnboardingWindowController(AuthService::shared(), GoogleSignInManager::shared(), parent)
{
}

OnboardingWindowController::OnboardingWindowController(AuthService& auth, GoogleSignInManager& google, QObject* parent)
    : WindowController(std::make_unique<OnboardingWindow>(), parent)
{
    auto* layout = new QVBoxLayout(window());
    layout->setContentsMargins(0, 0, 0, 0);
    m_view = new OnboardingView(
        [controller = QPointer<OnboardingWindowController>(this)] {
            if (controller) {
                controller->finish();
            }
        },
        auth, google, window());
    layout->addWidget(m_view);
}

void OnboardingWindowController::finish()
{
    storedSettings::hasCompletedOnboarding.set(true);
    close();
    if (onFinish) {
        onFinish();
    }
}

} // namespace norvelle
