#include "ui/KeyboardFocusMark.h"

#include "ui/RoundedPainting.h"
#include "ui/SchemeColors.h"

#include <QApplication>
#include <QFocusEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextEdit>

#include <utility>

namespace norvelle {

namespace {

constexpr const char* radiusProperty = "norvelleFocusMarkRadius";
// Set on a window while its focus was last moved by the keyboard.
constexpr const char* keyboardProperty = "norvelleKeyboardFocus";
constexpr int ringWidth = 3;
constexpr double defaultRadius = 5;

QRect ringAround(const QWidget& control, const QWidget& host)
{
    return QRect(control.mapTo(&host, QPoint(0, 0)), control.size()).adjusted(-ringWidth, -ringWidth, ringWidth, ringWidth);
}

// The nearest widget around the control with room for the whole ring, else the window: a
// control that fills its parent (a field in its frame, a list across a popup) is ringed from
// further out.
QWidget* ringHost(const QWidget& control)
{
    QWidget* host = control.parentWidget();
    while (!host->isWindow() && !host->rect().contains(ringAround(control, *host))) {
        host = host->parentWidget();
    }
    return host;
}

// The ring, drawn just outside the control by a widget stacked above it in the host; where the
// host has no room, it runs along the control's edge.
class FocusRing : public QWidget {
public:
    explicit FocusRing(QWidget& host)
        : QWidget(&host)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        // A sheet the host gives its children must not fill the ring over the control.
        setStyleSheet(QStringLiteral("background: transparent; border: none;"));
    }

    void follow(QWidget* control)
    {
        m_control = control;
        if (!control || !control->isVisible() || !parentWidget()->isAncestorOf(control)) {
            hide();
            return;
        }
        setGeometry(ringAround(*control, *parentWidget()).intersected(parentWidget()->rect()));
        raise();
        show();
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (!m_control) {
            return;
        }
        const QVariant stored = m_control->property(radiusProperty);
        const double radius = stored.isValid() ? stored.toDouble() : defaultRadius;
        QColor color = SchemeColors(m_control->palette()).accent();
        color.setAlphaF(0.6f);
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        strokeRounded(painter, QRectF(rect()), radius < 0 ? -1 : radius + ringWidth, color, ringWidth);
    }

private:
    QPointer<QWidget> m_control;
};

bool isTabReason(Qt::FocusReason reason)
{
    return reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason;
}

bool isMarkable(const QWidget& widget)
{
    return widget.parentWidget() && !widget.isWindow() && !qobject_cast<const QTextEdit*>(&widget)
        && !qobject_cast<const QPlainTextEdit*>(&widget);
}

class KeyboardFocusMarker : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::FocusIn:
            if (auto* widget = qobject_cast<QWidget*>(watched)) {
                focusArrived(*widget, static_cast<QFocusEvent*>(event)->reason());
            }
            break;
        case QEvent::FocusOut:
            if (auto* widget = qobject_cast<QWidget*>(watched)) {
                m_focusLeftHiddenControl = isTabReason(static_cast<QFocusEvent*>(event)->reason()) && !widget->isVisible();
            }
            if (watched == m_control) {
                unmark();
            }
            break;
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::ParentChange:
            // The control or a widget between it and the ring's host moved it.
            if (m_control && m_ring && watched->isWidgetType()
                && (watched == m_control || static_cast<QWidget*>(watched)->isAncestorOf(m_control))) {
                m_ring->follow(m_control);
            }
            break;
        default:
            break;
        }
        return false;
    }

private:
    void focusArrived(QWidget& widget, Qt::FocusReason reason)
    {
        QWidget* window = widget.window();
        // Qt hands the focus of a control that goes out of sight on to the next one as if by
        // Tab: that move is not the user's.
        const bool movedByQt = std::exchange(m_focusLeftHiddenControl, false);
        if ((isTabReason(reason) && !movedByQt) || reason == Qt::ShortcutFocusReason) {
            window->setProperty(keyboardProperty, true);
        } else if (reason == Qt::MouseFocusReason) {
            window->setProperty(keyboardProperty, false);
        }
        if (!window->property(keyboardProperty).toBool() || !isMarkable(widget)) {
            unmark();
            return;
        }
        m_control = &widget;
        QWidget* host = ringHost(widget);
        if (!m_ring || m_ring->parentWidget() != host) {
            delete m_ring;
            m_ring = new FocusRing(*host);
        }
        m_ring->follow(&widget);
    }

    void unmark()
    {
        m_control = nullptr;
        if (m_ring) {
            m_ring->hide();
        }
    }

    QPointer<QWidget> m_control;
    QPointer<FocusRing> m_ring;
    bool m_focusLeftHiddenControl = false;
};

} // namespace

void markKeyboardFocus()
{
    static QPointer<KeyboardFocusMarker> marker;
    if (!marker) {
        marker = new KeyboardFocusMarker(qApp);
        qApp->installEventFilter(marker);
    }
}

bool showsKeyboardFocus(const QWidget& control)
{
    return control.hasFocus() && control.window()->property(keyboardProperty).toBool();
}

void setFocusMarkRadius(QWidget& control, double radius)
{
    control.setProperty(radiusProperty, radius);
}

} // namespace norvelle
