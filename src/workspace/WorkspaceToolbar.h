#pragma once

#include <QWidget>

class QMenu;
class QPushButton;

namespace norvelle {

class PlainButton;
class SearchField;
class WorkspaceView;

// The header's controls after the section title: "Search notes", the grid/list switch,
// Select, Import, the Sort by menu and the New note menu with the templates.
class WorkspaceToolbar : public QWidget {
    Q_OBJECT
public:
    explicit WorkspaceToolbar(WorkspaceView& workspace, QWidget* parent = nullptr);

    void refresh();

    // The controls after the search field, which the header moves to a row of their own when
    // the window is too narrow for one row; and the least width of what stays.
    QWidget* trailingControls() const { return m_controls; }
    int leadingMinimumWidth() const;

    SearchField* searchField() const { return m_search; }
    PlainButton* gridButton() const { return m_grid; }
    PlainButton* listButton() const { return m_list; }
    QPushButton* selectButton() const { return m_select; }
    QPushButton* importButton() const { return m_import; }
    PlainButton* sortButton() const { return m_sort; }
    QMenu* sortMenu() const { return m_sortMenu; }
    PlainButton* newNoteButton() const { return m_newNote; }
    QMenu* newNoteMenu() const { return m_newNoteMenu; }

private:
    void fillSortMenu();

    WorkspaceView& m_workspace;
    SearchField* m_search;
    QWidget* m_controls;
    PlainButton* m_grid;
    PlainButton* m_list;
    QPushButton* m_select;
    QPushButton* m_import;
    PlainButton* m_sort;
    QMenu* m_sortMenu;
    PlainButton* m_newNote;
    QMenu* m_newNoteMenu;
};

} // namespace norvelle
