#pragma once

#include "clipboard/ClipListWidget.h"

namespace norvelle {

// The rows of the clip strip: thumbnail, source, title, age and shortcut badge, the
// "→ Sticky" button of the row under the pointer, hover and selection fills.
class ClipStripList : public ClipListWidget {
    Q_OBJECT
public:
    static constexpr int rowHeight = 56;
    static constexpr int badgedRows = 9;
    // The part number of "→ Sticky" in clicked().
    static constexpr int stickyButton = 0;

    explicit ClipStripList(QWidget* parent = nullptr);

    void setSelectedIndex(int index);

    QRect itemRect(int index) const override;
    // The row's "→ Sticky" button; empty when not shown.
    QRect stickyButtonRect(int index) const;
    // The shortcut a row's badge shows ("Ctrl+1"), empty beyond the ninth row.
    static QString badgeText(int index);

    QSize sizeHint() const override;

protected:
    int partAt(int index, QPoint position) const override;
    QRect partRect(int index, int part) const override;
    void paintItem(QPainter& painter, int index, const QDateTime& now) const override;
    void entriesChanged() override;

private:
    bool showsStickyButton(int index) const;

    int m_selectedIndex = 0;
};

} // namespace norvelle
