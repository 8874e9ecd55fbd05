#include "onboarding/OnboardingWindowController.h"

#include "platform/UserDefaults.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace norvelle {

namespace {

std::unique_ptr<QWidget> makeWelcomeWindow()
{
    // Titled only: the way out is finishing.
    auto window = WindowController::makeWindow("Norvelle", {560, 640}, {}, Qt::Window | Qt::WindowTitleHint | Qt::CustomizeWindowHint);
    auto* layout = new QVBoxLayout(window.get());
    layout->setContentsMargins(40, 40, 40, 40);
    layout->addStretch();
    auto* title = new QLabel("Welcome to Norvelle");
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.8);
    titleFont.setBold(true);
    title->setFont(titleFont);
    title->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);
    auto* text = new QLabel("Your clipboard history and sticky notes — fast, beautiful, and always a shortcut away.");
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignCenter);
    layout->addWidget(text);
    layout->addStretch();
    return window;
}

} // namespace

OnboardingWindowController::OnboardingWindowController(QObject* parent)
    : WindowController(makeWelcomeWindow(), parent)
{
    auto* skip = new QPushButton("Skip");
    skip->setObjectName("skipButton");
    static_cast<QVBoxLayout*>(window()->layout())->insertWidget(0, skip, 0, Qt::AlignRight);
    connect(skip, &QPushButton::clicked, this, &OnboardingWindowController::finish);
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
