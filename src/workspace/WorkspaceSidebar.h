#pragma once

#include "workspace/MainSection.h"

#include <QWidget>

#include <optional>

class QScrollArea;
class QVBoxLayout;

namespace norvelle {

class PlainButton;
class SidebarRow;
class WorkspaceView;

// The workspace's left column: the LIBRARY sections with their counts, the clipboard history
// entry, the FOLDERS with the New Folder button, and the profile footer.
class WorkspaceSidebar : public QWidget {
    Q_OBJECT
public:
    static constexpr int columnWidth = 228;

    explicit WorkspaceSidebar(WorkspaceView& workspace, QWidget* parent = nullptr);

    void refresh();
    // Puts the profile footer after the last folder.
    void setFooter(QWidget* footer);

    // The badge of a section: the plain count when above 0; none for Recent.
    std::optional<QString> sectionCount(MainSection section) const;
    int clipboardHistoryCount() const;
    int folderNoteCount(const QString& slug) const;

    SidebarRow* sectionRow(MainSection section) const;
    SidebarRow* clipboardRow() const { return m_clipboardRow; }
    SidebarRow* folderRow(const QString& slug) const;
    PlainButton* newFolderButton() const { return m_newFolder; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void rebuildFolders();
    // Scrolls the selected folder's row into sight once the rows are laid out.
    void revealSelectedFolder();

    WorkspaceView& m_workspace;
    QScrollArea* m_scroll = nullptr;
    QVBoxLayout* m_folders = nullptr;
    QVBoxLayout* m_footerSlot = nullptr;
    QList<SidebarRow*> m_sectionRows;
    SidebarRow* m_clipboardRow = nullptr;
    PlainButton* m_newFolder = nullptr;
    QList<SidebarRow*> m_folderRows;
    // The folder selected when the rows were last built.
    QString m_selectedFolder;
};

} // namespace norvelle
