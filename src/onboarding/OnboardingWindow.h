#pragma once

#include "ui/BackgroundWindowDrag.h"

#include <QWidget>

namespace norvelle {

// The first-run window: 560 × 640, without a title bar or any window control, centred on the
// screen and moved by dragging its background. The window manager is told it may only move
// it; a close it asks for anyway (Alt+F4, the task bar) is refused; the program's own close()
// and quit go through.
class OnboardingWindow : public QWidget {
    Q_OBJECT
public:
    explicit OnboardingWindow(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_placed = false;
    BackgroundWindowDrag m_backgroundDrag {*this};
};

} // namespace norvelle
