#include "workspace/WorkspaceEmptyState.h"

#include "ui/SymbolView.h"
#include "ui/TextLabel.h"
#include "ui/ViewFont.h"

#include <QVBoxLayout>

namespace norvelle {

WorkspaceEmptyState::Texts WorkspaceEmptyState::texts(MainSection section, const QString& searchQuery)
{
    const bool searching = !searchQuery.trimmed().isEmpty();
    Texts texts;
    texts.symbol = section == MainSection::trash ? QStringLiteral("trash")
        : searching                              ? QStringLiteral("magnifyingglass")
                                                 : QStringLiteral("note.text");
    if (searching) {
        texts.title = QStringLiteral("No matching notes");
        texts.hint = QStringLiteral("Try another search or clear the search field.");
        return texts;
    }
    const QString added = QStringLiteral("Notes you add will appear in this section.");
    switch (section) {
    case MainSection::trash:
        texts.title = QStringLiteral("Trash is empty");
        texts.hint = QStringLiteral("Deleted notes appear here. Use Empty Trash to remove them permanently.");
        break;
    case MainSection::all:
        texts.title = QStringLiteral("No notes yet");
        texts.hint = QStringLiteral("Create a note with the compose button in the top toolbar.");
        break;
    case MainSection::pinned:
        texts.title = QStringLiteral("No pinned notes");
        texts.hint = added;
        break;
    case MainSection::recent:
        texts.title = QStringLiteral("No recent notes");
        texts.hint = added;
        break;
    case MainSection::archive:
        texts.title = QStringLiteral("Nothing in Archive");
        texts.hint = added;
        break;
    }
    return texts;
}

WorkspaceEmptyState::WorkspaceEmptyState(QWidget* parent)
    : QWidget(parent)
{
    // Clicks pass through to the list below.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->setSpacing(12);
    layout->addStretch(1);
    m_symbolHost = new QWidget(this);
    auto* symbolLayout = new QVBoxLayout(m_symbolHost);
    symbolLayout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_symbolHost, 0, Qt::AlignHCenter);
    m_title = new TextLabel({}, viewFont(17, QFont::DemiBold), &SchemeColors::label, this);
    m_title->setAlignment(Qt::AlignCenter);
    layout->addWidget(m_title, 0, Qt::AlignHCenter);
    m_hint = new TextLabel({}, viewFont(13), &SchemeColors::secondaryText, this);
    m_hint->setAlignment(Qt::AlignCenter);
    m_hint->setWordWrap(true);
    m_hint->setFixedWidth(320);
    layout->addWidget(m_hint, 0, Qt::AlignHCenter);
    layout->addStretch(1);
}

void WorkspaceEmptyState::showTexts(const Texts& texts)
{
    delete m_symbol;
    m_symbol = new SymbolView(texts.symbol, 48, &SchemeColors::tertiaryText, m_symbolHost);
    m_symbolHost->layout()->addWidget(m_symbol);
    m_title->setText(texts.title);
    m_hint->setText(texts.hint);
    // A centred item's layout does not ask a wrapping label for its height: give it.
    m_hint->setMinimumHeight(m_hint->heightForWidth(m_hint->width()));
    QWidget::show();
}

QString WorkspaceEmptyState::title() const
{
    return m_title->text();
}

QString WorkspaceEmptyState::hint() const
{
    return m_hint->text();
}

} // namespace norvelle
