#include "settings/SettingsWindowController.h"

#include "settings/NorvelleSettingsView.h"

#include <QVBoxLayout>

namespace norvelle {

SettingsWindowController::SettingsWindowController(QObject* parent)
    : SettingsWindowController(SettingsAccountServices::live(), parent)
{
}

SettingsWindowController::SettingsWindowController(SettingsAccountServices services, QObject* parent)
    : WindowController(makeWindow(QStringLiteral("Settings"), {640, 480}, {580, 420}), parent)
{
    auto* layout = new QVBoxLayout(window());
    layout->setContentsMargins(0, 0, 0, 0);
    m_view = new NorvelleSettingsView(services, window());
    layout->addWidget(m_view);
}

} // namespace norvelle
