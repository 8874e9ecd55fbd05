#pragma once

#include <QColor>
#include <QObject>
#include <QPointer>

#include <QColorDialog>

namespace norvelle {

// The one colour panel of the program: a non-modal colour window that live-reports each colour
// the user picks. It serves one owner at a time: opening it hands it to the opener, and closing
// it ends every ownership, so a colour picked for one note never reaches another.
class ColorPanel : public QObject {
    Q_OBJECT
public:
    static ColorPanel& shared();
    ~ColorPanel() override;

    // Shows the panel on `color` (without alpha) and makes `owner` the only receiver of its
    // changes; a previous owner loses the panel at once.
    void open(QObject* owner, const QColor& color);
    // Moves the panel beside `frame` (right of it, else left), so it hides nothing of that window.
    void placeBeside(const QRect& frame);
    // Hides the panel; cheap when it was never built.
    void close();

    QObject* owner() const { return m_owner; }
    bool isOwnedBy(const QObject* candidate) const { return candidate && m_owner == candidate; }
    bool isVisible() const;
    QColor color() const;
    // The panel's window, built on first use; null until then.
    QColorDialog* dialog() const { return m_dialog; }

signals:
    // Each colour the user picks while the panel has an owner.
    void colorChanged(const QColor& color);
    // The panel changed hands, or closed (then `owner()` is null).
    void ownerChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit ColorPanel(QObject* parent);
    QColorDialog* ensureDialog();
    void setOwner(QObject* owner);

    QPointer<QColorDialog> m_dialog;
    QPointer<QObject> m_owner;
    bool m_settingColor = false;
};

} // namespace norvelle
