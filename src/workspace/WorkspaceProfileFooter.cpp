#include "workspace/WorkspaceProfileFooter.h"

#include "account/APIConfig.h"
#include "account/AuthService.h"
#include "account/ProfileAvatarStore.h"
#include "account/SyncCredentialStore.h"
#include "core/AppDelegating.h"
#include "platform/StoredSettings.h"
#include "ui/IsolatedText.h"
#include "ui/NorvelleAppearancePreference.h"
#include "ui/PlainButton.h"
#include "ui/SchemeColors.h"
#include "ui/SymbolImage.h"
#include "ui/ViewFont.h"
#include "workspace/ProfileBadge.h"
#include "workspace/WorkspaceProfile.h"
#include "workspace/WorkspaceView.h"

#include <QDesktopServices>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QMenu>
#include <QPainter>
#include <QUrl>

namespace norvelle {

namespace {

// The face of the profile menu: badge, name, and the menu's marks.
class ProfileMenuButton : public QAbstractButton {
public:
    using QAbstractButton::QAbstractButton;
    QSize sizeHint() const override { return QSize(150, 36); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const SchemeColors colors(palette());
        paintProfileBadge(painter, QRectF(0, 4, 28, 28), text(), ProfileAvatarStore::shared().cachedSidebarAvatar(), 11);
        const QFont font = viewFont(12, QFont::DemiBold);
        painter.setFont(font);
        painter.setPen(colors.label());
        const qreal textWidth = width() - 36 - 34;
        // The name comes from the server: no direction control in it may turn it around.
        painter.drawText(QRectF(36, 0, textWidth, height()), Qt::AlignVCenter | Qt::AlignLeft,
            isolatedText(QFontMetricsF(font).elidedText(text(), Qt::ElideRight, textWidth)));
        const qreal dpr = devicePixelRatioF();
        painter.drawImage(QRectF(width() - 29, (height() - 14) / 2.0, 14, 14),
            symbolImage(QStringLiteral("ellipsis.circle"), 14, colors.secondaryText(), dpr));
        painter.drawImage(QRectF(width() - 11, (height() - 9) / 2.0, 9, 9),
            symbolImage(QStringLiteral("chevron.down"), 9, colors.tertiaryText(), dpr));
    }
};

} // namespace

void WorkspaceProfileFooter::openSettings(const std::optional<QString>& pane)
{
    if (AppDelegating* app = AppDelegating::current()) {
        app->openSettings(pane);
    }
}

WorkspaceProfileFooter::WorkspaceProfileFooter(WorkspaceView& workspace, QWidget* parent)
    : QWidget(parent)
    , m_workspace(workspace)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 0, 8, 8);
    layout->setSpacing(6);
    m_menu = new QMenu(this);
    m_profile = new ProfileMenuButton(this);
    connect(static_cast<QAbstractButton*>(m_profile), &QAbstractButton::clicked, this,
        [this] { profileMenu()->popup(m_profile->mapToGlobal(QPoint(0, 0)) - QPoint(0, profileMenu()->sizeHint().height())); });
    m_signIn = new PlainButton(QStringLiteral("Sign in or sign up"),
        {.font = viewFont(12, QFont::DemiBold), .color = &SchemeColors::label, .symbol = QStringLiteral("person.crop.circle.badge.plus"), .symbolSize = 15, .padding = QMargins(0, 5, 0, 5), .minimumHeight = 30, .symbolColor = &SchemeColors::accent, .symbolSpacing = 7, .alignment = Qt::AlignLeft},
        this);
    // The whole row up to the gear takes the click.
    m_signIn->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(m_signIn, &QAbstractButton::clicked, this, [] { openSettings(QStringLiteral("Account")); });
    m_settings = new PlainButton({}, {.font = viewFont(13, QFont::DemiBold), .color = &SchemeColors::secondaryText, .symbol = QStringLiteral("gearshape"), .symbolSize = 13, .padding = QMargins(8, 8, 8, 8), .minimumHeight = 30, .fill = [](const SchemeColors& colors) { return colors.overlay(0.08, 0.06); }, .radius = 8},
        this);
    m_settings->setToolTip(QStringLiteral("Settings"));
    connect(m_settings, &QAbstractButton::clicked, this, [] { openSettings(std::nullopt); });
    layout->addWidget(m_profile, 1);
    layout->addWidget(m_signIn, 1);
    layout->addWidget(m_settings);
    connect(&workspace, &WorkspaceView::stateChanged, this, &WorkspaceProfileFooter::refresh);
    refresh();
}

QMenu* WorkspaceProfileFooter::profileMenu()
{
    m_menu->clear();
    // A lone ampersand would mark a shortcut letter rather than show.
    m_menu->addAction(QStringLiteral("Profile && Settings"), [] { openSettings(std::nullopt); });
    QMenu* appearanceMenu = m_menu->addMenu(QStringLiteral("Appearance"));
    const QString stored = m_workspace.appearanceRaw();
    for (const NorvelleAppearancePreference preference : appearance::allCases) {
        QAction* action = appearanceMenu->addAction(appearance::title(preference), [preference] {
            storedSettings::appearance.set(appearance::rawValue(preference));
        });
        action->setCheckable(true);
        action->setChecked(appearance::rawValue(preference) == stored);
    }
    m_menu->addAction(QStringLiteral("Help"), [] { QDesktopServices::openUrl(QUrl(APIConfig::webOrigin())); });
    if (SyncCredentialStore::shared().load()) {
        m_menu->addSeparator();
        m_menu->addAction(QStringLiteral("Log Out"), [] { AuthService::shared().disconnect(); });
    }
    return m_menu;
}

void WorkspaceProfileFooter::refresh()
{
    m_signedIn = SyncCredentialStore::shared().load().has_value();
    static_cast<QAbstractButton*>(m_profile)->setText(WorkspaceProfile::profileName());
    m_profile->setVisible(m_signedIn);
    m_signIn->setVisible(!m_signedIn);
    m_profile->update();
}

} // namespace norvelle
