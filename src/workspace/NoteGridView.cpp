#include "workspace/NoteGridView.h"

#include "workspace/NoteActions.h"
#include "workspace/NoteCard.h"
#include "workspace/NoteRow.h"
#include "workspace/WorkspaceView.h"

#include <QHelpEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QToolTip>

#include <algorithm>

namespace norvelle {

NoteGridView::NoteGridView(WorkspaceView& workspace, QWidget* parent)
    : QAbstractScrollArea(parent)
    , m_workspace(workspace)
{
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    verticalScrollBar()->setSingleStep(24);
    connect(&workspace.index(), &WorkspaceNoteIndex::notesChanged, this, [this] { m_cardLayouts.clear(); });
    refresh();
}

void NoteGridView::refresh()
{
    m_notes = m_workspace.workspaceNoteList();
    m_grid = m_workspace.viewModeGrid();
    m_hovered = std::min(m_hovered, count() - 1);
    updateScrollRange();
    // Another list starts at its top, not where the last one was left: another section or
    // folder, and the matches of a new search or a new order, whose first notes come first.
    const std::tuple shown {m_workspace.selection(), m_workspace.selectedFolderSlug(), m_workspace.searchQuery().trimmed(),
        m_workspace.sortMode()};
    if (shown != m_shownList) {
        m_shownList = shown;
        verticalScrollBar()->setValue(0);
    }
    revealPendingNote();
    viewport()->update();
}

void NoteGridView::revealPendingNote()
{
    const std::optional<ObjectID> id = m_workspace.noteToReveal();
    if (!id) {
        return;
    }
    const auto found = std::find_if(m_notes.begin(), m_notes.end(), [&](const WorkspaceNoteEntry* note) { return note->id == *id; });
    if (found == m_notes.end()) {
        return;
    }
    m_workspace.forgetNoteToReveal();
    const QRect cell = itemRect(int(found - m_notes.begin()));
    QScrollBar& scroll = *verticalScrollBar();
    if (cell.top() < 0) {
        scroll.setValue(scroll.value() + cell.top() - padding);
    } else if (cell.bottom() > viewport()->height()) {
        scroll.setValue(scroll.value() + cell.bottom() - viewport()->height() + padding);
    }
}

int NoteGridView::columnCount() const
{
    if (!m_grid) {
        return 1;
    }
    const int available = viewport()->width() - 2 * padding + spacing;
    return std::max(1, available / (int(NoteCard::minimumWidth) + spacing));
}

int NoteGridView::itemHeight() const
{
    return m_grid ? int(NoteCard::minimumHeight) : int(NoteRow::height);
}

int NoteGridView::contentHeight() const
{
    const int rows = (count() + columnCount() - 1) / columnCount();
    return rows == 0 ? 0 : 2 * padding + rows * itemHeight() + (rows - 1) * spacing;
}

void NoteGridView::updateScrollRange()
{
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setRange(0, std::max(0, contentHeight() - viewport()->height()));
}

QRect NoteGridView::itemRect(int index) const
{
    const int columns = columnCount();
    const int width = (viewport()->width() - 2 * padding - (columns - 1) * spacing) / columns;
    const int row = index / columns;
    const int column = index % columns;
    return QRect(padding + column * (width + spacing), padding + row * (itemHeight() + spacing) - verticalScrollBar()->value(),
        width, itemHeight());
}

int NoteGridView::indexAt(QPoint position) const
{
    const int y = position.y() + verticalScrollBar()->value() - padding;
    if (y < 0 || count() == 0) {
        return -1;
    }
    const int row = y / (itemHeight() + spacing);
    const int columns = columnCount();
    for (int column = 0; column < columns; ++column) {
        const int index = row * columns + column;
        if (index < count() && itemRect(index).contains(position)) {
            return index;
        }
    }
    return -1;
}

NoteCellState NoteGridView::cellState(int index) const
{
    const bool bulk = m_workspace.isSelectingNotes();
    return NoteCellState {.showsTrash = m_workspace.selection() == MainSection::trash,
        .bulkMode = bulk,
        .selected = bulk && index >= 0 && m_workspace.isNoteSelected(*m_notes[size_t(index)]),
        .hovered = index == m_hovered,
        .palette = palette()};
}

void NoteGridView::paintEvent(QPaintEvent* event)
{
    if (!m_wordsRequested) {
        // Once the first list is on screen, the text of every note is read for the search to come.
        m_wordsRequested = true;
        QTimer::singleShot(50, &m_workspace.index(), &WorkspaceNoteIndex::loadAllWords);
    }
    QPainter painter(viewport());
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QRect exposed = event->rect();
    const int step = itemHeight() + spacing;
    const int columns = columnCount();
    const int scroll = verticalScrollBar()->value();
    const int firstRow = std::max(0, (exposed.top() + scroll - padding) / step);
    const int lastRow = std::max(0, (exposed.bottom() + scroll - padding) / step);
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int column = 0; column < columns; ++column) {
            const int index = row * columns + column;
            if (index >= count()) {
                return;
            }
            const QRect rect = itemRect(index);
            const WorkspaceNoteEntry& note = *m_notes[size_t(index)];
            if (m_grid) {
                const NoteCellState state = cellState(index);
                NoteCard::paint(painter, rect, note, cardLayout(note, rect.width(), state.bulkMode), state);
            } else {
                NoteRow::paint(painter, rect, note, m_workspace.index().previewLine(note), cellState(index));
            }
        }
    }
}

const NoteCard::Layout& NoteGridView::cardLayout(const WorkspaceNoteEntry& note, qreal width, bool bulkMode)
{
    NoteCard::Layout* layout = m_cardLayouts.object(&note);
    if (!layout || layout->cardWidth != width || layout->bulkMode != bulkMode) {
        layout = new NoteCard::Layout(note, m_workspace.index().previewLine(note), width, bulkMode);
        m_cardLayouts.insert(&note, layout);
    }
    return *layout;
}

void NoteGridView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRange();
}

void NoteGridView::setHovered(int index)
{
    if (index == m_hovered) {
        return;
    }
    // A hovered card is drawn 3 points higher: repaint a little above it too.
    for (const int changed : {m_hovered, index}) {
        if (changed >= 0 && changed < count()) {
            viewport()->update(itemRect(changed).adjusted(0, -4, 0, 0));
        }
    }
    m_hovered = index;
}

void NoteGridView::mouseMoveEvent(QMouseEvent* event)
{
    setHovered(indexAt(event->position().toPoint()));
    QAbstractScrollArea::mouseMoveEvent(event);
}

void NoteGridView::leaveEvent(QEvent* event)
{
    setHovered(-1);
    QAbstractScrollArea::leaveEvent(event);
}

void NoteGridView::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton ? indexAt(event->position().toPoint()) : -1;
    QAbstractScrollArea::mousePressEvent(event);
}

void NoteGridView::mouseReleaseEvent(QMouseEvent* event)
{
    const int index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index >= 0 && index == m_pressed && m_workspace.isSelectingNotes()) {
        m_workspace.toggleNoteSelection(*m_notes[size_t(index)]);
    }
    m_pressed = -1;
    QAbstractScrollArea::mouseReleaseEvent(event);
}

void NoteGridView::mouseDoubleClickEvent(QMouseEvent* event)
{
    const int index = indexAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || index < 0) {
        return;
    }
    if (m_workspace.isSelectingNotes()) {
        // The second press of a double click is one more click in bulk mode.
        m_pressed = index;
        return;
    }
    if (const std::shared_ptr<StickyNote> note = m_workspace.index().note(*m_notes[size_t(index)])) {
        NoteActions::openSticky(*note);
    }
}

std::unique_ptr<QMenu> NoteGridView::contextMenu(int index)
{
    auto menu = std::make_unique<QMenu>(this);
    if (index < 0 || index >= count()) {
        return menu;
    }
    if (std::shared_ptr<StickyNote> note = m_workspace.index().note(*m_notes[size_t(index)])) {
        NoteActions::fillContextMenu(*menu, std::move(note), cellState(index), m_grid, this);
    }
    return menu;
}

void NoteGridView::contextMenuEvent(QContextMenuEvent* event)
{
    const int index = indexAt(event->pos());
    if (index < 0) {
        return;
    }
    std::unique_ptr<QMenu> menu = contextMenu(index);
    if (!menu->isEmpty()) {
        menu->exec(event->globalPos());
    }
}

bool NoteGridView::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int index = indexAt(help->pos());
        if (index >= 0) {
            QToolTip::showText(help->globalPos(), NoteCard::toolTip(cellState(index)), viewport(), itemRect(index));
        } else {
            QToolTip::hideText();
        }
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

} // namespace norvelle
