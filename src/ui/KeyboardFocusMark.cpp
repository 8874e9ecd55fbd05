#include "ui/KeyboardFocusMark.h"

#include "ui/RoundedPainting.h"
#include "ui/SchemeColors.h"

#include <QApplication>
#include <QFocusEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextEdit>

namespace norvelle {

namespace {

constexpr const char* radiusProperty = "norvelleFocusMarkRadius";
// Set on a window while its focus was last moved by the keyboard.
constexpr const char* keyboardProperty = "norvelleKeyboardFocus";
constexpr int ringWidth = 3;
constexpr double defaultRadius = 5;

// The ring, drawn just outside the control by a sibling stacked above it, so it moves, scrolls
// and clips with the control.
class FocusRing : public QWidget {
public:
    explicit FocusRing(QWidget& parent)
        : QWidget(&parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
    }

    void follow(QWidget* control)
    {
        m_control = control;
        if (!control || !control->isVisible() || control->parentWidget() != parentWidget()) {
            hide();
            return;
        }
        setGeometry(control->geometry().adjusted(-ringWidth, -ringWidth, ringWidth, ringWidth));
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
            if (watched == m_control) {
                unmark();
            }
            break;
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::ParentChange:
            if (watched == m_control && m_ring) {
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
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason) {
            window->setProperty(keyboardProperty, true);
        } else if (reason == Qt::MouseFocusReason) {
            window->setProperty(keyboardProperty, false);
        }
        if (!window->property(keyboardProperty).toBool() || !isMarkable(widget)) {
            unmark();
            return;
        }
        m_control = &widget;
        if (!m_ring || m_ring->parentWidget() != widget.parentWidget()) {
            delete m_ring;
            m_ring = new FocusRing(*widget.parentWidget());
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

void setFocusMarkRadius(QWidget& control, double radius)
{
    control.setProperty(radiusProperty, radius);
}

} // namespace norvelle
