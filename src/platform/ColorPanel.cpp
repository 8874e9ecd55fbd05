#include "platform/ColorPanel.h"

#include <QApplication>
#include <QColorDialog>
#include <QEvent>

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
