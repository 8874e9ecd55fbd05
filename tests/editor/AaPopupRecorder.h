#pragma once

#include "editor/AaPopupCallbacks.h"

#include <QString>
#include <QStringList>

namespace norvelle::test {

// Callbacks that write down each call as "name" or "name:argument", in order.
struct AaPopupRecorder {
    QStringList calls;

    AaPopupCallbacks callbacks()
    {
        auto plain = [this](const char* name) { return [this, name] { calls << QString::fromLatin1(name); }; };
        auto text = [this](const char* name) {
            return [this, name](const QString& value) { calls << QString::fromLatin1(name) + ':' + value; };
        };
        return {
            [this](int size) { calls << QStringLiteral("fontSize:%1").arg(size); },
            plain("bold"),
            plain("italic"),
            plain("underline"),
            plain("strike"),
            plain("title"),
            plain("heading"),
            plain("body"),
            plain("subheading"),
            plain("caption"),
            plain("monospaced"),
            text("textColor"),
            plain("highlight"),
            text("highlightColor"),
            text("alignment"),
            text("list"),
            plain("quote"),
        };
    }
};

} // namespace norvelle::test
