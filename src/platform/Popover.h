#pragma once

#include <QElapsedTimer>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>
#include <QWindow>

namespace norvelle {

// A transient panel under a tray icon: it closes when the user clicks outside it. One with no
// field of its own passes on what is typed while it shows to the window it was opened from.
class Popover : public QWidget {
    Q_OBJECT
public:
    // Which side of its anchor the popover prefers; it takes the other when that has no room.
    enum class Edge { below,
        above };

    explicit Popover(QSize contentSize, QWidget* parent = nullptr);

    void setPreferredEdge(Edge edge) { m_edge = edge; }
    // Resizes the popover; a shown one stays on its side of the anchor.
    void setContentSize(QSize size);

    // Replaces the hosted content (the popover takes it over); null leaves it empty.
    void setContentWidget(QWidget* content);
    QWidget* contentWidget() const { return m_content; }

    // Shows the popover under `anchor` (the tray icon's screen rectangle), or at the pointer
    // when the anchor is empty; above it when there is no room below.
    void showRelativeTo(const QRect& anchor);
    // Whether the popover is showing. A popover that a click outside it closed a moment ago
    // still counts, so that the click on the tray icon that closed it does not reopen it.
    bool isShown() const;
    void performClose();
    // While `companion` (a window the popover opened) shows, the popover is a plain floating
    // window, so the user can work in both; it closes with the companion and is a popover again.
    void stayOpenWhileShown(QWidget* companion);

    // Where showRelativeTo() puts a popover of `size` within `available` (the screen's free area).
    static QPoint placement(const QRect& anchor, const QPoint& pointer, QSize size, const QRect& available,
        Edge edge = Edge::below);

signals:
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void place();
    bool hasFieldOfItsOwn() const;
    // Hands a key the popover's controls left alone on to the window it came from, unless the
    // popover has a field to type in; whether it did.
    bool passToOpener(QKeyEvent* event);

    QWidget* m_content = nullptr;
    Edge m_edge = Edge::below;
    QRect m_anchor;
    bool m_closingOnRequest = false;
    bool m_switchingKind = false;
    QPointer<QWidget> m_companion;
    // The window that had the keyboard when the popover opened.
    QPointer<QWindow> m_opener;
    QElapsedTimer m_sinceOutsideDismissal;
};

} // namespace norvelle
