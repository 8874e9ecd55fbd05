#include "ui/IsolatedText.h"

#include <algorithm>
#include <vector>

namespace norvelle {

namespace {

constexpr char16_t firstStrongIsolate = 0x2068;
constexpr char16_t popIsolate = 0x2069;
constexpr char16_t popEmbedding = 0x202C;

bool opensEmbedding(char16_t c)
{
    return c == 0x202A || c == 0x202B || c == 0x202D || c == 0x202E;
}

bool opensIsolate(char16_t c)
{
    return c == 0x2066 || c == 0x2067 || c == firstStrongIsolate;
}

bool isDirectionControl(QChar c)
{
    return opensEmbedding(c.unicode()) || opensIsolate(c.unicode()) || c.unicode() == popEmbedding
        || c.unicode() == popIsolate;
}

// The direction controls without a partner, matched as the bidi algorithm matches them: a pop
// embedding closes the innermost embedding of its isolate, a pop isolate its innermost isolate
// and the embeddings still open within it.
std::vector<bool> unpairedControls(const QString& text)
{
    std::vector<bool> unpaired(size_t(text.size()), false);
    std::vector<qsizetype> open;
    const auto isolateOpen = [&] {
        return std::any_of(open.begin(), open.end(), [&](qsizetype at) { return opensIsolate(text[at].unicode()); });
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (opensEmbedding(c) || opensIsolate(c)) {
            open.push_back(i);
        } else if (c == popEmbedding) {
            if (!open.empty() && opensEmbedding(text[open.back()].unicode())) {
                open.pop_back();
            } else {
                unpaired[size_t(i)] = true;
            }
        } else if (c == popIsolate) {
            if (!isolateOpen()) {
                unpaired[size_t(i)] = true;
                continue;
            }
            while (opensEmbedding(text[open.back()].unicode())) {
                open.pop_back();
            }
            open.pop_back();
        }
    }
    for (const qsizetype at : open) {
        unpaired[size_t(at)] = true;
    }
    return unpaired;
}

} // namespace

QString isolatedText(const QString& text)
{
    if (std::none_of(text.begin(), text.end(), isDirectionControl)) {
        return text;
    }
    const std::vector<bool> unpaired = unpairedControls(text);
    QString shown;
    shown.reserve(text.size() + 2);
    shown += QChar(firstStrongIsolate);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!unpaired[size_t(i)]) {
            shown += text[i];
        }
    }
    shown += QChar(popIsolate);
    return shown;
}

} // namespace norvelle
