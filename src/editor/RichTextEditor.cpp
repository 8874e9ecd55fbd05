#include "editor/RichTextEditor.h"

#include "editor/RichTextBody.h"
#include "editor/RichTextEditorCoordinator.h"
#include "editor/StickyTextView.h"
#include "editor/TableEditing.h"

#include <QVBoxLayout>

namespace norvelle {

RichTextEditor::RichTextEditor(const QColor& textColor, const QString& paperHex, QWidget* parent)
    : QWidget(parent)
    , m_textColor(textColor)
    , m_paperHex(paperHex)
    , m_textView(new StickyTextView(this))
    , m_coordinator(std::make_unique<Coordinator>(*this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_textView);
    setFocusProxy(m_textView);
    m_coordinator->observeEditorCommands(*m_textView);
    m_coordinator->loadContent(QString(), std::nullopt);
    m_coordinator->refreshTableAppearance();
    m_textView->setScrollBarInk(textColor);
}

RichTextEditor::~RichTextEditor()
{
    // The view goes with the widget; the coordinator must not outlive its delegate role.
    m_textView->setDelegate(nullptr);
}

void RichTextEditor::load(const QString& text, const std::optional<QByteArray>& richData)
{
    m_richData = richData;
    m_coordinator->loadContent(text, richData);
    m_text = plainTextOf(*m_textView->document());
}

void RichTextEditor::update(const QString& text, const std::optional<QByteArray>& richData)
{
    if (TableEditing::withoutSeeds(text) != plainTextOf(*m_textView->document()))
        load(text, richData);
}

void RichTextEditor::setAppearance(const QColor& textColor, const QString& paperHex)
{
    m_textColor = textColor;
    m_paperHex = paperHex;
    m_coordinator->applyDefaultTextColor(textColor);
    m_coordinator->applySelectionColors();
    m_coordinator->refreshTableAppearance();
    m_textView->setScrollBarInk(textColor);
}

void RichTextEditor::flushPendingReport()
{
    m_coordinator->flushReport();
}

std::optional<QByteArray> RichTextEditor::richData() const
{
    return encodeRichTextData(*m_textView->document(), m_coordinator->appliedDefaultTextColor());
}

std::optional<RichTextEditor::Contents> RichTextEditor::takeUnreportedEdit()
{
    const QString shown = plainTextOf(*m_textView->document());
    if (shown == m_text)
        return std::nullopt;
    m_text = shown;
    m_richData = richData();
    return Contents {m_richData, m_text};
}

void RichTextEditor::writeBindings(const std::optional<QByteArray>& richData, const QString& text)
{
    m_richData = richData;
    emit richDataChanged(richData);
    m_text = text;
    emit textChanged(text);
}

} // namespace norvelle
