#include "settings/NorvelleSettingsView.h"

#include "core/AppDelegating.h"
#include "platform/NotificationCenter.h"
#include "platform/StoredSettings.h"
#include "platform/UserDefaults.h"
#include "settings/AccountPane.h"
#include "settings/ClipboardPane.h"
#include "settings/EditorPane.h"
#include "settings/GeneralPane.h"
#include "settings/PrivacyPane.h"
#include "settings/SettingsAccountState.h"
#include "settings/SettingsForm.h"
#include "settings/SettingsSidebar.h"
#include "settings/ShortcutsPane.h"
#include "settings/SyncPane.h"
#include "ui/SchemeColors.h"
#include "ui/SchemePalette.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QPainter>
#include <QShowEvent>
#include <QStackedWidget>

namespace norvelle {

NorvelleSettingsView::NorvelleSettingsView(QWidget* parent)
    : NorvelleSettingsView(SettingsAccountServices::live(), parent)
{
}

NorvelleSettingsView::NorvelleSettingsView(SettingsAccountServices services, QWidget* parent)
    : QWidget(parent)
    , m_accountState(new SettingsAccountState(services, this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_sidebar = new SettingsSidebar(this);
    layout->addWidget(m_sidebar);
    auto* divider = new QFrame(this);
    divider->setFrameShape(QFrame::VLine);
    divider->setFrameShadow(QFrame::Plain);
    divider->setFixedWidth(1);
    divider->setForegroundRole(QPalette::Mid);
    layout->addWidget(divider);
    m_forms = new QStackedWidget(this);
    layout->addWidget(m_forms, 1);

    connect(m_sidebar, &SettingsSidebar::paneChosen, this, &NorvelleSettingsView::setPane);
    NotificationCenter::defaultCenter().addObserver(openSettingsPaneNotification, this,
        [this](const Notification& notification) { handleOpenSettingsPane(notification.userInfo); });
    connect(&UserDefaults::standard(), &UserDefaults::changed, this, [](const QString& key) {
        if (key == storedSettings::syncEnabled.key || key == storedSettings::autoSyncEnabled.key) {
            if (AppDelegating* app = AppDelegating::current()) {
                app->restartAutoSyncTimer();
            }
        }
    });
    followAppearancePreference(*this);
    setPane(SettingsPane::general);
}

void NorvelleSettingsView::setPane(SettingsPane pane)
{
    m_pane = pane;
    m_sidebar->setCurrentPane(pane);
    m_forms->setCurrentWidget(form(pane));
}

SettingsForm* NorvelleSettingsView::form(SettingsPane pane)
{
    const auto built = m_builtForms.find(pane);
    if (built != m_builtForms.end()) {
        return built->second;
    }
    SettingsForm* made = makeForm(pane);
    m_builtForms.emplace(pane, made);
    m_forms->addWidget(made);
    return made;
}

SettingsForm* NorvelleSettingsView::makeForm(SettingsPane pane)
{
    switch (pane) {
    case SettingsPane::general: return new GeneralPane;
    case SettingsPane::shortcuts: return new ShortcutsPane;
    case SettingsPane::clipboard: return new ClipboardPane;
    case SettingsPane::editor: return new EditorPane;
    case SettingsPane::privacy: return new PrivacyPane;
    case SettingsPane::sync: return new SyncPane(*m_accountState);
    case SettingsPane::account: return new AccountPane(*m_accountState);
    }
    return new SettingsForm;
}

void NorvelleSettingsView::handleOpenSettingsPane(const QVariantMap& userInfo)
{
    const QVariant value = userInfo.value(QStringLiteral("pane"));
    if (value.typeId() != QMetaType::QString) {
        return;
    }
    if (const std::optional<SettingsPane> pane = settingsPaneFromRawValue(value.toString())) {
        setPane(*pane);
    }
}

void NorvelleSettingsView::refreshOnAppear()
{
    m_accountState->refreshOnAppear();
    if (const auto general = m_builtForms.find(SettingsPane::general); general != m_builtForms.end()) {
        static_cast<GeneralPane*>(general->second)->refreshLaunchAtLogin();
    }
}

void NorvelleSettingsView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        refreshOnAppear();
    }
}

void NorvelleSettingsView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), SchemeColors(palette()).windowBackground());
}

} // namespace norvelle
