#pragma once

#include <QElapsedTimer>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QWidget>

namespace norvelle {

// A transient panel under a tray icon: it closes when the user clicks outside it.
class Popover : public QWidget {
    Q_OBJECT
public:
    explicit Popover(QSize contentSize, QWidget* parent = nullptr);

    // Replaces the hosted content (the popover takes it over).
    void setContentWidget(QWidget* content);
    QWidget* contentWidget() const { return m_content; }

    // Shows the popover under `anchor` (the tray icon's screen rectangle), or at the pointer
    // when the anchor is empty; above it when there is no room below.
    void showRelativeTo(const QRect& anchor);
    // Whether the popover is showing. A popover that a click outside it closed a moment ago
    // still counts, so that the click on the tray icon that closed it does not reopen it.
    bool isShown() const;
    void performClose();

    // Where showRelativeTo() puts a popover of `size` within `available` (the screen's free area).
    static QPoint placement(const QRect& anchor, const QPoint& pointer, QSize size, const QRect& available);

signals:
    void closed();

protected:
    void hideEvent(QHideEvent* event) override;

private:
    QWidget* m_content = nullptr;
    bool m_closingOnRequest = false;
    QElapsedTimer m_sinceOutsideDismissal;
};

} // namespace norvelle
