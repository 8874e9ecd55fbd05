#include "onboarding/OnboardingWindow.h"

#include "platform/WindowManagerFunctions.h"
#include "platform/WindowPlacement.h"

#include <QCloseEvent>
#include <QMouseEvent>

namespace norvelle {

OnboardingWindow::OnboardingWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setWindowTitle(QStringLiteral("Norvelle"));
    setFixedSize(560, 640);
}

void OnboardingWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    WindowManagerFunctions::moveOnly(*this);
    if (!m_placed) {
        m_placed = true;
        if (const QRect area = WindowPlacement::currentWorkArea(); !area.isEmpty()) {
            move(WindowPlacement::centredOrigin(size(), area));
        }
    }
}

void OnboardingWindow::closeEvent(QCloseEvent* event)
{
    // Only the window manager's close is refused (it comes as a spontaneous event): the
    // program's own quit closes every window and must not be held up by this one.
    if (event->spontaneous()) {
        event->ignore();
    } else {
        event->accept();
    }
}

void OnboardingWindow::mousePressEvent(QMouseEvent* event)
{
    // Reached only for presses no control took: the background.
    if (m_backgroundDrag.press(*event)) {
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void OnboardingWindow::mouseReleaseEvent(QMouseEvent* event)
{
    m_backgroundDrag.release();
    QWidget::mouseReleaseEvent(event);
}

} // namespace norvelle
