#pragma once

class QLineEdit;
class QPushButton;

namespace norvelle {

// The e-mail part of a sign-in form: its two fields and its submit button, and whether it
// creates an account or signs in and is busy doing so. Every sign-in form keeps one, so they
// follow one rule.
struct EmailSignInForm {
    static constexpr int minimumPasswordCharacters = 8;

    QLineEdit* email = nullptr;
    QLineEdit* password = nullptr;
    QPushButton* submit = nullptr;
    bool isSignUp = false;
    bool isBusy = false;

    // Not busy, an e-mail typed (as typed) and a password of at least 8 characters.
    bool canSubmit() const;
    // The submit button's title ("Please wait…" while busy, else "Create account" or
    // "Sign in") and whether it is enabled.
    void refreshSubmit() const;
};

} // namespace norvelle
