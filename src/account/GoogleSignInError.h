#pragma once

#include <QString>

namespace norvelle {

// Why a Google sign-in ended without a session. `other` carries the text of an error that came
// from elsewhere (the browser session, the network, the account service).
class GoogleSignInError {
public:
    enum class Case { notConfigured,
        cancelled,
        badCallback,
        exchangeFailed,
        other };

    explicit GoogleSignInError(Case c, QString otherText = {})
        : m_case(c)
        , m_otherText(std::move(otherText))
    {
    }

    Case kind() const { return m_case; }
    QString localizedDescription() const;

private:
    Case m_case;
    QString m_otherText;
};

} // namespace norvelle
