#include "platform/GraphemeWalker.h"

#include <algorithm>

namespace norvelle {

namespace {

// Ordinary text never needs more code units than this per character asked for.
qsizetype prefixWindow(qsizetype count)
{
    return std::max<qsizetype>(1024, count * 16);
}

std::optional<qsizetype> endOfFirstInWhole(QStringView text, qsizetype count)
{
    GraphemeWalker walker(text);
    for (qsizetype walked = 0; walked < count; ++walked) {
        if (!walker.advance()) {
            return std::nullopt;
        }
    }
    return walker.position();
}

} // namespace

GraphemeWalker::GraphemeWalker(QStringView text)
    : m_text(text)
    , m_finder(QTextBoundaryFinder::Grapheme, text)
{
}

bool GraphemeWalker::advance()
{
    const qsizetype next = m_finder.toNextBoundary();
    if (next == -1) {
        return false;
    }
    m_start = m_end;
    m_end = next;
    return true;
}

qsizetype GraphemeWalker::count(QStringView text)
{
    // In ASCII every character stands alone but for a line break of CR and LF; megabytes of it
    // are counted without the boundary analysis, which takes a byte per code unit first.
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; })) {
        return text.size() - text.count(u"\r\n");
    }
    GraphemeWalker walker(text);
    qsizetype count = 0;
    while (walker.advance()) {
        ++count;
    }
    return count;
}

std::optional<qsizetype> GraphemeWalker::endOfFirst(QStringView text, qsizetype count)
{
    if (count <= 0) {
        return 0;
    }
    const qsizetype window = prefixWindow(count);
    if (text.size() > window) {
        // Every boundary inside the prefix is a true one; only its very end may split a cluster.
        const auto end = endOfFirstInWhole(text.first(window), count);
        if (end && *end < window) {
            return end;
        }
    }
    return endOfFirstInWhole(text, count);
}

bool GraphemeWalker::hasAtMost(QStringView text, qsizetype limit)
{
    return !endOfFirst(text, limit + 1);
}

QStringView GraphemeWalker::leading(QStringView text, qsizetype count)
{
    // No text of `count` code units can hold more characters than that.
    if (text.size() <= count) {
        return text;
    }
    return text.first(endOfFirst(text, count).value_or(text.size()));
}

QStringList GraphemeWalker::split(QStringView text)
{
    QStringList characters;
    GraphemeWalker walker(text);
    while (walker.advance()) {
        characters.append(walker.current().toString());
    }
    return characters;
}

} // namespace norvelle
