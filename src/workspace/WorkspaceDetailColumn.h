#pragma once

#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QWidget>

class QHBoxLayout;
class QScrollArea;
class QVBoxLayout;

namespace norvelle {

class BadgeLabel;
class NoteGridView;
class PlainButton;
class TextLabel;
class WorkspaceBulkBar;
class WorkspaceEmptyState;
class WorkspaceToolbar;
class WorkspaceView;

// The right side of the workspace window: a header with the section's title, its note count
// and Empty Trash (then the toolbar, or the bulk bar in selection mode), the strip of pinned
// notes on All notes, and the notes as cards or rows with a message over an empty list. The
// two permanent-delete confirmations hang on it.
class WorkspaceDetailColumn : public QWidget {
    Q_OBJECT
public:
    explicit WorkspaceDetailColumn(WorkspaceView& workspace, QWidget* parent = nullptr);

    // Puts `toolbar` after the section title while selection mode is off.
    void setToolbar(WorkspaceToolbar* toolbar);
    // Puts `banner` above the header.
    void setBanner(QWidget* banner);

    void refresh();

    TextLabel* titleLabel() const { return m_title; }
    BadgeLabel* countBadge() const { return m_count; }
    PlainButton* emptyTrashButton() const { return m_emptyTrash; }
    WorkspaceBulkBar* bulkBar() const { return m_bulkBar; }
    QWidget* pinnedStrip() const { return m_pinnedStrip; }
    NoteGridView* notesView() const { return m_notes; }
    WorkspaceEmptyState* emptyState() const { return m_emptyState; }
    QMessageBox* openConfirmation() const { return m_confirmation; }

private:
    QWidget* makeHeader();
    QWidget* makePinnedStrip();
    // Where the window is too narrow for one header row, the bar's trailing controls take a
    // second row rather than being squeezed.
    void wrapHeader();
    void refreshPinnedStrip();
    void refreshDialogs();

    WorkspaceView& m_workspace;
    QVBoxLayout* m_layout;
    QHBoxLayout* m_headerLayout = nullptr;
    QHBoxLayout* m_secondRow = nullptr;
    TextLabel* m_title = nullptr;
    BadgeLabel* m_count = nullptr;
    PlainButton* m_emptyTrash = nullptr;
    WorkspaceBulkBar* m_bulkBar = nullptr;
    WorkspaceToolbar* m_toolbar = nullptr;
    QWidget* m_pinnedStrip = nullptr;
    QHBoxLayout* m_chips = nullptr;
    QStringList m_pinnedShown;
    NoteGridView* m_notes = nullptr;
    WorkspaceEmptyState* m_emptyState = nullptr;
    QPointer<QMessageBox> m_confirmation;
};

} // namespace norvelle
