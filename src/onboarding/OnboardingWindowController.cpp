#include "onboarding/OnboardingWindowController.h"

#include "account/AuthService.h"
#include "onboarding/OnboardingView.h"
#include "onboarding/OnboardingWindow.h"
#include "platform/UserDefaults.h"

#include <QPointer>
#include <QVBoxLayout>

namespace norvelle {

OnboardingWindowController::OnboardingWindowController(OnboardingAccountPage::EmailSignIn signIn, QObject* parent)
    : WindowController(std::make_unique<OnboardingWindow>(), parent)
{
    if (!signIn) {
        signIn = [](const QString& email, const QString& password, bool signUp, auto done) {
            AuthService::shared().authenticateWithEmail(email, password, signUp, std::nullopt,
                [done = std::move(done)](std::optional<ServiceError> error) {
                    done(error ? std::optional<QString>(error->localizedDescription()) : std::nullopt);
                });
        };
    }
    auto* layout = new QVBoxLayout(window());
    layout->setContentsMargins(0, 0, 0, 0);
    m_view = new OnboardingView(
        [controller = QPointer<OnboardingWindowController>(this)] {
            if (controller) {
                controller->finish();
            }
        },
        std::move(signIn), window());
    layout->addWidget(m_view);
}

void OnboardingWindowController::finish()
{
    UserDefaults::standard().set("norvelle.hasCompletedOnboarding", true);
    close();
    if (onFinish) {
        onFinish();
    }
}

} // namespace norvelle
