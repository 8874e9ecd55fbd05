#include "onboarding/LaunchAtLoginPage.h"

#include "onboarding/LaunchAtLoginCard.h"
#include "platform/LoginItem.h"
#include "platform/SystemLog.h"
#include "ui/BrandGradientButtonStyle.h"
#include "ui/PlainButton.h"
#include "ui/ViewFont.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace norvelle {

LaunchAtLoginPage::LaunchAtLoginPage(QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(16);
    m_card = new LaunchAtLoginCard(this);
    layout->addWidget(m_card, 0, Qt::AlignHCenter);
    m_finish = new QPushButton(QStringLiteral("Get started"), this);
    BrandGradientButtonStyle {.fullWidth = false}.apply(*m_finish);
    m_finish->setMaximumWidth(320);
    layout->addWidget(m_finish, 0, Qt::AlignHCenter);
    m_signIn = new PlainButton(QStringLiteral("Sign in to sync across your computers"),
        {.font = viewFont(11.5), .color = &SchemeColors::secondaryText, .padding = QMargins(4, 4, 4, 4)}, this);
    layout->addWidget(m_signIn, 0, Qt::AlignHCenter);

    connect(m_finish, &QPushButton::clicked, this, [this] {
        applyLaunchAtLogin();
        emit finishChosen();
    });
    connect(m_signIn, &QAbstractButton::clicked, this, [this] {
        applyLaunchAtLogin();
        emit signInChosen();
    });
}

void LaunchAtLoginPage::applyLaunchAtLogin()
{
    if (const std::optional<QString> error = LoginItem::setEnabled(m_card->isChecked())) {
        SystemLog("onboarding").notice(QStringLiteral("Launch at login could not be changed: %1").arg(*error));
    }
}

} // namespace norvelle
