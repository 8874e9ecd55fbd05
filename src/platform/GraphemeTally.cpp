#include "platform/GraphemeTally.h"

#include "platform/GraphemeWalker.h"

#include <algorithm>
#include <cstring>

namespace norvelle {

namespace {

// How many code units two texts share at their start, compared a block at a time.
qsizetype sharedStart(QStringView a, QStringView b)
{
    const qsizetype length = std::min(a.size(), b.size());
    constexpr qsizetype block = 2048;
    qsizetype same = 0;
    while (same + block <= length && std::memcmp(a.data() + same, b.data() + same, block * sizeof(QChar)) == 0)
        same += block;
    while (same < length && a[same] == b[same])
        ++same;
    return same;
}

qsizetype sharedEnd(QStringView a, QStringView b, qsizetype limit)
{
    constexpr qsizetype block = 2048;
    qsizetype same = 0;
    while (same + block <= limit
           && std::memcmp(a.data() + a.size() - same - block, b.data() + b.size() - same - block, block * sizeof(QChar)) == 0)
        same += block;
    while (same < limit && a[a.size() - same - 1] == b[b.size() - same - 1])
        ++same;
    return same;
}

} // namespace

qsizetype GraphemeTally::count(const QString& text)
{
    // A character always ends at a line feed, so the text is cut into the same characters on
    // both sides of one whatever comes before or after it. What lies between the last line
    // feed both texts share at the start and the first they share at the end is counted again.
    const qsizetype start = sharedStart(m_text, text);
    const qsizetype end = sharedEnd(m_text, text, std::min(m_text.size(), text.size()) - start);
    const qsizetype from = QStringView(text).first(start).lastIndexOf(u'\n') + 1;
    const qsizetype lineFeed = QStringView(text).last(end).indexOf(u'\n');
    const qsizetype after = lineFeed < 0 ? 0 : end - lineFeed - 1;
    m_count += GraphemeWalker::count(QStringView(text).sliced(from, text.size() - after - from))
        - GraphemeWalker::count(QStringView(m_text).sliced(from, m_text.size() - after - from));
    m_text = text;
    return m_count;
}

} // namespace norvelle
