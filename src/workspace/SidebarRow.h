#pragma once

#include "ui/SchemeColors.h"

#include <QAbstractButton>

namespace norvelle {

// One row of the workspace sidebar: a symbol, a title, and on the right an optional count,
// either on a small capsule (library sections, the clipboard entry) or as plain text (the
// selected folder). A selected row sits on a rounded tint.
class SidebarRow : public QAbstractButton {
    Q_OBJECT
public:
    struct Look {
        QString symbol;
        QString title;
        QString badge;
        bool selected = false;
        // Plain count text instead of a capsule.
        bool plainBadge = false;
        // The tint and the accent of a selected row, and its corner radius.
        SchemeColorRole tint;
        qreal radius = 9;
    };

    explicit SidebarRow(QWidget* parent = nullptr);
    void setLook(Look look);
    const Look& look() const { return m_look; }

    QSize sizeHint() const override { return QSize(200, 30); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Look m_look;
};

} // namespace norvelle
