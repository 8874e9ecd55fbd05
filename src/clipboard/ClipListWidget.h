#pragma once

#include "clipboard/ClipEntry.h"

#include <QList>
#include <QWidget>

#include <optional>

class QScrollArea;

namespace norvelle {

// A list of clips drawn in one widget, item by item, only where exposed. It tracks the item
// under the pointer (by clip id, cleared by any leave or hiding) and turns a press and release over the
// same place into a click on the clip pressed, even when clips arrived in between and moved it.
// Subclasses place and draw the items and their buttons.
class ClipListWidget : public QWidget {
    Q_OBJECT
public:
    // The part of an item outside its buttons.
    static constexpr int body = -1;

    explicit ClipListWidget(QWidget* parent = nullptr);

    void setEntries(const QList<ClipEntry>& entries);
    const QList<ClipEntry>& entries() const { return m_entries; }
    std::optional<QUuid> hoveredID() const { return m_hoveredID; }
    bool isHovered(int index) const;
    // The index of the clip `id` in entries(), or -1.
    int indexOf(const QUuid& id) const;

    virtual QRect itemRect(int index) const = 0;

    // The list in a frameless, vertically scrolling area that gives it the full width.
    QScrollArea* inScrollArea(QWidget* parent);

signals:
    // A click on the clip `id`: on its body or on the button numbered `part`.
    void clicked(const QUuid& id, int part);

protected:
    // The button of item `index` under `position`, or body.
    virtual int partAt(int index, QPoint position) const = 0;
    // Where button `part` of item `index` is; the item itself for body.
    virtual QRect partRect(int index, int part) const = 0;
    virtual void paintItem(QPainter& painter, int index, const QDateTime& now) const = 0;
    virtual void entriesChanged() { }

    struct Target {
        int index = -1;
        int part = body;
    };
    Target targetAt(QPoint position) const;

    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void setHoveredID(std::optional<QUuid> id);
    // The clip under the pointer at `position` is highlighted.
    void hoverAt(QPoint position);

    QList<ClipEntry> m_entries;
    std::optional<QUuid> m_hoveredID;
    // What a press went down on: the clip, not its row, which a new clip can shift.
    struct Press {
        QUuid id;
        int part = body;
        QRect area;
    };
    std::optional<Press> m_pressed;
};

} // namespace norvelle
