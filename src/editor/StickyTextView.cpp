#include "editor/StickyTextView.h"

#include "editor/ChecklistEditing.h"
#include "editor/LongLineWrap.h"
#include "editor/LongParagraphSplit.h"
#include "editor/RichTextBody.h"
#include "editor/RichTextEditor.h"
#include "editor/TextStorage.h"
#include "rtf/ParagraphContinuation.h"
#include "rtf/RichTextCodec.h"
#include "rtf/RtfDocumentCapture.h"
#include "rtf/RtfWriter.h"
#include "ui/HexColor.h"
#include "ui/TextContrast.h"

#include <QContextMenuEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <QTimer>

#include <cmath>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

namespace norvelle {

namespace {

// Pasted HTML never reaches for files or the network: an image it names stays unloaded.
class PastedHtmlDocument : public QTextDocument {
protected:
    QVariant loadResource(int, const QUrl&) override { return {}; }
};

// The name a word processor offers its RTF under on the clipboard, if it offers any.
std::optional<QString> rtfFormatOf(const QMimeData& source)
{
    for (const char* format : {"text/rtf", "application/rtf", "text/richtext"}) {
        if (source.hasFormat(QLatin1String(format)))
            return QLatin1String(format);
    }
    return std::nullopt;
}

// Every paragraph of `document`, table cells included, in order and with its formats, but none
// in a table.
void flattenTables(QTextDocument& document)
{
    QTextDocument flat;
    QTextCursor out(&flat);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block == document.begin()) {
            out.setBlockFormat(block.blockFormat());
            out.setBlockCharFormat(block.charFormat());
        } else {
            out.insertBlock(block.blockFormat(), block.charFormat());
        }
        for (auto it = block.begin(); !it.atEnd(); ++it)
            out.insertText(it.fragment().text(), it.fragment().charFormat());
    }
    document.clear();
    QTextCursor(&document).insertFragment(QTextDocumentFragment(&flat));
}

// HTML read in gives a table an empty paragraph of its own before the one that follows it in
// the page: the table is followed by that one alone, as in the note it came from.
void dropParagraphsAddedAfterTables(QTextDocument& document)
{
    for (QTextFrame* frame : document.rootFrame()->childFrames()) {
        const QTextBlock after = document.findBlock(frame->lastPosition() + 1);
        const QTextBlock next = after.next();
        if (!after.isValid() || after.length() != 1 || !next.isValid() || document.frameAt(next.position()) != document.rootFrame())
            continue;
        QTextCursor cursor(after);
        cursor.setBlockFormat(next.blockFormat());
        cursor.setBlockCharFormat(next.charFormat());
        cursor.deleteChar();
    }
}

// A note's point is a CSS pixel; a CSS point is a third larger.
void pointSizesToPixels(QTextDocument& document)
{
    std::vector<std::pair<TextRange, QTextCharFormat>> sized;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            QTextCharFormat format = it.fragment().charFormat();
            if (!format.hasProperty(QTextFormat::FontPointSize) || format.hasProperty(QTextFormat::FontPixelSize))
                continue;
            format.setProperty(QTextFormat::FontPixelSize, std::max(1, qRound(format.fontPointSize() * 4 / 3)));
            format.clearProperty(QTextFormat::FontPointSize);
            sized.push_back({{it.fragment().position(), it.fragment().length()}, format});
        }
    }
    TextStorage storage(document);
    for (const auto& [range, format] : sized)
        storage.setCharFormat(range, format);
}

std::optional<StickyTextViewDelegate::Command> commandFor(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    switch (event.key()) {
    case Qt::Key_Escape:
        return modifiers == Qt::NoModifier ? std::optional(StickyTextViewDelegate::Command::Cancel) : std::nullopt;
    case Qt::Key_Tab:
        return modifiers == Qt::NoModifier ? std::optional(StickyTextViewDelegate::Command::InsertTab) : std::nullopt;
    case Qt::Key_Backtab:
        return std::optional(StickyTextViewDelegate::Command::InsertBacktab);
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return modifiers == Qt::NoModifier ? std::optional(StickyTextViewDelegate::Command::InsertNewline) : std::nullopt;
    default:
        return std::nullopt;
    }
}

bool canCompleteToken(const QString& typed)
{
    for (const QChar c : typed) {
        if (c == u' ' || c == u'\u25CB' || c == u'\u25CF' || c == u'\u25C9' || c == u'\u2713' || c == QChar::ObjectReplacementCharacter)
            return true;
    }
    return false;
}

} // namespace

StickyTextView::StickyTextView(QWidget* parent)
    : QTextEdit(parent)
{
    setAcceptRichText(true);
    setUndoRedoEnabled(true);
    setFrameShape(QFrame::NoFrame);
    setAutoFillBackground(false);
    viewport()->setAutoFillBackground(false);
    // The corner where the two scroll bars meet (a text wrapped wider than the note) is paper too.
    setStyleSheet(QStringLiteral("QTextEdit { background: transparent; } QTextEdit::corner { background: transparent; border: none; }"));
    viewport()->setMouseTracking(true);
    connect(this, &QTextEdit::textChanged, this, &StickyTextView::refreshHighlightInk);
}

// Text on a highlight is drawn in whichever of black and white reads on it when its own colour
// does not (white text of dark paper on yellow): only in the drawing, the note keeps its colours.
void StickyTextView::refreshHighlightInk()
{
    // A document holds few formats: the inked ones are found among them first, so the text of a
    // large note is only walked when it has one.
    std::unordered_map<int, QColor> inks;
    const QColor plain = palette().color(QPalette::Text);
    const QList<QTextFormat> formats = document()->allFormats();
    for (qsizetype index = 0; index < formats.size(); ++index) {
        if (!formats[index].isCharFormat())
            continue;
        const QTextCharFormat format = formats[index].toCharFormat();
        const QBrush highlight = format.background();
        if (!format.hasProperty(QTextFormat::BackgroundBrush) || highlight.style() == Qt::NoBrush)
            continue;
        const QColor text = format.hasProperty(QTextFormat::ForegroundBrush) ? format.foreground().color() : plain;
        const double lighter = std::max(relativeLuminance(text), relativeLuminance(highlight.color()));
        const double darker = std::min(relativeLuminance(text), relativeLuminance(highlight.color()));
        if ((lighter + 0.05) / (darker + 0.05) >= 3)
            continue;
        inks.emplace(int(index), compareTextContrast(hexString(highlight.color())) ? QColor(Qt::white) : QColor(Qt::black));
    }
    QList<ExtraSelection> inked;
    for (QTextBlock block = document()->begin(); !inks.empty() && block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const auto ink = inks.find(fragment.charFormatIndex());
            if (ink == inks.end())
                continue;
            ExtraSelection selection;
            selection.cursor = QTextCursor(document());
            selection.cursor.setPosition(fragment.position());
            selection.cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            selection.format.setForeground(ink->second);
            inked.append(selection);
        }
    }
    if (!inked.isEmpty() || !extraSelections().isEmpty())
        setExtraSelections(inked);
}

// A view not shown yet has a default width far narrower than a note's: a long text laid out
// at it takes seconds and, at 20 MB, more lines than the layout's coordinates reach. A layout
// of no page size lays nothing out.
void StickyTextView::layOutWhenShown()
{
    if (!isVisible())
        document()->setPageSize(QSizeF(0, 0));
}

void StickyTextView::showEvent(QShowEvent* event)
{
    QTextEdit::showEvent(event);
    if (document()->pageSize().isNull())
        document()->setPageSize(QSizeF(lineWrapMode() == FixedPixelWidth ? lineWrapColumnOrWidth() : viewport()->width(), -1));
}

void StickyTextView::resizeEvent(QResizeEvent* event)
{
    QTextEdit::resizeEvent(event);
    keepLayoutWithinReach();
}

// Qt's text layout reaches 2^23 pixels down and no further: a text laid out taller than that
// can hold it for good. Tens of megabytes wrapped at a narrow note's width would be, so such a
// text is wrapped at a width that keeps it well short of that, and scrolls sideways.
void StickyTextView::keepLayoutWithinReach()
{
    constexpr qreal reach = 1 << 23;
    const int characters = document()->characterCount();
    int width = 0;
    if (characters > LongParagraphSplit::splitAbove) {
        const QFontMetricsF metrics(document()->defaultFont());
        const QString sample = document()->firstBlock().text().left(4096);
        const qreal advance = sample.isEmpty() ? metrics.averageCharWidth() : metrics.horizontalAdvance(sample) / sample.size();
        width = int(std::ceil(characters * advance * metrics.lineSpacing() * 1.25 / reach)) + 2 * RichTextEditor::textInset;
    }
    if (width <= viewport()->width()) {
        if (lineWrapMode() != WidgetWidth)
            setLineWrapMode(WidgetWidth);
        return;
    }
    if (lineWrapMode() != FixedPixelWidth || lineWrapColumnOrWidth() < width) {
        setLineWrapMode(FixedPixelWidth);
        setLineWrapColumnOrWidth(width);
    }
}

void StickyTextView::setScrollBarInk(const QColor& ink)
{
    const auto rgba = [&ink](qreal opacity) {
        return QStringLiteral("rgba(%1, %2, %3, %4)").arg(ink.red()).arg(ink.green()).arg(ink.blue()).arg(opacity);
    };
    verticalScrollBar()->setStyleSheet(QStringLiteral(
        "QScrollBar:vertical { background: transparent; width: 8px; margin: 4px 2px 4px 0; }"
        "QScrollBar::handle:vertical { background: %1; border-radius: 3px; min-height: 24px; }"
        "QScrollBar::handle:vertical:hover { background: %2; }"
        "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
        "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: transparent; }")
                                           .arg(rgba(0.25), rgba(0.4)));
    // Shown only for a text wrapped wider than the note (see keepLayoutWithinReach).
    horizontalScrollBar()->setStyleSheet(QStringLiteral(
        "QScrollBar:horizontal { background: transparent; height: 8px; margin: 0 4px 2px 4px; }"
        "QScrollBar::handle:horizontal { background: %1; border-radius: 3px; min-width: 24px; }"
        "QScrollBar::handle:horizontal:hover { background: %2; }"
        "QScrollBar::add-line:horizontal, QScrollBar::sub-line:horizontal { width: 0; }"
        "QScrollBar::add-page:horizontal, QScrollBar::sub-page:horizontal { background: transparent; }")
                                             .arg(rgba(0.25), rgba(0.4)));
}

void StickyTextView::keyPressEvent(QKeyEvent* event)
{
    if (!editAtDisplayBreak(event))
        handleKey(event);
}

// Where a long paragraph is cut for display the keys act on the text, not on the cut: Return
// there makes a real break, Backspace and Delete take the character beyond the cut, and the
// arrows pass over it.
bool StickyTextView::editAtDisplayBreak(QKeyEvent* event)
{
    if (!LongParagraphSplit::hasContinuations(*document()))
        return false;
    QTextCursor cursor = textCursor();
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const bool returnKey = (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && modifiers == Qt::NoModifier;
    if (returnKey && ParagraphContinuation::continues(document()->findBlock(cursor.selectionStart()))) {
        const int from = cursor.selectionStart();
        QTextCursor step = cursor;
        step.beginEditBlock();
        handleKey(event);
        LongParagraphSplit::keepBreaksOf(*document(), from, textCursor().position());
        step.endEditBlock();
        return true;
    }
    const bool select = event->matches(QKeySequence::SelectPreviousChar) || event->matches(QKeySequence::SelectNextChar);
    const bool left = event->matches(QKeySequence::MoveToPreviousChar) || event->matches(QKeySequence::SelectPreviousChar);
    const bool right = event->matches(QKeySequence::MoveToNextChar) || event->matches(QKeySequence::SelectNextChar);
    if ((left || right) && (select || !cursor.hasSelection()) && cursor.block().textDirection() == Qt::LeftToRight) {
        // The arrow passes the cut and the character beyond it, as it does any other character.
        const std::optional<int> beyond = LongParagraphSplit::acrossBreak(*document(), cursor.position(), left);
        if (!beyond)
            return false;
        const QTextCursor::MoveMode mode = select ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor;
        cursor.setPosition(*beyond, mode);
        cursor.movePosition(left ? QTextCursor::PreviousCharacter : QTextCursor::NextCharacter, mode);
        setTextCursor(cursor);
        return true;
    }
    if (cursor.hasSelection())
        return false;
    const bool backspace = event->key() == Qt::Key_Backspace && !(modifiers & ~Qt::ShiftModifier);
    if (!backspace && !event->matches(QKeySequence::Delete))
        return false;
    const std::optional<int> beyond = LongParagraphSplit::acrossBreak(*document(), cursor.position(), backspace);
    if (!beyond)
        return false;
    cursor.setPosition(*beyond);
    backspace ? cursor.deletePreviousChar() : cursor.deleteChar();
    setTextCursor(cursor);
    return true;
}

void StickyTextView::handleKey(QKeyEvent* event)
{
    if (m_delegate) {
        if (const auto command = commandFor(*event); command && m_delegate->doCommand(*command)) {
            event->accept();
            return;
        }
        if (m_delegate->doShortcut(event->keyCombination())) {
            event->accept();
            return;
        }
    }
    // Pasted through the view's own slot, which does not take the view to the caret at once.
    if (event->matches(QKeySequence::Paste) && !isReadOnly()) {
        paste();
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo)) {
        event->matches(QKeySequence::Undo) ? undoInPlace() : redoInPlace();
        event->accept();
        return;
    }
    placeCaretForTyping(*event);
    // A key that can complete a checklist token is one undo step of its own, so the box the
    // token turns into joins it and one undo takes both back.
    if (canCompleteToken(event->text())) {
        QTextCursor step = textCursor();
        step.beginEditBlock();
        QTextEdit::keyPressEvent(event);
        step.endEditBlock();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

void StickyTextView::placeCaretForTyping(const QKeyEvent& event)
{
    const QString typed = event.text();
    if (!m_delegate || isReadOnly() || typed.isEmpty() || !typed.front().isPrint() || textCursor().hasSelection())
        return;
    const std::optional<TextRange> range = m_delegate->typingRange(textCursor().position());
    if (!range)
        return;
    QTextCursor cursor = textCursor();
    cursor.setPosition(range->start);
    cursor.setPosition(range->end(), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

void StickyTextView::contextMenuEvent(QContextMenuEvent* event)
{
    std::unique_ptr<QMenu> standard(createStandardContextMenu(event->pos()));
    for (QAction* action : standard->actions()) {
        const bool undo = action->objectName() == QLatin1String("edit-undo");
        if (undo || action->objectName() == QLatin1String("edit-redo")) {
            action->disconnect();
            connect(action, &QAction::triggered, this, undo ? &StickyTextView::undoInPlace : &StickyTextView::redoInPlace);
        }
    }
    QMenu* menu = standard.get();
    if (m_delegate)
        menu = m_delegate->contextMenu(standard.get(), cursorForPosition(event->pos()).position());
    if (menu)
        menu->exec(event->globalPos());
    if (menu != standard.get())
        delete menu;
}

void StickyTextView::undoInPlace()
{
    keepChangedTextInView([this] { undo(); });
}

void StickyTextView::redoInPlace()
{
    keepChangedTextInView([this] { redo(); });
}

// Undoing a change of format alone leaves the caret at the start of the text, and the view
// with it: the caret goes back onto the changed text, seen from where the view was.
void StickyTextView::keepChangedTextInView(const std::function<void()>& step)
{
    const int scrolled = verticalScrollBar()->value();
    std::optional<TextRange> changed;
    const QMetaObject::Connection watch = connect(document(), &QTextDocument::contentsChange, this,
        [&changed](int position, int, int added) {
            const int start = changed ? std::min(changed->start, position) : position;
            const int end = changed ? std::max(changed->end(), position + added) : position + added;
            changed = TextRange {start, end - start};
        });
    step();
    disconnect(watch);
    if (!changed)
        return;
    QTextCursor cursor = textCursor();
    const int last = std::max(0, document()->characterCount() - 1);
    const int start = std::min(changed->start, last);
    const int end = std::min(changed->end(), last);
    if (cursor.position() < start || cursor.position() > end) {
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        setTextCursor(cursor);
    }
    verticalScrollBar()->setValue(scrolled);
    ensureCursorVisible();
}

bool StickyTextView::canInsertFromMimeData(const QMimeData* source) const
{
    return source->hasText() || source->hasHtml() || rtfFormatOf(*source);
}

void StickyTextView::insertFromMimeData(const QMimeData* source)
{
    const QSizeF page = document()->pageSize();
    QTextCursor step = textCursor();
    step.beginEditBlock();
    const std::optional<QTextCursor> caret = insertKept(source);
    step.endEditBlock();
    // A long text is laid out once the edit is over, a block at a time in the background,
    // rather than all at once inside it (a layout of no page size lays nothing out). A page
    // that only narrowed for the scroll bar the paste brought stays so.
    const bool laidOutLater = document()->pageSize().isNull() && !page.isNull();
    if (laidOutLater)
        document()->setPageSize(page);
    keepLayoutWithinReach();
    if (!caret)
        return;
    // The view goes to the caret once the text above it is laid out: going there now would lay
    // it all out at once.
    if (laidOutLater && textCursor().position() == caret->position())
        revealCaretOnceLaidOut();
    else
        setTextCursor(*caret);
}

void StickyTextView::revealCaretOnceLaidOut()
{
    const QTextBlock block = textCursor().block();
    if (!block.layout() || block.layout()->lineCount() == 0) {
        QTimer::singleShot(50, this, &StickyTextView::revealCaretOnceLaidOut);
        return;
    }
    ensureCursorVisible();
}

void StickyTextView::restyleLaidOutLater(const std::function<void()>& edit)
{
    const QSizeF page = document()->pageSize();
    const int top = cursorForPosition(QPoint(0, 0)).position();
    // A layout of no page size lays nothing out.
    document()->setPageSize(QSizeF(0, 0));
    edit();
    document()->setPageSize(page);
    showFromOnceLaidOut(top);
}

void StickyTextView::showFromOnceLaidOut(int position)
{
    const QTextBlock block = document()->findBlock(position);
    if (!block.isValid())
        return;
    if (!block.layout() || block.layout()->lineCount() == 0) {
        QTimer::singleShot(50, this, [this, position] { showFromOnceLaidOut(position); });
        return;
    }
    const QTextLine line = block.layout()->lineForTextPosition(position - block.position());
    const int top = int(document()->documentLayout()->blockBoundingRect(block).top() + (line.isValid() ? line.y() : 0));
    verticalScrollBar()->setValue(top);
    // The scroll bar's range follows the layout: until the text is laid out to its end it may
    // not reach that far yet.
    const QTextBlock last = document()->lastBlock();
    const bool complete = last.layout() && last.layout()->lineCount() > 0;
    if (verticalScrollBar()->value() < top && !complete)
        QTimer::singleShot(50, this, [this, position] { showFromOnceLaidOut(position); });
}

QMimeData* StickyTextView::createMimeDataFromSelection() const
{
    QTextDocument copied;
    // Text typed in the note's own font has no size of its own: it goes at the size it shows.
    copied.setDefaultFont(document()->defaultFont());
    QTextCursor(&copied).insertFragment(textCursor().selection());
    // A long paragraph cut for display is copied whole.
    LongParagraphSplit::join(copied);
    // Through the note's own body format: a checklist box goes as the character it stands for,
    // so another note or program gets the list, and text in the paper's default colour goes
    // without a colour.
    const std::optional<QByteArray> body = encodeRichTextData(copied, palette().color(QPalette::Text));
    const std::unique_ptr<QTextDocument> kept = decodeRichTextData(body.value_or(QByteArray()));
    if (kept)
        kept->setDefaultFont(copied.defaultFont());
    auto* data = new QMimeData;
    if (body)
        data->setData(QStringLiteral("text/rtf"), *body);
    data->setHtml(kept ? kept->toHtml() : copied.toHtml());
    data->setText(plainTextOf(copied));
    return data;
}

void StickyTextView::wrapAnywhereFor(QStringView pasted)
{
    // Before the text is laid out at all: at word boundaries a long line takes minutes.
    if (LongLineWrap::hasUnbreakableRun(pasted))
        setWordWrapMode(QTextOption::WrapAnywhere);
}

std::optional<QTextCursor> StickyTextView::insertKept(const QMimeData* source)
{
    // RTF first, as it is what a note keeps; a document it cannot read goes as HTML or text.
    if (const std::optional<QString> rtf = rtfFormatOf(*source)) {
        if (const std::unique_ptr<QTextDocument> kept = RichTextCodec::readRtf(source->data(*rtf)))
            return insertDocument(*kept);
    }
    if (source->hasHtml()) {
        PastedHtmlDocument pasted;
        pasted.setHtml(source->html());
        dropParagraphsAddedAfterTables(pasted);
        pointSizesToPixels(pasted);
        // Through our own body format and back: what survives is exactly what a note keeps, and
        // text the source gave no size takes the note's own.
        const QByteArray body = RtfWriter::write(RtfDocumentCapture::capture(pasted, RichTextEditor::defaultFontSize));
        if (const std::unique_ptr<QTextDocument> kept = RichTextCodec::readRtf(body))
            return insertDocument(*kept);
        return std::nullopt;
    }
    if (source->hasText()) {
        const QString text = source->text();
        wrapAnywhereFor(text);
        return insertPasted([&text](QTextCursor& cursor) { cursor.insertText(text); }, text.size());
    }
    return std::nullopt;
}

QTextCursor StickyTextView::insertDocument(QTextDocument& kept)
{
    // A note holds no table inside a table cell: what is pasted there goes as the paragraphs a
    // reopened note would show.
    if (textCursor().currentTable() && !kept.rootFrame()->childFrames().isEmpty())
        flattenTables(kept);
    if (m_delegate)
        m_delegate->adoptText(kept);
    const QString characters = kept.toRawText();
    wrapAnywhereFor(characters);
    return insertPasted([&kept](QTextCursor& cursor) { cursor.insertFragment(QTextDocumentFragment(&kept)); }, characters.size());
}

QTextCursor StickyTextView::insertPasted(const std::function<void(QTextCursor&)>& insert, qsizetype size)
{
    QTextCursor cursor = textCursor();
    const int from = cursor.selectionStart();
    const bool large = size > LongParagraphSplit::splitAbove;
    if (large)
        document()->setPageSize(QSizeF(0, 0));
    insert(cursor);
    LongParagraphSplit::keepBreaksOf(*document(), from, cursor.position());
    if (large)
        LongParagraphSplit::split(*document(), from, cursor.position());
    return cursor;
}

} // namespace norvelle

namespace norvelle {

QPointF StickyTextView::documentPoint(const QPoint& point) const
{
    return QPointF(point) + QPointF(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

std::vector<qreal> StickyTextView::columnBorderPositions(QTextTable* table) const
{
    // Read from the laid-out cells: the layout widens a column past its share to fit its words,
    // so the stored widths alone miss where a border is drawn.
    std::vector<qreal> borders;
    const int columns = table->columns();
    QAbstractTextDocumentLayout* layout = document()->documentLayout();
    const auto contentOf = [&](const QTextTableCell& cell) { return layout->blockBoundingRect(cell.firstCursorPosition().block()); };
    for (int column = 0; column + 1 < columns; ++column) {
        for (int row = 0; row < table->rows(); ++row) {
            const QTextTableCell left = table->cellAt(row, column);
            const QTextTableCell right = table->cellAt(row, column + 1);
            if (left.column() + left.columnSpan() == column + 1 && right.column() == column + 1) {
                // Both cells have the same padding: the border lies halfway between their texts.
                borders.push_back((contentOf(left).right() + contentOf(right).left()) / 2);
                break;
            }
        }
        if (borders.size() < size_t(column + 1))
            return {};
    }
    return borders;
}

std::optional<StickyTextView::ColumnBorder> StickyTextView::hitTestColumnBorder(const QPoint& point) const
{
    const QPointF at = documentPoint(point);
    const int position = document()->documentLayout()->hitTest(at, Qt::FuzzyHit);
    TextStorage storage(*document());
    QTextTable* table = storage.tableAt(std::min(position, storage.length() - 1));
    if (position < 0 || !table)
        return std::nullopt;
    const std::vector<qreal> borders = columnBorderPositions(table);
    for (size_t i = 0; i < borders.size(); ++i) {
        if (std::abs(borders[i] - at.x()) <= borderGrabTolerance)
            return ColumnBorder {table, int(i)};
    }
    return std::nullopt;
}

bool StickyTextView::toggleChecklistMarker(const QPoint& point)
{
    TextStorage storage(*document());
    if (storage.isEmpty())
        return false;
    const int position = cursorForPosition(point).position();
    const TextRange line = storage.lineRange(position);
    const TextRange body = TextStorage::withoutLineBreak(line, storage.text(line));
    ChecklistEditing checklists(storage, m_checklistBaseTextColor, QColor(0x0A, 0x84, 0xFF));
    const std::optional<bool> checked = checklists.checklistMarkerState(line.start, body.length);
    if (!checked)
        return false;
    // Up to 6 points right of the box (and its space) still hits it.
    QTextCursor afterMarker(document());
    afterMarker.setPosition(std::min(line.start + 2, storage.length()));
    if (point.x() > cursorRect(afterMarker).x() + 6)
        return false;
    QTextCursor step(document());
    step.beginEditBlock();
    checklists.setChecklistMarker(line.start, body.length, !*checked);
    step.endEditBlock();
    afterMarker.setPosition(std::min(line.start + 2, storage.length()));
    setTextCursor(afterMarker);
    return true;
}

void StickyTextView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        const QPoint point = event->position().toPoint();
        if (!isReadOnly()) {
            if (const auto border = hitTestColumnBorder(point)) {
                m_resizeTable = border->table;
                m_resizingColumn = border->index;
                m_resizeStartX = point.x();
                const int columns = border->table->columns();
                const QList<QTextLength> widths = border->table->format().columnWidthConstraints();
                m_resizeInitialWidths.assign(size_t(columns), 100.0 / columns);
                for (int column = 0; column < columns && column < widths.size(); ++column) {
                    if (widths[column].rawValue() > 0)
                        m_resizeInitialWidths[size_t(column)] = widths[column].rawValue();
                }
                if (m_delegate)
                    m_delegate->setReportingPaused(true);
                viewport()->setCursor(Qt::SizeHorCursor);
                event->accept();
                return;
            }
        }
        if (toggleChecklistMarker(point)) {
            event->accept();
            return;
        }
    }
    QTextEdit::mousePressEvent(event);
}

void StickyTextView::dragColumnBorder(qreal x)
{
    const qreal available = viewport()->width() - 2 * document()->documentMargin();
    const size_t k = size_t(m_resizingColumn);
    if (available <= 0 || k + 1 >= m_resizeInitialWidths.size())
        return;
    // Always from the press, so rounding never adds up over a long drag.
    const qreal delta = (x - m_resizeStartX) / available * 100;
    qreal left = m_resizeInitialWidths[k] + delta;
    qreal right = m_resizeInitialWidths[k + 1] - delta;
    if (left < minimumColumnPercent) {
        right -= minimumColumnPercent - left;
        left = minimumColumnPercent;
    }
    if (right < minimumColumnPercent) {
        left -= minimumColumnPercent - right;
        right = minimumColumnPercent;
    }
    QList<QTextLength> widths;
    for (size_t column = 0; column < m_resizeInitialWidths.size(); ++column) {
        const qreal width = column == k ? left : column == k + 1 ? right : m_resizeInitialWidths[column];
        widths.append(QTextLength(QTextLength::PercentageLength, width));
    }
    QTextTableFormat format = m_resizeTable->format();
    format.setColumnWidthConstraints(widths);
    m_resizeTable->setFormat(format);
}

void StickyTextView::mouseMoveEvent(QMouseEvent* event)
{
    if (m_resizeTable && m_resizingColumn >= 0) {
        dragColumnBorder(event->position().x());
        event->accept();
        return;
    }
    if (!isReadOnly() && event->buttons() == Qt::NoButton)
        viewport()->setCursor(hitTestColumnBorder(event->position().toPoint()) ? Qt::SizeHorCursor : Qt::IBeamCursor);
    QTextEdit::mouseMoveEvent(event);
}

void StickyTextView::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_resizeTable || m_resizingColumn >= 0) {
        m_resizeTable = nullptr;
        m_resizingColumn = -1;
        viewport()->setCursor(Qt::IBeamCursor);
        if (m_delegate)
            m_delegate->setReportingPaused(false);
        event->accept();
        return;
    }
    QTextEdit::mouseReleaseEvent(event);
}

} // namespace norvelle
