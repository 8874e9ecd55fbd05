#include "account/AppleSignInRunner.h"

#include "account/AuthService.h"

#include <QStringList>

namespace norvelle {

void AppleIDProvider::performRequest(QWidget*, std::function<void(std::optional<AppleIDCredential>, QString)> done)
{
    done(std::nullopt, unavailableMessage);
}

AppleIDProvider& AppleIDProvider::system()
{
    static AppleIDProvider provider;
    return provider;
}

AppleSignInRunner::AppleSignInRunner(QWidget* anchor, AuthService& auth, AppleIDProvider& provider)
    : m_anchor(anchor)
    , m_auth(auth)
    , m_provider(provider)
{
}

std::shared_ptr<AppleSignInRunner> AppleSignInRunner::make(QWidget* anchor, AuthService& auth, AppleIDProvider& provider)
{
    return std::shared_ptr<AppleSignInRunner>(new AppleSignInRunner(anchor, auth, provider));
}

void AppleSignInRunner::start(std::function<void(bool)> continuation)
{
    m_continuation = std::move(continuation);
    m_retain = shared_from_this();
    std::weak_ptr<AppleSignInRunner> weak = m_retain;
    m_provider.performRequest(m_anchor, [weak](std::optional<AppleIDCredential> credential, QString error) {
        const std::shared_ptr<AppleSignInRunner> self = weak.lock();
        // The provider may report twice: only the first report counts.
        if (!self || !self->m_continuation || self->m_reported) {
            return;
        }
        self->m_reported = true;
        if (!credential) {
            self->m_lastError = error;
            self->finish(false);
            return;
        }
        const std::optional<QByteArray>& token = credential->identityToken;
        const QString text = token ? QString::fromUtf8(*token) : QString();
        if (!token || text.toUtf8() != *token) {
            self->finish(false);
            return;
        }
        QStringList parts;
        for (const std::optional<QString>& part : {credential->givenName, credential->familyName}) {
            if (part) {
                parts << *part;
            }
        }
        const QString fullName = parts.join(u' ');
        self->m_auth.signInWithApple(text, credential->email, fullName.isEmpty() ? std::nullopt : std::optional(fullName),
            [weak](std::optional<ServiceError> failure) {
                if (const std::shared_ptr<AppleSignInRunner> runner = weak.lock()) {
                    runner->finish(!failure);
                }
            });
    });
}

void AppleSignInRunner::finish(bool signedIn)
{
    std::function<void(bool)> continuation = std::move(m_continuation);
    m_continuation = nullptr;
    if (continuation) {
        continuation(signedIn);
    }
    // Last: this may release the runner.
    std::shared_ptr<AppleSignInRunner> keep = std::move(m_retain);
}

} // namespace norvelle
