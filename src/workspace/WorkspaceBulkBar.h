#pragma once

#include <QWidget>

class QMenu;

namespace norvelle {

class PlainButton;
class TextLabel;
class WorkspaceView;

// The header's bar in selection mode: Cancel, the count of selected notes, then Move to… and
// Trash (or Restore and Delete Permanently… in the Trash), Share… and Select All.
class WorkspaceBulkBar : public QWidget {
    Q_OBJECT
public:
    explicit WorkspaceBulkBar(WorkspaceView& workspace, QWidget* parent = nullptr);

    void refresh();

    // The actions after the count, which the header moves to a row of their own when the window
    // is too narrow for one row; and the least width of what stays.
    QWidget* trailingControls() const { return m_actions; }
    int leadingMinimumWidth() const;

    PlainButton* cancelButton() const { return m_cancel; }
    TextLabel* countLabel() const { return m_count; }
    PlainButton* moveButton() const { return m_move; }
    QMenu* moveMenu() const { return m_moveMenu; }
    PlainButton* trashButton() const { return m_trash; }
    PlainButton* restoreButton() const { return m_restore; }
    PlainButton* deleteButton() const { return m_delete; }
    PlainButton* shareButton() const { return m_share; }
    PlainButton* selectAllButton() const { return m_selectAll; }

private:
    void fillMoveMenu();

    WorkspaceView& m_workspace;
    PlainButton* m_cancel;
    QWidget* m_actions;
    TextLabel* m_count;
    PlainButton* m_move;
    QMenu* m_moveMenu;
    PlainButton* m_trash;
    PlainButton* m_restore;
    PlainButton* m_delete;
    PlainButton* m_share;
    PlainButton* m_selectAll;
};

} // namespace norvelle
