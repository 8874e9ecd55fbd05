#include "onboarding/OnboardingAccountPage.h"

#include "account/AuthService.h"
#include "account/GoogleSignInButton.h"
#include "account/GoogleSignInManager.h"
#include "onboarding/AppIconView.h"
#include "onboarding/OnboardingSlide.h"
#include "ui/BrandGradientButtonStyle.h"
#include "ui/MessageBoxRoom.h"
#include "ui/PlainButton.h"
#include "ui/SchemePalette.h"
#include "ui/TextLabel.h"
#include "ui/ViewFont.h"

#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace norvelle {

namespace {

constexpr int fieldWidth = 300;

QLineEdit* makeField(const QString& placeholder, QWidget* parent)
{
    auto* field = new QLineEdit(parent);
    field->setPlaceholderText(placeholder);
    field->setAccessibleName(placeholder);
    field->setFixedWidth(fieldWidth);
    field->setMinimumHeight(30);
    field->setFont(viewFont(13));
    return field;
}

// A line of the secondary colour at a quarter of its strength.
class Hairline : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        QColor color = SchemeColors(palette()).secondaryText();
        color.setAlphaF(color.alphaF() * 0.25f);
        painter.fillRect(QRectF(0, (height() - 1) / 2.0, width(), 1), color);
    }
};

} // namespace

OnboardingAccountPage::OnboardingAccountPage(AuthService& auth, GoogleSignInManager& google, QWidget* parent)
    : QWidget(parent)
    , m_auth(auth)
    , m_googleSignIn(google)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(14);
    layout->addWidget(new AppIconView(64, this), 0, Qt::AlignHCenter);
    layout->addWidget(OnboardingSlide::textBlock(QStringLiteral("Sync across your computers"), 22,
        QStringLiteral("Signing in is optional — it syncs your notes across your computers. Your clipboard "
                       "history always stays private on this computer."),
        12.5, 7, 390));
    m_google = new GoogleSignInButton(this);
    m_google->setFixedSize(fieldWidth, 44);
    layout->addWidget(m_google, 0, Qt::AlignHCenter);
    layout->addWidget(makeDivider(), 0, Qt::AlignHCenter);

    auto* form = new QVBoxLayout;
    form->setSpacing(8);
    m_form.email = makeField(QStringLiteral("Email"), this);
    m_form.password = makeField(QStringLiteral("Password (8+ characters)"), this);
    m_form.password->setEchoMode(QLineEdit::Password);
    m_form.submit = new QPushButton(this);
    BrandGradientButtonStyle {.fullWidth = false}.apply(*m_form.submit);
    m_form.submit->setFixedWidth(264 + 2 * 18);
    auto* dimmed = new QGraphicsOpacityEffect(m_form.submit);
    dimmed->setOpacity(0.45);
    m_form.submit->setGraphicsEffect(dimmed);
    m_error = new TextLabel({}, viewFont(11), &SchemeColors::destructive, this);
    m_error->setWordWrap(true);
    m_error->setAlignment(Qt::AlignCenter);
    m_error->setFixedWidth(fieldWidth);
    m_switch = new PlainButton({}, {.font = viewFont(11), .color = &SchemeColors::secondaryText, .padding = QMargins(4, 2, 4, 2)}, this);
    for (QWidget* item : std::initializer_list<QWidget*> {m_form.email, m_form.password, m_form.submit, m_error, m_switch}) {
        form->addWidget(item, 0, Qt::AlignHCenter);
    }
    layout->addLayout(form);

    m_continue = new PlainButton(QStringLiteral("Continue without an account"),
        {.font = viewFont(12), .color = &SchemeColors::secondaryText, .padding = QMargins(4, 4, 4, 2)}, this);
    layout->addWidget(m_continue, 0, Qt::AlignHCenter);

    connect(m_form.email, &QLineEdit::textChanged, this, &OnboardingAccountPage::refresh);
    connect(m_form.password, &QLineEdit::textChanged, this, &OnboardingAccountPage::refresh);
    connect(m_google, &QAbstractButton::clicked, this, &OnboardingAccountPage::startGoogleSignIn);
    connect(m_form.submit, &QPushButton::clicked, this, &OnboardingAccountPage::submit);
    // Return in the password field sends the form (submit does nothing while it is incomplete).
    connect(m_form.password, &QLineEdit::returnPressed, this, &OnboardingAccountPage::submit);
    connect(m_switch, &QAbstractButton::clicked, this, [this] {
        m_form.isSignUp = !m_form.isSignUp;
        m_emailError.reset();
        refresh();
    });
    connect(m_continue, &QAbstractButton::clicked, this, &OnboardingAccountPage::finished);
    refresh();
}

QWidget* OnboardingAccountPage::makeDivider()
{
    auto* row = new QWidget(this);
    row->setFixedWidth(fieldWidth);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    const auto line = [row] {
        auto* rule = new Hairline(row);
        rule->setFixedHeight(2);
        return rule;
    };
    layout->addWidget(line(), 1, Qt::AlignVCenter);
    layout->addWidget(new TextLabel(QStringLiteral("or"), viewFont(10), &SchemeColors::tertiaryText, row));
    layout->addWidget(line(), 1, Qt::AlignVCenter);
    return row;
}

void OnboardingAccountPage::submit()
{
    if (!m_form.submit->isEnabled()) {
        return;
    }
    m_emailError.reset();
    m_form.isBusy = true;
    refresh();
    m_auth.authenticateWithEmail(m_form.email->text().trimmed(), m_form.password->text(), m_form.isSignUp, std::nullopt,
        [page = QPointer<OnboardingAccountPage>(this)](std::optional<ServiceError> error) {
            if (!page) {
                return;
            }
            if (!error) {
                emit page->finished();
            }
            if (page) {
                page->m_emailError = error ? std::optional(error->localizedDescription()) : std::nullopt;
                page->m_form.isBusy = false;
                page->refresh();
            }
        });
}

void OnboardingAccountPage::startGoogleSignIn()
{
    m_googleSignIn.signIn(window(), [page = QPointer<OnboardingAccountPage>(this)](std::optional<GoogleSignInError> error) {
        if (!page) {
            return;
        }
        if (!error) {
            emit page->finished();
        } else if (error->kind() != GoogleSignInError::Case::cancelled) {
            page->showGoogleAlert(error->localizedDescription());
        }
    });
}

void OnboardingAccountPage::showGoogleAlert(const QString& message)
{
    auto* alert = new QMessageBox(QMessageBox::NoIcon, QStringLiteral("Sign in with Google"),
        QStringLiteral("Sign in with Google"), QMessageBox::NoButton, window());
    alert->setInformativeText(message);
    alert->addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    alert->setWindowModality(Qt::WindowModal);
    alert->setAttribute(Qt::WA_DeleteOnClose);
    followSchemeOf(*alert, *this);
    giveMessageRoom(*alert);
    m_googleAlert = alert;
    alert->open();
}

void OnboardingAccountPage::refresh()
{
    m_form.refreshSubmit();
    // The brand style has no disabled look of its own.
    m_form.submit->graphicsEffect()->setEnabled(!m_form.submit->isEnabled());
    m_error->setText(m_emailError.value_or(QString()));
    // A wrapped label is laid out at one line's height unless it asks for all of its lines.
    m_error->setMinimumHeight(std::max(0, m_error->heightForWidth(fieldWidth)));
    m_error->setVisible(m_emailError.has_value());
    m_switch->setText(m_form.isSignUp ? QStringLiteral("Already have an account? Sign in")
                                      : QStringLiteral("New here? Create an account"));
    m_switch->updateGeometry();
}

} // namespace norvelle
