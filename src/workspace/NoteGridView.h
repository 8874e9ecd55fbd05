#pragma once

#include "workspace/MainSection.h"
#include "workspace/NoteCard.h"
#include "workspace/NoteCellState.h"
#include "workspace/WorkspaceNoteIndex.h"
#include "workspace/WorkspaceSortMode.h"

#include <QAbstractScrollArea>
#include <QCache>

#include <memory>
#include <tuple>

class QMenu;

namespace norvelle {

class WorkspaceView;

// The notes of the detail column as a grid of cards (adaptive columns at least 200 points
// wide, 10 apart, 14 of padding) or a list of rows, drawn in one scrolling view: only the
// cells in sight are painted, from the notes' ready values, so ten thousand notes scroll as
// smoothly as ten.
class NoteGridView : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr int padding = 14;
    static constexpr int spacing = 10;

    explicit NoteGridView(WorkspaceView& workspace, QWidget* parent = nullptr);

    // Follows the workspace: its list, grid or list mode, bulk mode and Trash.
    void refresh();

    int count() const { return int(m_notes.size()); }
    int columnCount() const;
    // The cell of note `index` in viewport coordinates.
    QRect itemRect(int index) const;
    int indexAt(QPoint viewportPosition) const;
    NoteCellState cellState(int index) const;
    // The context menu of note `index` (empty in bulk mode).
    std::unique_ptr<QMenu> contextMenu(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    int itemHeight() const;
    const NoteCard::Layout& cardLayout(const WorkspaceNoteEntry& note, qreal width, bool bulkMode);
    int contentHeight() const;
    void updateScrollRange();
    void setHovered(int index);
    // Scrolls the note the workspace asks to reveal into sight once the list holds it.
    void revealPendingNote();

    WorkspaceView& m_workspace;
    WorkspaceNoteIndex::NoteRefs m_notes;
    // The section, folder, search and order of the list shown.
    std::tuple<MainSection, QString, QString, WorkspaceSortMode> m_shownList;
    bool m_grid = true;
    int m_hovered = -1;
    int m_pressed = -1;
    bool m_wordsRequested = false;
    // The cards' layouts, so that a scrolled frame or a narrowed search only draws. Keyed by
    // entry, which lives until the notes change.
    QCache<const WorkspaceNoteEntry*, NoteCard::Layout> m_cardLayouts {512};
};

} // namespace norvelle
