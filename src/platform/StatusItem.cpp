#include "platform/StatusItem.h"

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QSystemTrayIcon>
#include <QWidget>

namespace norvelle {

namespace {

// The window Qt embeds in an X11 tray for each icon; it carries the icon's tool tip.
const QString embeddedIconWindow = QStringLiteral("QSystemTrayIconSys");

} // namespace

StatusItem::StatusItem(const QIcon& icon, const QString& accessibilityDescription, const QString& toolTip,
    QObject* parent)
    : QObject(parent)
    , m_trayIcon(std::make_unique<QSystemTrayIcon>(icon))
    , m_accessibilityDescription(accessibilityDescription)
{
    m_trayIcon->setToolTip(toolTip);
    connect(m_trayIcon.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger) {
            triggered();
        }
    });
    // The icon's window may come only later, when a tray host appears.
    qApp->installEventFilter(this);
    m_trayIcon->show();
}

// An X11 tray icon reports the click at the press; a tray host that activates the icon itself
// does so after the release, with no button down any more.
void StatusItem::triggered()
{
    if (QGuiApplication::mouseButtons() & Qt::LeftButton) {
        m_awaitingRelease = true;
    } else {
        emit clicked();
    }
}

bool StatusItem::isOurIconWindow(const QObject* object) const
{
    const auto* window = qobject_cast<const QWidget*>(object);
    return window && window->objectName() == embeddedIconWindow && window->toolTip() == m_trayIcon->toolTip();
}

bool StatusItem::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show && isOurIconWindow(watched)) {
        auto* window = static_cast<QWidget*>(watched);
        window->setWindowTitle(m_accessibilityDescription);
        window->setAccessibleName(m_accessibilityDescription);
    } else if (m_awaitingRelease && event->type() == QEvent::MouseButtonRelease) {
        const auto* release = static_cast<QMouseEvent*>(event);
        if (release->button() == Qt::LeftButton) {
            m_awaitingRelease = false;
            const QRect icon = geometry();
            if (icon.isEmpty() || icon.contains(release->globalPosition().toPoint())) {
                emit clicked();
            }
        }
    }
    return QObject::eventFilter(watched, event);
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
