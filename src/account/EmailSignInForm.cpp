#include "account/EmailSignInForm.h"

#include "platform/GraphemeWalker.h"

#include <QLineEdit>
#include <QPushButton>

namespace norvelle {

bool EmailSignInForm::canSubmit() const
{
    return !isBusy && !email->text().isEmpty()
        && GraphemeWalker::endOfFirst(password->text(), minimumPasswordCharacters).has_value();
}

void EmailSignInForm::refreshSubmit() const
{
    submit->setText(isBusy ? QStringLiteral("Please wait…") : isSignUp ? QStringLiteral("Create account")
                                                                       : QStringLiteral("Sign in"));
    submit->setEnabled(canSubmit());
}

} // namespace norvelle
