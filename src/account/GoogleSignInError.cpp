#include "account/GoogleSignInError.h"

namespace norvelle {

QString GoogleSignInError::localizedDescription() const
{
    switch (m_case) {
    case Case::notConfigured:
        return QStringLiteral("Google sign-in isn’t available in this copy of Norvelle. Sign in with your email instead.");
    case Case::cancelled: return QStringLiteral("Sign-in was cancelled.");
    case Case::badCallback: return QStringLiteral("Google returned an unexpected response. Please try again.");
    case Case::exchangeFailed: return QStringLiteral("Couldn’t complete Google sign-in. Please try again.");
    case Case::other: return m_otherText;
    }
    return {};
}

} // namespace norvelle
