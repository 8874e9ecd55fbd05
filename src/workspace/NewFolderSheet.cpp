#include "workspace/NewFolderSheet.h"

#include "ui/SchemePalette.h"
#include "ui/TextLabel.h"
#include "ui/ViewFont.h"
#include "workspace/WorkspaceFoldersStore.h"
#include "workspace/WorkspaceView.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace norvelle {

NewFolderSheet::NewFolderSheet(WorkspaceView& workspace, QWidget* parent)
    : QDialog(parent)
    , m_workspace(workspace)
{
    setWindowTitle(QStringLiteral("New Folder"));
    setWindowModality(Qt::WindowModal);
    setMinimumWidth(280);
    if (parent) {
        followSchemeOf(*this, *parent);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(12);
    layout->addWidget(new TextLabel(QStringLiteral("New Folder"), viewFont(15, QFont::DemiBold), &SchemeColors::label, this));
    m_name = new QLineEdit(workspace.newFolderName(), this);
    m_name->setPlaceholderText(QStringLiteral("Folder name"));
    layout->addWidget(m_name);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_create = new QPushButton(QStringLiteral("Create"), this);
    m_cancel->setAutoDefault(false);
    m_create->setDefault(true);
    for (QPushButton* button : {m_cancel, m_create}) {
        button->setMinimumHeight(30);
        buttons->addWidget(button);
    }
    layout->addLayout(buttons);

    const auto updateCreate = [this] { m_create->setEnabled(!m_name->text().trimmed().isEmpty()); };
    connect(m_name, &QLineEdit::textChanged, this, [this, updateCreate](const QString& text) {
        m_workspace.setNewFolderName(text);
        updateCreate();
    });
    updateCreate();
    connect(m_cancel, &QPushButton::clicked, this, &NewFolderSheet::cancelNewFolder);
    connect(m_create, &QPushButton::clicked, this, &NewFolderSheet::createNewFolder);
    // Escape or the window's close keep the typed name for the next time.
    connect(this, &QDialog::rejected, this, [this] { m_workspace.setShowNewFolderSheet(false); });
}

void NewFolderSheet::cancelNewFolder()
{
    m_workspace.setNewFolderName(QString());
    m_workspace.setShowNewFolderSheet(false);
    accept();
}

void NewFolderSheet::createNewFolder()
{
    if (m_name->text().trimmed().isEmpty()) {
        return;
    }
    if (const std::optional<QString> slug = m_workspace.folderStore().addFolder(m_workspace.newFolderName())) {
        m_workspace.setSelectedFolderSlug(*slug);
    }
    m_workspace.setNewFolderName(QString());
    m_workspace.setShowNewFolderSheet(false);
    accept();
}

} // namespace norvelle
