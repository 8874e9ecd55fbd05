#include "platform/StatusItem.h"

#include <QMenu>
#include <QSystemTrayIcon>

namespace norvelle {

StatusItem::StatusItem(const QIcon& icon, const QString& accessibilityDescription, const QString& toolTip,
    QObject* parent)
    : QObject(parent)
    , m_trayIcon(std::make_unique<QSystemTrayIcon>(icon))
    , m_accessibilityDescription(accessibilityDescription)
{
    m_trayIcon->setToolTip(toolTip);
    connect(m_trayIcon.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger) {
            emit clicked();
        }
    });
    m_trayIcon->show();
}

StatusItem::~StatusItem()
{
    m_trayIcon->hide();
}

bool StatusItem::isTrayAvailable()
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

QString StatusItem::toolTip() const
{
    return m_trayIcon->toolTip();
}

QIcon StatusItem::icon() const
{
    return m_trayIcon->icon();
}

void StatusItem::setContextMenu(QMenu* menu)
{
    m_trayIcon->setContextMenu(menu);
}

QMenu* StatusItem::contextMenu() const
{
    return m_trayIcon->contextMenu();
}

QRect StatusItem::geometry() const
{
    return m_trayIcon->geometry();
}

} // namespace norvelle
