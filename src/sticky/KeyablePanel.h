#pragma once

#include "ui/BackgroundWindowDrag.h"

#include <QWidget>

namespace norvelle {

// The borderless floating window of a sticky note: it stays above other windows and on screen
// while another program is active, takes the keyboard, stays out of the task bar, moves when
// its background is dragged and resizes from its edges. Where a compositor runs its
// transparent parts show the desktop; elsewhere its rounded corners are cut by a mask.
class KeyablePanel : public QWidget {
    Q_OBJECT
public:
    static constexpr QSize contentSize {280, 340};
    static constexpr QSize minimumContentSize {240, 280};
    // How far in from the edge a press starts a resize.
    static constexpr int resizeBand = 6;

    KeyablePanel();

    bool isTranslucent() const { return m_translucent; }
    // Which edges a press at `pos` grabs; none inside the band.
    static Qt::Edges edgesAt(QPoint pos, QSize size);

signals:
    void moved();
    void resized();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void showEdgeCursor(Qt::Edges edges);

    bool m_translucent;
    bool m_edgeCursorShown = false;
    bool m_resizeAsked = false;
    BackgroundWindowDrag m_backgroundDrag;
};

} // namespace norvelle
