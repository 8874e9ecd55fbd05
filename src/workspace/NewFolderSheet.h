#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace norvelle {

class WorkspaceView;

// "New Folder": a name field, "Cancel" and "Create" (the default button, off while the name
// is blank). Creating selects the new folder.
class NewFolderSheet : public QDialog {
    Q_OBJECT
public:
    explicit NewFolderSheet(WorkspaceView& workspace, QWidget* parent = nullptr);

    QLineEdit* nameField() const { return m_name; }
    QPushButton* createButton() const { return m_create; }
    QPushButton* cancelButton() const { return m_cancel; }

    void cancelNewFolder();
    void createNewFolder();

private:
    WorkspaceView& m_workspace;
    QLineEdit* m_name;
    QPushButton* m_cancel;
    QPushButton* m_create;
};

} // namespace norvelle
