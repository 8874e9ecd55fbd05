#include "onboarding/OnboardingView.h"

#include "account/APIConfig.h"
#include "onboarding/AppIconView.h"
#include "onboarding/ClipboardPreview.h"
#include "onboarding/LaunchAtLoginPage.h"
#include "onboarding/OnboardingAccountPage.h"
#include "onboarding/OnboardingPageDots.h"
#include "onboarding/OnboardingSlide.h"
#include "onboarding/StickyPreview.h"
#include "onboarding/SyncPreview.h"
#include "ui/BrandPalette.h"
#include "ui/PlainButton.h"
#include "ui/SchemePalette.h"
#include "ui/ViewFont.h"

#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QLinearGradient>
#include <QPainter>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace norvelle {

namespace {

constexpr int fadeMs = 280;

QColor grey(qreal white)
{
    return QColor::fromRgbF(float(white), float(white), float(white));
}

} // namespace

OnboardingView::OnboardingView(std::function<void()> onComplete, AuthService& auth, GoogleSignInManager& google,
    QWidget* parent)
    : QWidget(parent)
    , m_onComplete(std::move(onComplete))
{
    setFixedSize(560, 640);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addSpacing(22);

    m_pages = new QStackedWidget(this);
    makeSlides();
    m_launchAtLogin = new LaunchAtLoginPage;
    m_pages->addWidget(centred(m_launchAtLogin));
    m_account = new OnboardingAccountPage(auth, google);
    m_pages->addWidget(centred(m_account));
    layout->addWidget(m_pages, 1);
    layout->addSpacing(14);

    m_dots = new OnboardingPageDots(pageCount, this);
    layout->addWidget(m_dots, 0, Qt::AlignHCenter);
    layout->addSpacing(16);

    auto* navigation = new QWidget(this);
    navigation->setFixedHeight(36);
    auto* navigationLayout = new QHBoxLayout(navigation);
    navigationLayout->setContentsMargins(28, 0, 28, 0);
    m_back = new PlainButton(QStringLiteral("Back"),
        {.font = viewFont(13), .color = &SchemeColors::secondaryText, .padding = QMargins(6, 6, 6, 6)}, navigation);
    m_continue = new PlainButton(QStringLiteral("Continue"),
        {.font = viewFont(13, QFont::Medium), .color = [](const SchemeColors&) { return QColor(Qt::white); }, .padding = QMargins(18, 8, 18, 8), .minimumHeight = 32, .fill = [](const SchemeColors&) { return brandPurple(); }, .radius = 7},
        navigation);
    navigationLayout->addWidget(m_back);
    navigationLayout->addStretch(1);
    navigationLayout->addWidget(m_continue);
    layout->addWidget(navigation);
    layout->addSpacing(26);

    m_skip = new PlainButton(QStringLiteral("Skip"),
        {.font = viewFont(12, QFont::DemiBold), .color = &SchemeColors::secondaryText, .padding = QMargins(4, 2, 4, 2)}, this);

    connect(m_skip, &QAbstractButton::clicked, this, [this] { m_onComplete(); });
    connect(m_back, &QAbstractButton::clicked, this, [this] { setPage(m_page - 1); });
    connect(m_continue, &QAbstractButton::clicked, this, [this] { setPage(m_page + 1); });
    connect(m_launchAtLogin, &LaunchAtLoginPage::finishChosen, this, [this] { m_onComplete(); });
    connect(m_launchAtLogin, &LaunchAtLoginPage::signInChosen, this, [this] { setPage(accountPage); });
    connect(m_account, &OnboardingAccountPage::finished, this, [this] { m_onComplete(); });
    for (const QKeySequence& key : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}) {
        auto* shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, this, &OnboardingView::pressReturn);
        m_returnKeys << shortcut;
    }
    setPage(0);
}

void OnboardingView::makeSlides()
{
    auto* icon = new AppIconView(132);
    const QList<ClipboardPreview::Row> clips {
        {QStringLiteral("link"), APIConfig::webOrigin() + QStringLiteral("/download"), QStringLiteral("just now")},
        {QStringLiteral("text.alignleft"), QStringLiteral("Q3 launch checklist — finalize…"), QStringLiteral("2m ago")},
        {QStringLiteral("photo"), QStringLiteral("Screenshot 2026-06-09.png"), QStringLiteral("8m ago")},
    };
    const QList<StickyPreview::Item> checklist {
        {true, QStringLiteral("Ship onboarding")},
        {false, QStringLiteral("Review Dana’s pull request")},
        {false, QStringLiteral("Email the team")},
    };
    m_slides = {
        new OnboardingSlide(icon, QStringLiteral("Welcome to Norvelle"),
            QStringLiteral("Your clipboard history and sticky notes — fast, beautiful, and always a shortcut away.")),
        new OnboardingSlide(new ClipboardPreview(clips), QStringLiteral("Never lose a copy again"),
            QStringLiteral("Everything you copy is saved to your history — text, links, and images. Click any item to "
                           "paste it back instantly.")),
        new OnboardingSlide(new StickyPreview(checklist), QStringLiteral("Sticky notes that stay put"),
            QStringLiteral("Capture ideas in rich sticky windows with checklists, tables, and formatting — right on "
                           "your desktop.")),
        new OnboardingSlide(new SyncPreview, QStringLiteral("In sync, everywhere"),
            QStringLiteral("Sign in and your notes follow you across your computers. Clipboard history always stays "
                           "private on this computer.")),
    };
    for (OnboardingSlide* slide : m_slides) {
        m_pages->addWidget(centred(slide));
    }
}

QWidget* OnboardingView::centred(QWidget* page)
{
    auto* holder = new QWidget;
    auto* layout = new QVBoxLayout(holder);
    layout->setContentsMargins(40, 0, 40, 0);
    layout->addStretch(1);
    layout->addWidget(page);
    layout->addStretch(1);
    return holder;
}

OnboardingSlide* OnboardingView::slide(int index) const
{
    return m_slides.value(index);
}

void OnboardingView::setPage(int page)
{
    m_page = page;
    // Past the last page stays on the account page.
    m_pages->setCurrentIndex(std::clamp(page, 0, accountPage));
    m_dots->setCurrent(page);
    // Continue goes from the launch-at-login page: its focus passes to the button that now leads
    // on, where Qt would hand it to Skip.
    if (page == accountPage - 1 && m_continue->hasFocus()) {
        m_launchAtLogin->finishButton()->setFocus(Qt::OtherFocusReason);
    }
    m_skip->setVisible(page < accountPage);
    m_back->setVisible(page > 0);
    m_continue->setVisible(page <= lastSlide);
    // On the account page Return belongs to the form: the password field sends it.
    for (QShortcut* key : m_returnKeys) {
        key->setEnabled(page != accountPage);
    }
    m_skip->raise();
    fadeIn();
}

void OnboardingView::fadeIn()
{
    if (!isVisible()) {
        return;
    }
    auto* effect = new QGraphicsOpacityEffect(m_pages);
    m_pages->setGraphicsEffect(effect);
    auto* fade = new QPropertyAnimation(effect, "opacity", effect);
    fade->setDuration(fadeMs);
    fade->setStartValue(0.0);
    fade->setEndValue(1.0);
    fade->setEasingCurve(QEasingCurve::OutCubic);
    // Nothing is left in the way of drawing once the page shows.
    connect(fade, &QPropertyAnimation::finished, m_pages, [pages = m_pages, effect] {
        if (pages->graphicsEffect() == effect) {
            pages->setGraphicsEffect(nullptr);
        }
    });
    fade->start();
}

void OnboardingView::pressReturn()
{
    if (m_page <= lastSlide) {
        m_continue->click();
    } else if (m_page == accountPage - 1) {
        m_launchAtLogin->finishButton()->click();
    }
}

void OnboardingView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const bool dark = schemeOf(palette()) == ColorScheme::dark;
    QLinearGradient background(0, 0, 0, height());
    background.setColorAt(0, dark ? grey(0.12) : grey(0.99));
    background.setColorAt(1, dark ? grey(0.08) : grey(0.95));
    painter.fillRect(rect(), background);
}

void OnboardingView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const QSize skip = m_skip->sizeHint();
    m_skip->setGeometry(width() - 22 - skip.width(), 18, skip.width(), skip.height());
}

} // namespace norvelle
