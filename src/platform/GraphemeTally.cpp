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

// A character always ends after a line feed, and between two ASCII characters other than
// CR LF: whatever comes before or after, the text is cut into the same characters there.
bool endsCharacter(QChar before, QChar after)
{
    return before == u'\n' || (before.unicode() < 0x80 && after.unicode() < 0x80 && !(before == u'\r' && after == u'\n'));
}

// The last place at or before `start` where a character surely ends, looking only at `text`
// before `start` (and at `start` itself only for a line feed before it).
qsizetype cutBefore(QStringView text, qsizetype start)
{
    if (start > 0 && text[start - 1] == u'\n')
        return start;
    for (qsizetype cut = start - 1; cut > 0; --cut) {
        if (endsCharacter(text[cut - 1], text[cut]))
            return cut;
    }
    return 0;
}

// How many code units at the end of `shared` (the end both texts share) lie past the first
// place in it where a character surely ends.
qsizetype tailPastCut(QStringView shared)
{
    for (qsizetype cut = 1; cut < shared.size(); ++cut) {
        if (endsCharacter(shared[cut - 1], shared[cut]))
            return shared.size() - cut;
    }
    return 0;
}

} // namespace

qsizetype GraphemeTally::count(const QString& text)
{
    // Only what lies between the last sure end of a character within the start both texts share
    // and the first within the end they share is counted again: a pasted line of millions of
    // characters is not walked again for each key typed into it.
    const qsizetype start = sharedStart(m_text, text);
    const qsizetype end = sharedEnd(m_text, text, std::min(m_text.size(), text.size()) - start);
    const qsizetype from = cutBefore(text, start);
    const qsizetype after = tailPastCut(QStringView(text).last(end));
    m_count += GraphemeWalker::count(QStringView(text).sliced(from, text.size() - after - from))
        - GraphemeWalker::count(QStringView(m_text).sliced(from, m_text.size() - after - from));
    m_text = text;
    return m_count;
}

} // namespace norvelle
