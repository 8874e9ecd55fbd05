#include "editor/LongParagraphSplit.h"

#include "rtf/ParagraphContinuation.h"

#include <QTextBoundaryFinder>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>

#include <algorithm>
#include <functional>
#include <optional>

namespace norvelle {

namespace {

// How far back from the target a cut looks for a better place.
constexpr qsizetype searchWindow = 1024;

bool isGraphemeBoundary(QStringView text, qsizetype index)
{
    if (index <= 0 || index >= text.size())
        return true;
    const qsizetype context = 32;
    const qsizetype start = std::max<qsizetype>(0, index - context);
    const QStringView window = text.mid(start, std::min(text.size(), index + context) - start);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, window.data(), window.size());
    finder.setPosition(index - start);
    return finder.isAtBoundary();
}

// A piece that starts with one of these could read as a list item, a quote or a checklist line.
bool startsLinePrefix(QChar c)
{
    return c.isSpace() || c.isDigit() || c == u'-' || c == u'\u2022' || c == u'\u2502' || c == u'\u25CB' || c == u'\u25CF'
        || c == u'\u25C9' || c == QChar::ObjectReplacementCharacter;
}

template <typename Fits>
std::optional<qsizetype> lastCut(QStringView text, qsizetype target, const Fits& fits)
{
    for (qsizetype index = target; index > 0 && index > target - searchWindow; --index) {
        if (fits(index))
            return index;
    }
    return std::nullopt;
}

} // namespace

qsizetype LongParagraphSplit::cutNear(QStringView text, qsizetype target)
{
    target = std::clamp<qsizetype>(target, 1, text.size() - 1);
    const auto afterSpace = [&](qsizetype i) { return text[i - 1] == u' ' && text[i].isLetter(); };
    const auto beforeLetter = [&](qsizetype i) { return text[i].isLetter() && isGraphemeBoundary(text, i); };
    const auto plain = [&](qsizetype i) { return !startsLinePrefix(text[i]) && isGraphemeBoundary(text, i); };
    const auto anyGrapheme = [&](qsizetype i) { return isGraphemeBoundary(text, i); };
    for (const auto& fits : std::initializer_list<std::function<bool(qsizetype)>> {afterSpace, beforeLetter, plain, anyGrapheme}) {
        if (const std::optional<qsizetype> cut = lastCut(text, target, fits))
            return *cut;
    }
    return target;
}

void LongParagraphSplit::split(QTextDocument& document, int from, int to)
{
    to = std::min(to, document.characterCount());
    // In an edit block a cursor does not lay its block out after each change.
    QTextCursor step(&document);
    step.beginEditBlock();
    for (QTextBlock block = document.findBlock(from); block.isValid() && block.position() <= to; block = block.next()) {
        if (block.length() - 1 <= splitAbove)
            continue;
        QTextCursor cursor(block);
        if (cursor.currentFrame() != document.rootFrame())
            continue;
        const QString text = block.text();
        std::vector<qsizetype> cuts;
        for (qsizetype start = 0; text.size() - start > pieceLength + pieceLength / 2;)
            cuts.push_back(start = cutNear(text, start + pieceLength));
        QTextBlockFormat continuation = block.blockFormat();
        continuation.setProperty(ParagraphContinuation::property, true);
        // From the last cut back, so the earlier positions stay where they were.
        const int position = block.position();
        for (auto cut = cuts.rbegin(); cut != cuts.rend(); ++cut) {
            cursor.setPosition(position + int(*cut));
            cursor.insertBlock(continuation, cursor.charFormat());
        }
        to += int(cuts.size());
        block = document.findBlock(position + int(text.size()) + int(cuts.size()) - 1);
    }
    step.endEditBlock();
}

void LongParagraphSplit::keepBreaksOf(QTextDocument& document, int from, int to)
{
    if (!hasContinuations(document))
        return;
    for (QTextBlock block = document.findBlock(from + 1); block.isValid() && block.position() <= to; block = block.next()) {
        if (block.position() <= from || !ParagraphContinuation::continues(block))
            continue;
        QTextBlockFormat format = block.blockFormat();
        format.clearProperty(ParagraphContinuation::property);
        QTextCursor(block).setBlockFormat(format);
    }
}

std::optional<int> LongParagraphSplit::acrossBreak(const QTextDocument& document, int position, bool backward)
{
    int at = position;
    for (QTextBlock block = document.findBlock(at); block.isValid();) {
        const QTextBlock continuation = backward ? block : block.next();
        const int edge = backward ? block.position() : block.position() + block.length() - 1;
        if (at != edge || !continuation.isValid() || !ParagraphContinuation::continues(continuation))
            break;
        at += backward ? -1 : 1;
        block = backward ? block.previous() : continuation;
    }
    if (at == position)
        return std::nullopt;
    return at;
}

void LongParagraphSplit::join(QTextDocument& document)
{
    const std::vector<int> breaks = displayBreaks(document);
    QTextCursor cursor(&document);
    for (auto at = breaks.rbegin(); at != breaks.rend(); ++at) {
        cursor.setPosition(*at);
        cursor.deleteChar();
    }
}

bool LongParagraphSplit::hasContinuations(const QTextDocument& document)
{
    const QList<QTextFormat> formats = document.allFormats();
    return std::any_of(formats.begin(), formats.end(), [](const QTextFormat& format) {
        return format.isBlockFormat() && format.boolProperty(ParagraphContinuation::property);
    });
}

std::vector<int> LongParagraphSplit::displayBreaks(const QTextDocument& document)
{
    std::vector<int> breaks;
    if (!hasContinuations(document))
        return breaks;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (ParagraphContinuation::continues(block) && block.position() > 0)
            breaks.push_back(block.position() - 1);
    }
    return breaks;
}

} // namespace norvelle
