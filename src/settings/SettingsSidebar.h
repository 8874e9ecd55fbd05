#pragma once

#include "settings/SettingsPane.h"

#include <QAbstractButton>
#include <QWidget>

#include <map>

namespace norvelle {

// One pane's row in the sidebar: its icon and title, tinted with the brand colour while its
// pane is shown. Clickable over its whole rectangle.
class SettingsSidebarRow : public QAbstractButton {
    Q_OBJECT
public:
    explicit SettingsSidebarRow(SettingsPane pane, QWidget* parent = nullptr);

    SettingsPane pane() const { return m_pane; }
    bool isCurrent() const { return m_current; }
    void setCurrent(bool current);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    SettingsPane m_pane;
    bool m_current = false;
};

// The settings window's left column: "Norvelle Settings" over one row per pane.
class SettingsSidebar : public QWidget {
    Q_OBJECT
public:
    explicit SettingsSidebar(QWidget* parent = nullptr);

    SettingsSidebarRow* row(SettingsPane pane) const { return m_rows.at(pane); }
    void setCurrentPane(SettingsPane pane);

signals:
    void paneChosen(SettingsPane pane);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::map<SettingsPane, SettingsSidebarRow*> m_rows;
};

} // namespace norvelle
