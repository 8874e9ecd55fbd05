#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace norvelle {

class SettingsAccountState;
class TextLabel;

// Asks before the account is deleted for good: the user types "delete" to enable the delete
// button. Escape, "Cancel" or closing the window cancels; a failure shows here and the sheet
// stays open with what was typed.
class DeleteAccountSheet : public QDialog {
    Q_OBJECT
public:
    DeleteAccountSheet(SettingsAccountState& state, QWidget* parent);

    QLineEdit* confirmField() const { return m_confirm; }
    QPushButton* cancelButton() const { return m_cancel; }
    QPushButton* deleteButton() const { return m_delete; }
    TextLabel* errorLabel() const { return m_error; }

private:
    void refresh();

    SettingsAccountState& m_state;
    QLineEdit* m_confirm = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_delete = nullptr;
    TextLabel* m_error = nullptr;
};

} // namespace norvelle
