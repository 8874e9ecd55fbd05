#include "platform/ColorPanel.h"

#include <QApplication>
#include <QColorDialog>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace norvelle {

ColorPanel::ColorPanel(QObject* parent)
    : QObject(parent)
{
}

ColorPanel::~ColorPanel()
{
    delete m_dialog;
}

ColorPanel& ColorPanel::shared()
{
    // Parented to the application so it goes before the application's windows do.
    static QPointer<ColorPanel> instance;
    if (!instance) {
        instance = new ColorPanel(QCoreApplication::instance());
    }
    return *instance;
}

QColorDialog* ColorPanel::ensureDialog()
{
    if (!m_dialog) {
        m_dialog = new QColorDialog;
        m_dialog->setAttribute(Qt::WA_DeleteOnClose, false);
        m_dialog->setWindowTitle(QStringLiteral("Colors"));
        // Our own widget dialog: a desktop's native one reports no colour until it is accepted.
        m_dialog->setOptions(QColorDialog::NoButtons | QColorDialog::DontUseNativeDialog);
        m_dialog->setModal(false);
        // Sticky notes float above other windows: the panel that colours them must not sit beneath.
        m_dialog->setWindowFlag(Qt::WindowStaysOnTopHint);
        m_dialog->installEventFilter(this);
        connect(m_dialog, &QColorDialog::currentColorChanged, this, [this](const QColor& color) {
            if (!m_settingColor && m_owner) {
                emit colorChanged(color);
            }
        });
    }
    return m_dialog;
}

void ColorPanel::open(QObject* owner, const QColor& color)
{
    QColorDialog* dialog = ensureDialog();
    dialog->setOption(QColorDialog::ShowAlphaChannel, false);
    // The starting colour is not a pick: it must not come back as a change.
    m_settingColor = true;
    dialog->setCurrentColor(color);
    m_settingColor = false;
    setOwner(owner);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

void ColorPanel::placeBeside(const QRect& frame)
{
    QColorDialog* dialog = ensureDialog();
    constexpr int gap = 12;
    // Room for the window manager's frame around the panel.
    const QSize size = (dialog->isVisible() ? dialog->frameGeometry().size() : dialog->sizeHint()) + QSize(8, 32);
    const QScreen* screen = QGuiApplication::screenAt(frame.center());
    const QRect area = screen ? screen->availableGeometry() : QRect(QPoint(0, 0), QSize(1 << 14, 1 << 14));
    int x = frame.right() + 1 + gap;
    if (x + size.width() > area.right() + 1) {
        x = frame.left() - gap - size.width();
    }
    x = std::clamp(x, area.left(), std::max(area.left(), area.right() + 1 - size.width()));
    const int y = std::clamp(frame.top(), area.top(), std::max(area.top(), area.bottom() + 1 - size.height()));
    dialog->move(x, y);
}

void ColorPanel::close()
{
    if (m_dialog) {
        m_dialog->hide();
    }
    setOwner(nullptr);
}

bool ColorPanel::isVisible() const
{
    return m_dialog && m_dialog->isVisible();
}

QColor ColorPanel::color() const
{
    return m_dialog ? m_dialog->currentColor() : QColor();
}

void ColorPanel::setOwner(QObject* owner)
{
    if (m_owner == owner) {
        return;
    }
    m_owner = owner;
    emit ownerChanged();
}

bool ColorPanel::eventFilter(QObject* watched, QEvent* event)
{
    // A close by the window manager, Escape or close() all end in a hide.
    if (watched == m_dialog && event->type() == QEvent::Hide) {
        setOwner(nullptr);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace norvelle
