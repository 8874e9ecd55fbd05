// What a paste or drop brings in (only what a note can hold) and what a copy takes out.
#include "editor/StickyTextView.h"

#include "editor/FlatParagraphs.h"
#include "editor/LongLineWrap.h"
#include "editor/LongParagraphSplit.h"
#include "editor/RichTextBody.h"
#include "editor/RichTextEditor.h"
#include "editor/TextStorage.h"
#include "rtf/RichTextCodec.h"
#include "rtf/RtfDocumentCapture.h"
#include "rtf/RtfWriter.h"
#include "ui/UserNotice.h"

#include <QMimeData>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <QTimer>

#include <memory>
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
    const QTextDocumentFragment flat = flatParagraphs(document.begin(), document.lastBlock());
    document.clear();
    QTextCursor(&document).insertFragment(flat);
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

} // namespace

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
    // that only narrowed for the scroll bar the paste brought stays so. A table, laid out
    // whole, waits until the keys and paints held up meanwhile are through (a zero timeout
    // would still come in this turn).
    const bool laidOutLater = document()->pageSize().isNull() && !page.isNull();
    if (std::exchange(m_pastedTableAwaitsLayout, false))
        QTimer::singleShot(10, this, &StickyTextView::layOutPastedTable);
    else if (laidOutLater)
        document()->setPageSize(page);
    keepLayoutWithinReach();
    if (!caret) {
        // A note keeps no pictures: a clip with nothing else would otherwise paste nothing, unsaid.
        if (source->hasImage())
            UserNotice::tell(imagePasteTopic, QStringLiteral("A note can't hold images."),
                QStringLiteral("The image was not pasted: notes keep text and its formatting only."));
        return;
    }
    // The view goes to the caret once the text above it is laid out: going there now would lay
    // it all out at once.
    if (laidOutLater && textCursor().position() == caret->position())
        revealCaretOnceLaidOut();
    else
        setTextCursor(*caret);
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
    // so another note or program gets the list, the table placeholders stay behind, and text in
    // the paper's default colour goes without a colour.
    const std::optional<QByteArray> body = encodeRichTextData(copied, palette().color(QPalette::Text));
    auto* data = new QMimeData;
    if (body)
        data->setData(QStringLiteral("text/rtf"), *body);
    // A selection of placeholders alone has no text to offer as HTML either.
    if (const std::unique_ptr<QTextDocument> kept = decodeRichTextData(body.value_or(QByteArray()))) {
        kept->setDefaultFont(copied.defaultFont());
        data->setHtml(kept->toHtml());
    }
    data->setText(plainTextOf(copied));
    return data;
}

void StickyTextView::wrapAnywhereFor(QStringView pasted)
{
    // Before the text is laid out at all: at word boundaries a long line takes minutes.
    if (LongLineWrap::hasUnbreakableRun(pasted))
        wrapAnywhere();
}

std::optional<QTextCursor> StickyTextView::insertKept(const QMimeData* source)
{
    // RTF first, as it is what a note keeps; a document it cannot read, or one that was only a
    // picture, goes as HTML or text.
    if (const std::optional<QString> rtf = rtfFormatOf(*source)) {
        if (const std::unique_ptr<QTextDocument> kept = RichTextCodec::readRtf(source->data(*rtf)); kept && !kept->isEmpty())
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
        if (const std::unique_ptr<QTextDocument> kept = RichTextCodec::readRtf(body); kept && !kept->isEmpty())
            return insertDocument(*kept);
    }
    if (source->hasText() && !source->text().isEmpty()) {
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
    if (!kept.rootFrame()->childFrames().isEmpty())
        layOutTableAfterPaste();
    return insertPasted([&kept](QTextCursor& cursor) { cursor.insertFragment(QTextDocumentFragment(&kept)); }, characters.size());
}

QTextCursor StickyTextView::insertPasted(const std::function<void(QTextCursor&)>& insert, qsizetype size)
{
    QTextCursor cursor = textCursor();
    const int from = cursor.selectionStart();
    const bool large = size > LongParagraphSplit::splitAbove;
    if (large || m_pastedTableAwaitsLayout)
        document()->setPageSize(QSizeF(0, 0));
    insert(cursor);
    LongParagraphSplit::keepBreaksOf(*document(), from, cursor.position());
    if (large)
        LongParagraphSplit::split(*document(), from, cursor.position());
    return cursor;
}

} // namespace norvelle
