#include "account/AccountSignInInline.h"

#include "account/APIConfig.h"
#include "account/AuthService.h"
#include "account/GoogleSignInButton.h"
#include "account/GoogleSignInManager.h"
#include "platform/GraphemeWalker.h"
#include "ui/HexColor.h"

#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace norvelle {

namespace {

QString rgba(QColor color, double alpha)
{
    return QStringLiteral("rgba(%1,%2,%3,%4)").arg(color.red()).arg(color.green()).arg(color.blue()).arg(alpha);
}

QLabel* fieldLabel(const QString& text)
{
    auto* label = new QLabel(text);
    QFont font = label->font();
    font.setPixelSize(11);
    font.setWeight(QFont::Medium);
    label->setFont(font);
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

QWidget* hairline(const QColor& color)
{
    auto* line = new QWidget;
    line->setFixedHeight(1);
    line->setStyleSheet(QStringLiteral("background:%1;").arg(rgba(color, 0.22)));
    return line;
}

} // namespace

AccountSignInInline::AccountSignInInline(Anchor anchor, std::function<void()> onSignedIn, QWidget* parent)
    : AccountSignInInline(std::move(anchor), std::move(onSignedIn), AuthService::shared(), GoogleSignInManager::shared(), parent)
{
}

AccountSignInInline::AccountSignInInline(Anchor anchor, std::function<void()> onSignedIn, AuthService& auth,
    GoogleSignInManager& google, QWidget* parent)
    : QWidget(parent)
    , m_anchor(std::move(anchor))
    , m_onSignedIn(std::move(onSignedIn))
    , m_auth(auth)
    , m_google(google)
{
    build();
    refresh();
}

void AccountSignInInline::build()
{
    setObjectName(QStringLiteral("accountSignInInline"));
    setAttribute(Qt::WA_StyledBackground);
    setMaximumWidth(460);
    const QColor primary = palette().color(QPalette::WindowText);
    setStyleSheet(QStringLiteral(
        "#accountSignInInline { background:%1; border:1px solid %2; border-radius:14px; }"
        "#modeSwitch { background:%3; border-radius:9px; }"
        "#modeSwitch QPushButton { border:none; border-radius:7px; font-size:12px; font-weight:600; min-height:26px; color:%4; background:transparent; }"
        "#modeSwitch QPushButton:checked { background:%5; color:%6; }"
        "QLineEdit { font-size:13px; padding:0 12px; min-height:40px; border-radius:9px; background:%3; border:1px solid %7; }"
        "#submitButton { font-size:13px; font-weight:600; color:white; min-height:40px; border:none; border-radius:9px; background:%8; }")
                      .arg(rgba(primary, 0.035), rgba(primary, 0.09), rgba(primary, 0.06), rgba(primary, 0.6),
                          rgba(primary, 0.14), rgba(primary, 1.0), rgba(primary, 0.1), colorFromHexOrWhite(QStringLiteral("#0A84FF")).name()));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(13);

    auto* modes = new QWidget;
    modes->setObjectName(QStringLiteral("modeSwitch"));
    modes->setAttribute(Qt::WA_StyledBackground);
    auto* modesLayout = new QHBoxLayout(modes);
    modesLayout->setContentsMargins(3, 3, 3, 3);
    modesLayout->setSpacing(0);
    m_createTab = new QPushButton(QStringLiteral("Create account"));
    m_signInTab = new QPushButton(QStringLiteral("Sign in"));
    for (QPushButton* tab : {m_createTab, m_signInTab}) {
        tab->setCheckable(true);
        tab->setCursor(Qt::PointingHandCursor);
        tab->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        modesLayout->addWidget(tab);
    }
    connect(m_createTab, &QPushButton::clicked, this, [this] { selectMode(true); });
    connect(m_signInTab, &QPushButton::clicked, this, [this] { selectMode(false); });
    layout->addWidget(modes);

    m_googleButton = new GoogleSignInButton;
    connect(m_googleButton, &QAbstractButton::clicked, this, &AccountSignInInline::startGoogleSignIn);
    layout->addWidget(m_googleButton);

    auto* divider = new QHBoxLayout;
    divider->setSpacing(10);
    divider->setContentsMargins(0, 2, 0, 2);
    auto* orLabel = new QLabel(QStringLiteral("OR WITH EMAIL"));
    QFont orFont = orLabel->font();
    orFont.setPixelSize(9);
    orFont.setWeight(QFont::DemiBold);
    orFont.setLetterSpacing(QFont::AbsoluteSpacing, 0.6);
    orLabel->setFont(orFont);
    orLabel->setForegroundRole(QPalette::PlaceholderText);
    divider->addWidget(hairline(primary), 1);
    divider->addWidget(orLabel);
    divider->addWidget(hairline(primary), 1);
    layout->addLayout(divider);

    m_email = new QLineEdit;
    m_email->setObjectName(QStringLiteral("emailField"));
    m_email->setPlaceholderText(QStringLiteral("you@example.com"));
    m_password = new QLineEdit;
    m_password->setObjectName(QStringLiteral("passwordField"));
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setPlaceholderText(QStringLiteral("8+ characters"));
    for (const auto& [title, field] : {std::pair{QStringLiteral("Email"), m_email}, {QStringLiteral("Password"), m_password}}) {
        auto* group = new QVBoxLayout;
        group->setSpacing(6);
        group->addWidget(fieldLabel(title));
        field->setAccessibleName(title);
        group->addWidget(field);
        layout->addLayout(group);
        connect(field, &QLineEdit::textChanged, this, &AccountSignInInline::refresh);
    }
    connect(m_password, &QLineEdit::returnPressed, this, [this] {
        if (!isSubmitDisabled()) {
            submit();
        }
    });

    m_submit = new QPushButton;
    m_submit->setObjectName(QStringLiteral("submitButton"));
    m_submit->setCursor(Qt::PointingHandCursor);
    m_submit->setGraphicsEffect(new QGraphicsOpacityEffect(m_submit));
    connect(m_submit, &QPushButton::clicked, this, &AccountSignInInline::submit);
    layout->addWidget(m_submit);

    m_consent = new QLabel;
    m_consent->setObjectName(QStringLiteral("consentLine"));
    m_consent->setAlignment(Qt::AlignCenter);
    m_consent->setWordWrap(true);
    m_consent->setOpenExternalLinks(true);
    m_consent->setTextFormat(Qt::RichText);
    QFont small = m_consent->font();
    small.setPixelSize(10);
    m_consent->setFont(small);
    m_consent->setForegroundRole(QPalette::PlaceholderText);
    layout->addWidget(m_consent);

    m_error = new QLabel;
    m_error->setObjectName(QStringLiteral("errorLine"));
    m_error->setAlignment(Qt::AlignCenter);
    m_error->setWordWrap(true);
    QFont errorFont = m_error->font();
    errorFont.setPixelSize(11);
    m_error->setFont(errorFont);
    m_error->setStyleSheet(QStringLiteral("color:#FF3B30;"));
    layout->addWidget(m_error);
}

bool AccountSignInInline::isSubmitDisabled() const
{
    return m_busy || m_email->text().isEmpty()
        || !GraphemeWalker::endOfFirst(m_password->text(), minimumPasswordCharacters).has_value();
}

void AccountSignInInline::refresh()
{
    m_createTab->setChecked(m_isSignUp);
    m_signInTab->setChecked(!m_isSignUp);
    m_submit->setText(m_busy ? QStringLiteral("Please wait…") : m_isSignUp ? QStringLiteral("Create account") : QStringLiteral("Sign in"));
    const bool disabled = isSubmitDisabled();
    m_submit->setEnabled(!disabled);
    static_cast<QGraphicsOpacityEffect*>(m_submit->graphicsEffect())->setOpacity(disabled ? 0.5 : 1.0);
    const QString origin = APIConfig::webOrigin();
    const QColor link = palette().color(QPalette::PlaceholderText);
    const QString linkStyle = QStringLiteral("style=\"color:%1\"").arg(link.name());
    m_consent->setText(QStringLiteral("%1<a %2 href=\"%3/terms\">Terms</a> and <a %2 href=\"%3/privacy\">Privacy Policy</a>.")
                           .arg(m_isSignUp ? QStringLiteral("By creating an account you agree to our ")
                                           : QStringLiteral("By signing in you agree to our "),
                               linkStyle, origin));
    m_error->setText(m_errorText.value_or(QString()));
    m_error->setVisible(m_errorText && !m_errorText->isEmpty());
}

void AccountSignInInline::setError(const std::optional<QString>& text)
{
    m_errorText = text;
    refresh();
}

void AccountSignInInline::selectMode(bool isSignUp)
{
    m_isSignUp = isSignUp;
    setError(std::nullopt);
}

void AccountSignInInline::submit()
{
    if (isSubmitDisabled()) {
        return;
    }
    m_errorText.reset();
    m_busy = true;
    refresh();
    QPointer<AccountSignInInline> self(this);
    m_auth.authenticateWithEmail(m_email->text().trimmed(), m_password->text(), m_isSignUp, std::nullopt,
        [self, onSignedIn = m_onSignedIn](std::optional<ServiceError> error) {
            // The sign-in outlives a form closed meanwhile: its session is stored all the same.
            if (!error && onSignedIn) {
                onSignedIn();
            }
            if (self) {
                self->m_busy = false;
                self->setError(error ? std::optional(error->localizedDescription()) : self->m_errorText);
            }
        });
}

void AccountSignInInline::startGoogleSignIn()
{
    QPointer<AccountSignInInline> self(this);
    m_google.signIn(m_anchor ? m_anchor() : window(), [self, onSignedIn = m_onSignedIn](std::optional<GoogleSignInError> error) {
        if (!error) {
            if (onSignedIn) {
                onSignedIn();
            }
            return;
        }
        if (error->kind() != GoogleSignInError::Case::cancelled && self) {
            self->setError(error->localizedDescription());
        }
    });
}

} // namespace norvelle
