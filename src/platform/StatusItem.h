#pragma once

#include <QIcon>
#include <QObject>
#include <QRect>
#include <QString>

#include <memory>

class QEvent;
class QMenu;
class QSystemTrayIcon;

namespace norvelle {

// One icon in the desktop's system tray. A left click emits clicked() when the button goes up
// over the icon; the right button opens the context menu. The accessibility description names
// the icon's window for the tray host and assistive technology.
class StatusItem : public QObject {
    Q_OBJECT
public:
    StatusItem(const QIcon& icon, const QString& accessibilityDescription, const QString& toolTip,
        QObject* parent = nullptr);
    ~StatusItem() override;

    // Whether the desktop has a tray to show items in.
    static bool isTrayAvailable();

    QString accessibilityDescription() const { return m_accessibilityDescription; }
    QString toolTip() const;
    QIcon icon() const;
    // Not owned; must outlive the item.
    void setContextMenu(QMenu* menu);
    QMenu* contextMenu() const;

    // Where the icon is on screen; empty when the tray does not tell.
    QRect geometry() const;

    // The same as a left click on the icon.
    void click() { emit clicked(); }

signals:
    void clicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void triggered();
    bool isOurIconWindow(const QObject* object) const;

    std::unique_ptr<QSystemTrayIcon> m_trayIcon;
    QString m_accessibilityDescription;
    bool m_awaitingRelease = false;
};

} // namespace norvelle
