// When a long text is laid out: once shown, in the background after a paste or restyle, and at
// a width the layout can reach.
#include "editor/StickyTextView.h"

#include "editor/LongLineWrap.h"
#include "editor/LongParagraphSplit.h"
#include "editor/RichTextEditor.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QScrollBar>
#include <QTextBlock>
#include <QTimer>

#include <cmath>

namespace norvelle {

namespace {

bool isLaidOut(const QTextBlock& block)
{
    return block.layout() && block.layout()->lineCount() > 0;
}

} // namespace

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
    layOutAtShownWidth();
}

void StickyTextView::layOutAtShownWidth()
{
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

void StickyTextView::wrapAnywhere()
{
    document()->setDefaultFont(LongLineWrap::fontFor(document()->defaultFont(), QTextOption::WrapAnywhere));
    setWordWrapMode(QTextOption::WrapAnywhere);
}

// The caret's blink asks where the caret is on screen, and the layout answers by laying out
// every line above it at once: seconds in a text of megabytes being laid out in the background.
// The caret stays as it is until that layout reaches it.
void StickyTextView::holdCaretBlinkUntilLaidOut()
{
    for (QObject* child : children()) {
        if (child->inherits("QWidgetTextControl"))
            child->installEventFilter(this);
    }
}

bool StickyTextView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Timer && watched->inherits("QWidgetTextControl") && !isLaidOut(textCursor().block()))
        return true;
    return QTextEdit::eventFilter(watched, event);
}

void StickyTextView::revealCaretOnceLaidOut()
{
    if (!isLaidOut(textCursor().block())) {
        QTimer::singleShot(50, this, &StickyTextView::revealCaretOnceLaidOut);
        return;
    }
    ensureCursorVisible();
}

// Qt lays a table out whole, at once, and again whenever the width it is laid out at changes
// (a second or more for thousands of rows). A pasted table is therefore laid out once, on a
// turn of the event loop of its own after the paste, with room already made for the scroll bar
// it is likely to bring.
void StickyTextView::layOutTableAfterPaste()
{
    if (document()->pageSize().isNull())
        return;
    m_pastedTableAwaitsLayout = true;
    if (!verticalScrollBar()->isVisible())
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void StickyTextView::layOutPastedTable()
{
    // A note closed meanwhile is laid out when shown again.
    if (isVisible())
        layOutAtShownWidth();
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

} // namespace norvelle
