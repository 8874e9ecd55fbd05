#include "ui/SchemeStyleSheet.h"

#include <QEvent>
#include <QPointer>
#include <QWidget>

namespace norvelle {

namespace {

// A widget with a style sheet no longer takes its parent's palette, so the keeper watches the
// parent for a switch of scheme.
class SchemeStyleSheetKeeper : public QObject {
public:
    SchemeStyleSheetKeeper(QWidget& widget, std::function<QString(const QPalette&)> make,
        std::function<void(const QPalette&)> then)
        : QObject(&widget)
        , m_widget(widget)
        , m_make(std::move(make))
        , m_then(std::move(then))
    {
        widget.installEventFilter(this);
        watchParent();
        apply();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &m_widget && event->type() == QEvent::ParentChange) {
            watchParent();
            apply();
        } else if (watched == m_parent && event->type() == QEvent::PaletteChange) {
            apply();
        }
        return false;
    }

private:
    void watchParent()
    {
        if (m_parent) {
            m_parent->removeEventFilter(this);
        }
        m_parent = m_widget.parentWidget();
        if (m_parent) {
            m_parent->installEventFilter(this);
        }
    }

    void apply()
    {
        const QPalette palette = m_parent ? m_parent->palette() : m_widget.palette();
        const QString sheet = m_make(palette);
        if (sheet != m_widget.styleSheet()) {
            m_widget.setStyleSheet(sheet);
        }
        if (m_then) {
            m_then(palette);
        }
    }

    QWidget& m_widget;
    QPointer<QWidget> m_parent;
    std::function<QString(const QPalette&)> m_make;
    std::function<void(const QPalette&)> m_then;
};

} // namespace

void setSchemeStyleSheet(QWidget& widget, std::function<QString(const QPalette&)> make,
    std::function<void(const QPalette&)> then)
{
    new SchemeStyleSheetKeeper(widget, std::move(make), std::move(then));
}

QString styleSheetColor(const QColor& color, qreal opacity)
{
    return QStringLiteral("rgba(%1, %2, %3, %4)")
        .arg(color.red())
        .arg(color.green())
        .arg(color.blue())
        .arg(QString::number(color.alphaF() * opacity, 'f', 3));
}

} // namespace norvelle
