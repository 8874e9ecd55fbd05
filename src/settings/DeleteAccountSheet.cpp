#include "settings/DeleteAccountSheet.h"

#include "settings/SettingsAccountState.h"
#include "settings/SettingsButton.h"
#include "ui/SymbolView.h"
#include "ui/TextLabel.h"
#include "ui/ViewFont.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace norvelle {

DeleteAccountSheet::DeleteAccountSheet(SettingsAccountState& state, QWidget* parent)
    : QDialog(parent, Qt::Sheet)
    , m_state(state)
{
    setWindowTitle(QStringLiteral("Delete Account"));
    setWindowModality(Qt::WindowModal);
    setFixedWidth(400);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->setSpacing(14);

    auto* title = new QWidget;
    auto* titleLayout = new QHBoxLayout(title);
    titleLayout->setContentsMargins(0, 0, 0, 0);
    titleLayout->setSpacing(6);
    titleLayout->addWidget(new SymbolView(QStringLiteral("exclamationmark.triangle.fill"), 15, &SchemeColors::destructive));
    titleLayout->addWidget(new TextLabel(QStringLiteral("Delete your account?"), viewFont(15, QFont::DemiBold), &SchemeColors::destructive));
    titleLayout->addStretch(1);
    layout->addWidget(title);

    auto* explanation = new TextLabel(QStringLiteral("This permanently removes your account, all notes synced to Norvelle, "
                                                     "and your devices from our servers. This cannot be undone. Notes "
                                                     "stored only on this computer are not affected."),
        viewFont(12), &SchemeColors::secondaryText);
    explanation->setWordWrap(true);
    layout->addWidget(explanation);

    auto* instruction = new TextLabel(QStringLiteral("Type <b>delete</b> to confirm."), viewFont(12, QFont::Medium), &SchemeColors::label);
    instruction->setTextFormat(Qt::RichText);
    layout->addWidget(instruction);

    m_confirm = new QLineEdit;
    m_confirm->setPlaceholderText(QStringLiteral("delete"));
    m_confirm->setFixedWidth(200);
    connect(m_confirm, &QLineEdit::textEdited, &m_state, &SettingsAccountState::setDeleteConfirmText);
    layout->addWidget(m_confirm);

    m_error = new TextLabel(QString(), viewFont(11), &SchemeColors::destructive);
    m_error->setWordWrap(true);
    layout->addWidget(m_error);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_cancel = new QPushButton(QStringLiteral("Cancel"));
    m_cancel->setAutoDefault(false);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(m_cancel);
    m_delete = makeSettingsButton(QStringLiteral("Delete Account"), 10, 0, true);
    m_delete->setAutoDefault(false);
    connect(m_delete, &QPushButton::clicked, &m_state, &SettingsAccountState::confirmAccountDeletion);
    buttons->addWidget(m_delete);
    layout->addLayout(buttons);

    // Escape, "Cancel" and the window's close button all end up here.
    connect(this, &QDialog::rejected, &m_state, &SettingsAccountState::cancelAccountDeletion);
    connect(&m_state, &SettingsAccountState::changed, this, &DeleteAccountSheet::refresh);
    refresh();
}

void DeleteAccountSheet::refresh()
{
    if (m_confirm->text() != m_state.deleteConfirmText()) {
        m_confirm->setText(m_state.deleteConfirmText());
    }
    const QString error = m_state.deleteAccountError().value_or(QString());
    m_error->setText(error);
    m_error->setVisible(!error.isEmpty());
    m_delete->setText(m_state.deletingAccount() ? QStringLiteral("Deleting…") : QStringLiteral("Delete Account"));
    m_delete->setEnabled(m_state.canConfirmDeletion());
    if (!m_state.showDeleteAccountConfirm() && isVisible()) {
        hide();
    }
    // A window keeps its height when its text grows: the sheet takes the height its text needs.
    layout()->activate();
    setFixedHeight(heightForWidth(width()));
}

} // namespace norvelle
