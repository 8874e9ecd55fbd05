#pragma once

#include "clipboard/ClipEntry.h"

#include <QList>
#include <QWidget>

#include <optional>

class QScrollArea;

namespace norvelle {

// A list of clips drawn in one widget, item by item, only where exposed. It tracks the item
// under the pointer (by clip id, cleared by any leave) and turns a press and release over the
// same item and part into a click. Subclasses place and draw the items and their buttons.
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

    virtual QRect itemRect(int index) const = 0;

    // The list in a frameless, vertically scrolling area that gives it the full width.
    QScrollArea* inScrollArea(QWidget* parent);

signals:
    // A click on item `index`: on its body or on the button numbered `part`.
    void clicked(int index, int part);

protected:
    // The button of item `index` under `position`, or body.
    virtual int partAt(int index, QPoint position) const = 0;
    virtual void paintItem(QPainter& painter, int index, const QDateTime& now) const = 0;
    virtual void entriesChanged() {}

    struct Target {
        int index = -1;
        int part = body;
        bool operator==(const Target&) const = default;
    };
    Target targetAt(QPoint position) const;

    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void setHoveredID(std::optional<QUuid> id);

    QList<ClipEntry> m_entries;
    std::optional<QUuid> m_hoveredID;
    Target m_pressed;
};

} // namespace norvelle
