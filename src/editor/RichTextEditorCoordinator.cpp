#include "editor/RichTextEditorCoordinator.h"

#include "editor/ChecklistEditing.h"
#include "editor/ChecklistMarkerAttachment.h"
#include "editor/EditorColors.h"
#include "editor/EditorCommands.h"
#include "editor/EditorFonts.h"
#include "editor/LinePrefixes.h"
#include "editor/ListEditing.h"
#include "editor/LongLineWrap.h"
#include "editor/LongParagraphSplit.h"
#include "editor/PlainTextMerge.h"
#include "editor/RichTextBody.h"
#include "editor/RichTextEditor.h"
#include "editor/RightToLeftText.h"
#include "editor/TableEditing.h"
#include "ui/HexColor.h"

#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>
#include <cmath>

namespace norvelle {

namespace {

// Runs without a colour, or in a previous default colour, take the new default.
bool takesDefaultColor(const QTextFormat& format, const std::vector<QColor>& old, const QColor& color)
{
    if (ChecklistMarkerAttachment::isAttachment(format))
        return false;
    const QBrush brush = format.brushProperty(QTextFormat::ForegroundBrush);
    if (!format.hasProperty(QTextFormat::ForegroundBrush) || brush.style() == Qt::NoBrush)
        return true;
    if (EditorColors::colorsMatch(brush.color(), color))
        return false;
    return std::any_of(old.begin(), old.end(), [&brush](const QColor& previous) {
        return EditorColors::colorsMatch(brush.color(), previous);
    });
}

// The stretch of text `changed` covers once `removed` characters at `position` became `added`,
// together with what that change touched.
std::optional<TextRange> afterChange(std::optional<TextRange> changed, int position, int removed, int added)
{
    if (!changed)
        return TextRange {position, added};
    const auto moved = [&](int at) { return at >= position + removed ? at + added - removed : std::min(at, position + added); };
    const int start = std::min(moved(changed->start), position);
    const int end = std::max(moved(changed->end()), position + added);
    return TextRange {start, end - start};
}

void recolor(QTextDocument& document, const std::vector<QColor>& old, const QColor& color)
{
    std::vector<TextRange> runs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (!takesDefaultColor(it.fragment().charFormat(), old, color))
                continue;
            const TextRange run {it.fragment().position(), it.fragment().length()};
            // Neighbouring runs (split only by other attributes) in one change.
            if (!runs.empty() && runs.back().end() == run.start)
                runs.back().length += run.length;
            else
                runs.push_back(run);
        }
    }
    if (runs.empty())
        return;
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    TextStorage storage(document);
    QTextCharFormat foreground;
    foreground.setForeground(color);
    for (const TextRange& run : runs)
        storage.mergeCharFormat(run, foreground);
    document.setUndoRedoEnabled(undo);
}

} // namespace

RichTextEditorCoordinator::RichTextEditorCoordinator(RichTextEditor& parent)
    : m_parent(parent)
{
}

RichTextEditorCoordinator::~RichTextEditorCoordinator()
{
    for (const NotificationCenter::Token token : m_observers)
        NotificationCenter::defaultCenter().removeObserver(token);
}

bool RichTextEditorCoordinator::accepts(const Notification& notification) const
{
    if (notification.object)
        return notification.object == &m_parent;
    const QWidget* window = m_parent.window();
    return window && window->isActiveWindow();
}

void RichTextEditorCoordinator::observeEditorCommands(StickyTextView& textView)
{
    m_textView = &textView;
    textView.setDelegate(this);
    using Info = const QVariantMap&;
    const auto withHex = [](Info info, const auto& apply) {
        const QVariant hex = info.value(QStringLiteral("hex"));
        if (hex.typeId() != QMetaType::QString)
            return;
        if (const std::optional<QColor> color = colorFromHex(hex.toString()))
            apply(*color);
    };
    const auto withString = [](Info info, const QString& key, const auto& apply) {
        const QVariant value = info.value(key);
        if (value.typeId() == QMetaType::QString)
            apply(value.toString());
    };
    const std::pair<const QString*, std::function<void(Info)>> commands[] = {
        {&EditorCommands::insertChecklist, [this](Info) { insertChecklist(); }},
        {&EditorCommands::insertTable, [this](Info) { insertTable(); }},
        {&EditorCommands::reportFormattingState, [this](Info) { broadcastFormattingState(); }},
        {&EditorCommands::setFontSize, [this](Info info) {
            const QVariant size = info.value(QStringLiteral("size"));
            if (size.typeId() == QMetaType::Int || size.typeId() == QMetaType::LongLong)
                applyFontSize(qreal(std::clamp<qlonglong>(size.toLongLong(), 1, 1638)));
        }},
        {&EditorCommands::toggleBold, [this](Info) { toggleFontTrait(FontTrait::Bold); }},
        {&EditorCommands::toggleItalic, [this](Info) { toggleFontTrait(FontTrait::Italic); }},
        {&EditorCommands::toggleUnderline, [this](Info) { toggleLineStyle(LineStyle::Underline); }},
        {&EditorCommands::toggleStrikethrough, [this](Info) { toggleLineStyle(LineStyle::Strikethrough); }},
        {&EditorCommands::applyTitleStyle, [this](Info) { applyTextStyle(22, EditorFonts::bold); }},
        {&EditorCommands::applyHeadingStyle, [this](Info) { applyTextStyle(18, EditorFonts::semibold); }},
        {&EditorCommands::applySubheadingStyle, [this](Info) { applyTextStyle(16, EditorFonts::semibold); }},
        {&EditorCommands::applyBodyStyle, [this](Info) { applyTextStyle(14, EditorFonts::regular); }},
        {&EditorCommands::applyCaptionStyle, [this](Info) { applyTextStyle(12, EditorFonts::regular); }},
        {&EditorCommands::applyMonospacedStyle, [this](Info) { applyMonospacedStyle(14); }},
        {&EditorCommands::toggleHighlight, [this](Info) { toggleHighlight(); }},
        {&EditorCommands::setHighlightColor, [this, withHex](Info info) { withHex(info, [this](const QColor& c) { storeHighlightColor(c); }); }},
        {&EditorCommands::setTextColor, [this, withHex](Info info) { withHex(info, [this](const QColor& c) { applyTextColor(c); }); }},
        {&EditorCommands::setAlignment, [this, withString](Info info) {
            withString(info, QStringLiteral("alignment"), [this](const QString& name) { applyAlignment(name); });
        }},
        {&EditorCommands::setListStyle, [this, withString](Info info) {
            withString(info, QStringLiteral("style"), [this](const QString& style) { setListStyle(style); });
        }},
        {&EditorCommands::toggleQuote, [this](Info) { toggleQuote(); }},
    };
    for (const auto& [name, handler] : commands) {
        m_observers.push_back(NotificationCenter::defaultCenter().addObserver(*name, this,
            [this, handler](const Notification& notification) {
                if (m_textView && accepts(notification))
                    handler(notification.userInfo);
            }));
    }
    connect(&textView, &QTextEdit::cursorPositionChanged, this, &RichTextEditorCoordinator::selectionDidChange);
}

QColor RichTextEditorCoordinator::checklistMarkerColor() const
{
    return EditorColors(m_parent.paperHex()).checklistMarker();
}

void RichTextEditorCoordinator::installDocument(std::unique_ptr<QTextDocument> document)
{
    StickyTextView* view = m_textView;
    if (!view)
        return;
    document->setDocumentMargin(RichTextEditor::textInset);
    document->setDefaultFont(EditorFonts::system(RichTextEditor::defaultFontSize));
    document->setUndoRedoEnabled(false);
    {
        TextStorage storage(*document);
        ChecklistEditing(storage, m_parent.textColor()).normalizeChecklistMarkers();
    }
    // Before the view lays the text out: colouring is then a matter of formats only.
    adoptText(*document);
    LongParagraphSplit::split(*document);
    document->setUndoRedoEnabled(true);
    document->setParent(view);
    const QString characters = document->toRawText();
    const QTextOption::WrapMode wrap = LongLineWrap::wrapModeFor(characters);
    QTextOption option = document->defaultTextOption();
    option.setWrapMode(wrap);
    option.setTextDirection(RightToLeftText::directionFor(characters));
    document->setDefaultTextOption(option);
    ++m_suppressChanges;
    // The view deletes a document of its own making; ours are its children.
    const QPointer<QTextDocument> old = view->document();
    if (view->wordWrapMode() != wrap) {
        // Through a blank document: the one going is not laid out again in the new mode.
        QTextDocument blank;
        view->setDocument(&blank);
        view->setWordWrapMode(wrap);
        view->setDocument(document.release());
    } else {
        view->setDocument(document.release());
    }
    if (old && old->parent() == view)
        delete old.data();
    view->keepLayoutWithinReach();
    view->layOutWhenShown();
    ChecklistMarkerRenderer::install(*view->document())->setColor(checklistMarkerColor());
    // A new text is encoded whole at its first save.
    m_encoder = std::make_unique<NoteEncoder>();
    m_unnormalizedLines.reset();
    // contentsChanged also ends every empty edit block; contentsChange says something changed.
    connect(view->document(), &QTextDocument::contentsChange, this, [this, document = view->document()](int position, int removed, int added) {
        m_encoder->textChanged(*document, position, removed, added);
        m_unnormalizedLines = afterChange(m_unnormalizedLines, position, removed, added);
        m_contentsChanged = true;
        wrapAnywhereAfterLongRun(position, added);
        findParagraphDirectionsAfterRightToLeft(position, added);
    });
    connect(view->document(), &QTextDocument::contentsChanged, this, &RichTextEditorCoordinator::contentsChanged);
    m_appliedDefaultTextColor.reset();
    --m_suppressChanges;
}

void RichTextEditorCoordinator::loadContent(const QString& text, const std::optional<QByteArray>& richData)
{
    // What is loaded replaces what was shown, an edit not yet reported included.
    m_reportPending = false;
    std::unique_ptr<QTextDocument> document;
    if (richData && !richData->isEmpty()) {
        document = decodeRichTextData(*richData);
        if (document) {
            TextStorage storage(*document);
            ChecklistEditing checklists(storage, m_parent.textColor());
            checklists.normalizeChecklistMarkers();
            // A plain text changed elsewhere (sync, the workspace) is newer than the body: its
            // changed lines are written into it. Notes saved before boxes were written as tokens
            // hold U+FFFC for them.
            if (plainTextOf(*document) != text && storage.string() != text) {
                if (mergePlainText(*document, text) && plainTextOf(*document) == text)
                    checklists.normalizeChecklistMarkers();
                else
                    document.reset();
            }
        }
    }
    if (!document) {
        document = std::make_unique<QTextDocument>();
        QTextCharFormat format = EditorFonts::systemFormat(RichTextEditor::defaultFontSize);
        format.setForeground(m_parent.textColor());
        QTextCursor cursor(document.get());
        cursor.setBlockCharFormat(format);
        if (!text.isEmpty())
            cursor.insertText(text, format);
    }
    installDocument(std::move(document));
    applyDefaultTextColor(m_parent.textColor());
    applySelectionColors();
}

void RichTextEditorCoordinator::applyDefaultTextColor(const QColor& color)
{
    StickyTextView* view = m_textView;
    if (!view)
        return;
    std::vector<QColor> old;
    if (m_appliedDefaultTextColor)
        old.push_back(*m_appliedDefaultTextColor);
    // A new paper colour is no edit of the note: it is neither reported nor undone.
    ++m_suppressChanges;
    if (view->document()->characterCount() > LongParagraphSplit::splitAbove)
        view->restyleLaidOutLater([&] { recolor(*view->document(), old, color); });
    else
        recolor(*view->document(), old, color);
    --m_suppressChanges;
    QTextCharFormat typing = typingAttributes();
    if (takesDefaultColor(typing, old, color)) {
        typing.setForeground(color);
        setTypingAttributes(typing);
    }
    QPalette palette = view->palette();
    palette.setColor(QPalette::Text, color);
    view->setPalette(palette);
    view->setChecklistBaseTextColor(color);
    m_appliedDefaultTextColor = color;
}

void RichTextEditorCoordinator::applySelectionColors()
{
    StickyTextView* view = m_textView;
    if (!view)
        return;
    const EditorColors colors(m_parent.paperHex());
    QPalette palette = view->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Highlight, colors.selectionHighlight());
        palette.setColor(group, QPalette::HighlightedText, m_parent.textColor());
    }
    view->setPalette(palette);
    ChecklistMarkerRenderer::install(*view->document())->setColor(colors.checklistMarker());
}

void RichTextEditorCoordinator::refreshTableAppearance()
{
    StickyTextView* view = m_textView;
    if (!view)
        return;
    TextStorage storage(*view->document());
    TableEditing tables(storage, m_parent.textColor(), EditorColors(m_parent.paperHex()));
    const std::vector<QTextTable*> found = tables.tables();
    if (found.empty())
        return;
    // The paper's colours are no edit of the note: neither reported nor undone.
    ++m_suppressChanges;
    const bool undo = view->document()->isUndoRedoEnabled();
    view->document()->setUndoRedoEnabled(false);
    for (QTextTable* table : found)
        tables.restyleTable(table);
    view->document()->setUndoRedoEnabled(undo);
    --m_suppressChanges;
}

void RichTextEditorCoordinator::adoptText(QTextDocument& document)
{
    // Bodies stored before default text went without a colour hold it as black or white,
    // whatever paper they were written on, and so does what other programs copy: both are
    // default text.
    recolor(document, {QColor(Qt::black), QColor(Qt::white)}, m_parent.textColor());
    TextStorage storage(document);
    TableEditing tables(storage, m_parent.textColor(), EditorColors(m_parent.paperHex()));
    for (QTextTable* table : tables.tables())
        tables.restyleTable(table);
}

std::optional<TextRange> RichTextEditorCoordinator::typingRange(int position)
{
    if (!m_textView)
        return std::nullopt;
    TextStorage storage(*m_textView->document());
    if (storage.isEmpty())
        return std::nullopt;
    if (const auto seed = TableEditing(storage, m_parent.textColor(), EditorColors(m_parent.paperHex())).seedOfEmptyCell(position))
        return seed;
    if (const std::optional<int> itemText = ChecklistEditing(storage).itemTextStart(position))
        return TextRange {*itemText, 0};
    return std::nullopt;
}

void RichTextEditorCoordinator::wrapAnywhereAfterLongRun(int position, int added)
{
    StickyTextView* view = m_textView;
    if (!view || view->wordWrapMode() == QTextOption::WrapAnywhere)
        return;
    const TextStorage storage(*view->document());
    const int limit = int(LongLineWrap::unbreakableRunLimit);
    const int start = std::max(0, position - limit);
    const int end = std::min(storage.length(), position + added + limit);
    if (!LongLineWrap::hasUnbreakableRun(storage.text({start, end - start})))
        return;
    // Once the edit is laid out: a new wrap mode lays the whole text out again.
    QMetaObject::invokeMethod(view, [view] { view->setWordWrapMode(QTextOption::WrapAnywhere); }, Qt::QueuedConnection);
}

void RichTextEditorCoordinator::findParagraphDirectionsAfterRightToLeft(int position, int added)
{
    StickyTextView* view = m_textView;
    if (!view || view->document()->defaultTextOption().textDirection() != Qt::LeftToRight)
        return;
    const TextStorage storage(*view->document());
    if (!RightToLeftText::isIn(storage.text({position, added})))
        return;
    // Once the edit is laid out: a new direction lays the whole text out again.
    QMetaObject::invokeMethod(view, [document = QPointer<QTextDocument>(view->document())] {
        if (!document)
            return;
        QTextOption option = document->defaultTextOption();
        option.setTextDirection(Qt::LayoutDirectionAuto);
        document->setDefaultTextOption(option);
    }, Qt::QueuedConnection);
}

QTextCharFormat RichTextEditorCoordinator::typingAttributes() const
{
    return m_textView ? m_textView->currentCharFormat() : QTextCharFormat();
}

void RichTextEditorCoordinator::setTypingAttributes(const QTextCharFormat& format)
{
    // With a selection the view's format is the selection's, not the typing attributes.
    if (m_textView && !m_textView->textCursor().hasSelection())
        m_textView->setCurrentCharFormat(format);
}

void RichTextEditorCoordinator::contentsChanged()
{
    if (!std::exchange(m_contentsChanged, false))
        return;
    if (m_suppressChanges > 0) {
        m_changedWhileSuppressed = true;
        return;
    }
    textDidChange();
}

void RichTextEditorCoordinator::textDidChange()
{
    StickyTextView* view = m_textView;
    if (!view)
        return;
    QTextDocument& document = *view->document();
    TextStorage storage(document);
    if (!m_isNormalizingChecklist) {
        ChecklistEditing checklists(storage, m_parent.textColor());
        if (checklists.needsNormalizing(std::exchange(m_unnormalizedLines, std::nullopt).value_or(TextRange {}))) {
            m_isNormalizingChecklist = true;
            ++m_suppressChanges;
            // Part of the edit that brought the token in, so one undo takes both back.
            QTextCursor step(&document);
            step.joinPreviousEditBlock();
            checklists.normalizeChecklistMarkers();
            step.endEditBlock();
            --m_suppressChanges;
            m_isNormalizingChecklist = false;
        }
    }
    // An empty table cell's invisible placeholder goes once the user writes there, in the same undo
    // step; not when an undo brings it back, or undo would stop there for good.
    const bool undone = document.isRedoAvailable();
    const std::vector<int> seeds = undone ? std::vector<int> {}
                                          : TableEditing(storage, m_parent.textColor(), EditorColors(m_parent.paperHex()))
                                                .seedsOfFilledCell(view->textCursor().position());
    if (!seeds.empty()) {
        ++m_suppressChanges;
        QTextCursor step(&document);
        step.joinPreviousEditBlock();
        for (const int seed : seeds)
            storage.cursor({seed, 1}).removeSelectedText();
        step.endEditBlock();
        --m_suppressChanges;
    }
    scheduleReport();
    broadcastFormattingState();
}

void RichTextEditorCoordinator::scheduleReport()
{
    // Keys that arrive together (a fast typist, a held key, a busy moment) are reported once,
    // after the last of them: the body of a large note takes a while to encode and save.
    if (std::exchange(m_reportPending, true))
        return;
    QMetaObject::invokeMethod(this, &RichTextEditorCoordinator::flushReport, Qt::QueuedConnection);
}

void RichTextEditorCoordinator::flushReport()
{
    StickyTextView* view = m_textView;
    if (!std::exchange(m_reportPending, false) || !view)
        return;
    QTextDocument& document = *view->document();
    const EncodedNote note = m_encoder->encode(document, m_appliedDefaultTextColor);
    m_parent.writeBindings(note.body, note.plainText);
}

void RichTextEditorCoordinator::selectionDidChange()
{
    StickyTextView* view = m_textView;
    if (!view)
        return;
    const TextStorage storage(*view->document());
    const int location = view->textCursor().selectionStart();
    if (storage.isEmpty() || location >= storage.length()) {
        emit m_parent.selectionTableStateChanged(false);
        return;
    }
    emit m_parent.selectionTableStateChanged(storage.tableAt(location) != nullptr);
    broadcastFormattingState();
}

void RichTextEditorCoordinator::broadcastFormattingState()
{
    StickyTextView* view = m_textView;
    if (!view)
        return;
    TextStorage storage(*view->document());
    const int location = view->textCursor().selectionStart();
    const bool atText = !storage.isEmpty() && location < storage.length();
    const QTextCharFormat attributes = atText ? storage.charFormat(location) : typingAttributes();
    const QTextBlockFormat paragraph = atText ? storage.blockFormat(location) : view->textCursor().blockFormat();
    const qreal size = EditorFonts::size(attributes).value_or(RichTextEditor::defaultFontSize);
    const auto brushHex = [&](int property, const QColor& fallback) {
        const QBrush brush = attributes.brushProperty(property);
        return hexString(attributes.hasProperty(property) && brush.style() != Qt::NoBrush ? brush.color() : fallback);
    };
    QString alignment = QStringLiteral("left");
    const Qt::Alignment horizontal = paragraph.alignment() & Qt::AlignHorizontal_Mask;
    if (horizontal & Qt::AlignRight)
        alignment = QStringLiteral("right");
    else if (horizontal & Qt::AlignHCenter)
        alignment = QStringLiteral("center");
    else if (horizontal & Qt::AlignJustify)
        alignment = QStringLiteral("justify");
    const int index = std::clamp(location, 0, storage.length());
    const TextRange line = storage.lineRange(index);
    const QString lineText = ListEditing(storage).lineBody(line);
    const bool quoted = LinePrefixes::isQuotedLine(lineText) || (index < storage.length() && storage.blockFormat(index).leftMargin() >= 15);
    const QVariantMap state {
        {QStringLiteral("bold"), attributes.fontWeight() >= EditorFonts::bold},
        {QStringLiteral("italic"), attributes.fontItalic()},
        {QStringLiteral("underline"), attributes.fontUnderline()},
        {QStringLiteral("strike"), attributes.fontStrikeOut()},
        {QStringLiteral("fontSize"), int(std::lround(size))},
        {QStringLiteral("textColorHex"), brushHex(QTextFormat::ForegroundBrush, m_parent.textColor())},
        {QStringLiteral("highlightHex"), brushHex(QTextFormat::BackgroundBrush, m_currentHighlightColor)},
        {QStringLiteral("alignment"), alignment},
        {QStringLiteral("listStyle"), LinePrefixes::caretListStyle(lineText)},
        {QStringLiteral("isQuoted"), quoted},
    };
    NotificationCenter::defaultCenter().post(EditorCommands::formattingStateDidChange, &m_parent, state);
}

void RichTextEditorCoordinator::commitEdit(const std::function<std::optional<int>(TextStorage&)>& body)
{
    StickyTextView* view = m_textView;
    if (!view)
        return;
    QTextDocument& document = *view->document();
    TextStorage storage(document);
    m_changedWhileSuppressed = false;
    ++m_suppressChanges;
    QTextCursor step(&document);
    step.beginEditBlock();
    const std::optional<int> caret = body(storage);
    step.endEditBlock();
    --m_suppressChanges;
    if (caret) {
        QTextCursor cursor = view->textCursor();
        cursor.setPosition(std::clamp(*caret, 0, storage.length()));
        view->setTextCursor(cursor);
    }
    if (m_changedWhileSuppressed)
        textDidChange();
    else
        broadcastFormattingState();
}

void RichTextEditorCoordinator::insertChecklist()
{
    StickyTextView* view = m_textView;
    if (!view)
        return;
    const QTextCursor cursor = view->textCursor();
    const TextRange selection {cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart()};
    commitEdit([&](TextStorage& storage) {
        return ChecklistEditing(storage, m_parent.textColor()).insertChecklist(selection);
    });
}

bool RichTextEditorCoordinator::highlightActiveAtCaret() const
{
    const auto highlighted = [](const QTextFormat& format) {
        return format.hasProperty(QTextFormat::BackgroundBrush) && format.brushProperty(QTextFormat::BackgroundBrush).style() != Qt::NoBrush;
    };
    if (highlighted(typingAttributes()))
        return true;
    const TextStorage storage(*m_textView->document());
    if (storage.isEmpty())
        return false;
    const int index = std::clamp(m_textView->textCursor().selectionStart(), 0, storage.length());
    return (index > 0 && highlighted(storage.charFormat(index - 1))) || (index < storage.length() && highlighted(storage.charFormat(index)));
}

bool RichTextEditorCoordinator::handleChecklistReturn(TextStorage& storage, TextRange line)
{
    const QString lineText = storage.text(TextStorage::withoutLineBreak(line, storage.text(line)));
    const int tokenLength = int(ChecklistMarkerAttachment::uncheckedToken.size());
    const bool emptyItem = lineText.mid(tokenLength).trimmed().isEmpty();
    StickyTextView& view = *m_textView;
    commitEdit([&](TextStorage& text) -> std::optional<int> {
        ChecklistEditing checklists(text, m_parent.textColor());
        if (emptyItem) {
            // An empty item ends the list: its box goes and a plain line break follows.
            text.cursor({line.start, tokenLength}).removeSelectedText();
            QTextCursor cursor = view.textCursor();
            cursor.insertBlock();
            return cursor.position();
        }
        QTextCursor cursor = view.textCursor();
        cursor.insertBlock();
        cursor.insertText(ChecklistMarkerAttachment::uncheckedToken, checklists.itemTextFormat());
        const int caret = cursor.position();
        const TextRange next = text.lineRange(std::max(0, caret - tokenLength));
        checklists.setChecklistMarker(next.start, TextStorage::withoutLineBreak(next, text.text(next)).length, false);
        return caret;
    });
    return true;
}

bool RichTextEditorCoordinator::doCommand(Command command)
{
    StickyTextView* view = m_textView;
    if (!view)
        return false;
    TextStorage storage(*view->document());
    TableEditing tables(storage, m_parent.textColor(), EditorColors(m_parent.paperHex()));
    const int location = view->textCursor().selectionStart();
    switch (command) {
    case Command::Cancel: {
        const auto cell = tables.cellInfo(location);
        if (storage.isEmpty() || !cell)
            return false;
        commitEdit([&](TextStorage&) -> std::optional<int> { return tables.leaveTable(cell->table); });
        return true;
    }
    case Command::InsertTab:
    case Command::InsertBacktab: {
        const std::optional<int> caret = tables.moveToAdjacentCell(location, command == Command::InsertTab);
        if (!caret)
            return false;
        QTextCursor cursor = view->textCursor();
        cursor.setPosition(*caret);
        view->setTextCursor(cursor);
        return true;
    }
    case Command::InsertNewline:
        break;
    }
    if (tables.cellInfo(location)) {
        commitEdit([&](TextStorage&) { return tables.handleReturnInTable(location); });
        return true;
    }
    const int caret = std::min(view->textCursor().selectionStart(), storage.length());
    const TextRange line = storage.lineRange(caret);
    const TextRange body = TextStorage::withoutLineBreak(line, storage.text(line));
    if (ChecklistEditing(storage).checklistMarkerState(line.start, body.length))
        return handleChecklistReturn(storage, line);
    if (!highlightActiveAtCaret())
        return false;
    commitEdit([&](TextStorage&) -> std::optional<int> {
        QTextCursor cursor = view->textCursor();
        cursor.insertBlock();
        view->setTextCursor(cursor);
        return std::nullopt;
    });
    QTextCharFormat typing = typingAttributes();
    typing.clearBackground();
    setTypingAttributes(typing);
    broadcastFormattingState();
    return true;
}

bool RichTextEditorCoordinator::doShortcut(const QKeyCombination& key)
{
    if (key.keyboardModifiers() != Qt::ControlModifier)
        return false;
    switch (key.key()) {
    case Qt::Key_B:
        toggleFontTrait(FontTrait::Bold);
        return true;
    case Qt::Key_I:
        toggleFontTrait(FontTrait::Italic);
        return true;
    case Qt::Key_U:
        toggleLineStyle(LineStyle::Underline);
        return true;
    default:
        return false;
    }
}

QMenu* RichTextEditorCoordinator::contextMenu(QMenu* defaultMenu, int characterIndex)
{
    return tableContextMenu(defaultMenu, characterIndex);
}

void RichTextEditorCoordinator::setReportingPaused(bool paused)
{
    if (paused) {
        if (m_suppressChanges++ == 0)
            m_changedWhileSuppressed = false;
        return;
    }
    if (m_suppressChanges > 0 && --m_suppressChanges == 0 && m_changedWhileSuppressed)
        textDidChange();
}

void RichTextEditorCoordinator::insertTable()
{
    StickyTextView* view = m_textView;
    if (!view)
        return;
    const TextRange selected = selection();
    commitEdit([&](TextStorage& storage) -> std::optional<int> {
        return TableEditing(storage, m_parent.textColor(), EditorColors(m_parent.paperHex())).insertTable(selected);
    });
}

} // namespace norvelle
