#include "account/AccountSignInInline.h"

#include "account/APIConfig.h"
#include "account/AuthService.h"
#include "account/GoogleSignInButton.h"
#include "account/GoogleSignInManager.h"
#include "ui/HexColor.h"
#include "ui/RoundedPainting.h"
#include "ui/RoundedSurface.h"
#include "ui/SchemeColors.h"
#include "ui/SchemeStyleSheet.h"
#include "ui/TextLabel.h"
#include "ui/ViewFont.h"

#include <QEvent>
#include <QGraphicsDropShadowEffect>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace norvelle {

namespace {

QColor primaryAt(const QPalette& palette, qreal opacity)
{
    QColor color = palette.color(QPalette::WindowText);
    color.setAlphaF(float(opacity));
    return color;
}

TextLabel* smallLabel(const QString& text, int pixelSize, QFont::Weight weight, SchemeColorRole color)
{
    QFont font = viewFont(pixelSize, weight);
    auto* label = new TextLabel(text, font, std::move(color));
    return label;
}

// Half a point across, in the middle of its row: the secondary colour at 22 %.
class Hairline : public QWidget {
public:
    Hairline() { setFixedHeight(1); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QColor color = SchemeColors(palette()).secondaryText();
        color.setAlphaF(color.alphaF() * 0.22f);
        QPainter painter(this);
        painter.fillRect(QRectF(0, (height() - 0.5) / 2, width(), 0.5), color);
    }
};

// The sheets of the parts Qt draws from a style sheet, written for the scheme of the form they
// sit in. (A sheet on the form itself would cut every part off the window's palette.)
QString modeTabSheet(const QPalette& palette)
{
    return QStringLiteral(
        "QPushButton { border:none; border-radius:7px; font-size:12px; font-weight:600; min-height:26px; color:%1; background:transparent; }"
        "QPushButton:checked { background:%2; color:%3; }")
        .arg(styleSheetColor(SchemeColors(palette).secondaryText()), styleSheetColor(primaryAt(palette, 0.14)),
            styleSheetColor(primaryAt(palette, 1)));
}

QString fieldSheet(const QPalette& palette)
{
    return QStringLiteral("QLineEdit { font-size:13px; padding:0 12px; min-height:40px; border-radius:9px; background:%1; "
                          "border:1px solid %2; color:%3; }")
        .arg(styleSheetColor(primaryAt(palette, 0.06)), styleSheetColor(primaryAt(palette, 0.1)),
            styleSheetColor(primaryAt(palette, 1)));
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
    setMaximumWidth(460);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(13);

    auto* modes = new RoundedSurface([](const SchemeColors& colors) { return colors.overlay(0.06, 0.06); }, 9, this);
    modes->setObjectName(QStringLiteral("modeSwitch"));
    auto* modesLayout = new QHBoxLayout(modes);
    modesLayout->setContentsMargins(3, 3, 3, 3);
    modesLayout->setSpacing(0);
    m_createTab = new QPushButton(QStringLiteral("Create account"), modes);
    m_signInTab = new QPushButton(QStringLiteral("Sign in"), modes);
    for (QPushButton* tab : {m_createTab, m_signInTab}) {
        tab->setCheckable(true);
        auto* shadow = new QGraphicsDropShadowEffect(tab);
        shadow->setColor(QColor::fromRgbF(0, 0, 0, 0.12f));
        shadow->setBlurRadius(3);
        shadow->setOffset(0, 0.5);
        tab->setGraphicsEffect(shadow);
        tab->setCursor(Qt::PointingHandCursor);
        tab->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        setSchemeStyleSheet(*tab, modeTabSheet);
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
    TextLabel* orLabel = smallLabel(QStringLiteral("OR WITH EMAIL"), 9, QFont::DemiBold, &SchemeColors::tertiaryText);
    QFont orFont = orLabel->font();
    orFont.setLetterSpacing(QFont::AbsoluteSpacing, 0.6);
    orLabel->setFont(orFont);
    divider->addWidget(new Hairline, 1);
    divider->addWidget(orLabel);
    divider->addWidget(new Hairline, 1);
    layout->addLayout(divider);

    m_form.email = new QLineEdit(this);
    m_form.email->setObjectName(QStringLiteral("emailField"));
    m_form.email->setPlaceholderText(QStringLiteral("you@example.com"));
    m_form.password = new QLineEdit(this);
    m_form.password->setObjectName(QStringLiteral("passwordField"));
    m_form.password->setEchoMode(QLineEdit::Password);
    m_form.password->setPlaceholderText(QStringLiteral("8+ characters"));
    for (const auto& [title, field] : {std::pair {QStringLiteral("Email"), m_form.email}, {QStringLiteral("Password"), m_form.password}}) {
        auto* group = new QVBoxLayout;
        group->setSpacing(6);
        group->addWidget(smallLabel(title, 11, QFont::Medium, &SchemeColors::secondaryText));
        field->setAccessibleName(title);
        setSchemeStyleSheet(*field, fieldSheet);
        group->addWidget(field);
        layout->addLayout(group);
        connect(field, &QLineEdit::textChanged, this, &AccountSignInInline::refresh);
    }
    connect(m_form.password, &QLineEdit::returnPressed, this, [this] {
        if (!isSubmitDisabled()) {
            submit();
        }
    });

    m_form.submit = new QPushButton;
    m_form.submit->setObjectName(QStringLiteral("submitButton"));
    m_form.submit->setCursor(Qt::PointingHandCursor);
    m_form.submit->setGraphicsEffect(new QGraphicsOpacityEffect(m_form.submit));
    m_form.submit->setStyleSheet(QStringLiteral("#submitButton { font-size:13px; font-weight:600; color:white; min-height:40px; "
                                                "border:none; border-radius:9px; background:%1; }")
                                     .arg(colorFromHexOrWhite(QStringLiteral("#0A84FF")).name()));
    connect(m_form.submit, &QPushButton::clicked, this, &AccountSignInInline::submit);
    layout->addWidget(m_form.submit);

    m_consent = smallLabel({}, 10, QFont::Normal, &SchemeColors::tertiaryText);
    m_consent->setObjectName(QStringLiteral("consentLine"));
    m_consent->setAlignment(Qt::AlignCenter);
    m_consent->setWordWrap(true);
    m_consent->setOpenExternalLinks(true);
    m_consent->setTextFormat(Qt::RichText);
    layout->addWidget(m_consent);

    m_error = smallLabel({}, 11, QFont::Normal, [](const SchemeColors&) { return QColor(0xFF, 0x3B, 0x30); });
    m_error->setObjectName(QStringLiteral("errorLine"));
    m_error->setAlignment(Qt::AlignCenter);
    m_error->setWordWrap(true);
    layout->addWidget(m_error);
}

void AccountSignInInline::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRectF card = QRectF(rect()).adjusted(0.25, 0.25, -0.25, -0.25);
    fillRounded(painter, card, 14, primaryAt(palette(), 0.035));
    strokeRounded(painter, QRectF(rect()), 14, primaryAt(palette(), 0.09), 0.5);
}

void AccountSignInInline::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        // The links take the scheme's secondary colour.
        refresh();
    }
}

bool AccountSignInInline::isSubmitDisabled() const
{
    return !m_form.canSubmit();
}

void AccountSignInInline::refresh()
{
    m_createTab->setChecked(m_form.isSignUp);
    m_signInTab->setChecked(!m_form.isSignUp);
    // The selected tab stands out with a faint shadow.
    for (QPushButton* tab : {m_createTab, m_signInTab}) {
        tab->graphicsEffect()->setEnabled(tab->isChecked());
    }
    m_form.refreshSubmit();
    const bool disabled = !m_form.submit->isEnabled();
    static_cast<QGraphicsOpacityEffect*>(m_form.submit->graphicsEffect())->setOpacity(disabled ? 0.5 : 1.0);
    const QString origin = APIConfig::webOrigin();
    const QString linkStyle = QStringLiteral("style=\"color:%1\"").arg(SchemeColors(palette()).secondaryText().name(QColor::HexArgb));
    m_consent->setText(QStringLiteral("%1<a %2 href=\"%3/terms\">Terms</a> and <a %2 href=\"%3/privacy\">Privacy Policy</a>.")
                           .arg(m_form.isSignUp ? QStringLiteral("By creating an account you agree to our ")
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
    m_form.isSignUp = isSignUp;
    setError(std::nullopt);
}

void AccountSignInInline::submit()
{
    if (isSubmitDisabled()) {
        return;
    }
    m_errorText.reset();
    m_form.isBusy = true;
    refresh();
    QPointer<AccountSignInInline> self(this);
    m_auth.authenticateWithEmail(m_form.email->text().trimmed(), m_form.password->text(), m_form.isSignUp, std::nullopt,
        [self, onSignedIn = m_onSignedIn](std::optional<ServiceError> error) {
            // The sign-in outlives a form closed meanwhile: its session is stored all the same.
            if (!error && onSignedIn) {
                onSignedIn();
            }
            if (self) {
                self->m_form.isBusy = false;
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
