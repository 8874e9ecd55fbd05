#pragma once

#include "editor/EditorCommands.h"
#include "platform/NotificationCenter.h"

#include <QObject>
#include <QVariantMap>

#include <vector>

namespace norvelle::test {

// Every editor command that reaches the hub, with its object and user info.
struct CommandLog {
    struct Entry {
        QString name;
        const void* object;
        QVariantMap userInfo;
    };
    std::vector<Entry> entries;
    QObject context;

    CommandLog()
    {
        for (const QString& name :
            {EditorCommands::toggleBold, EditorCommands::toggleItalic, EditorCommands::toggleUnderline,
                EditorCommands::toggleStrikethrough, EditorCommands::toggleHighlight, EditorCommands::toggleQuote,
                EditorCommands::applyTitleStyle, EditorCommands::applyHeadingStyle,
                EditorCommands::applySubheadingStyle, EditorCommands::applyBodyStyle,
                EditorCommands::applyCaptionStyle, EditorCommands::applyMonospacedStyle, EditorCommands::setFontSize,
                EditorCommands::setTextColor, EditorCommands::setHighlightColor, EditorCommands::setAlignment,
                EditorCommands::setListStyle, EditorCommands::insertChecklist, EditorCommands::insertTable}) {
            NotificationCenter::defaultCenter().addObserver(name, &context, [this](const Notification& n) {
                entries.push_back({n.name, n.object, n.userInfo});
            });
        }
    }
};

} // namespace norvelle::test
