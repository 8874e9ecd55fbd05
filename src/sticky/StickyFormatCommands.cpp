#include "sticky/StickyFormatCommands.h"

#include "editor/EditorCommands.h"
#include "platform/NotificationCenter.h"

namespace norvelle {

AaPopupCallbacks formatCommandCallbacks(const void* editor)
{
    auto command = [editor](const QString& name) {
        return [editor, name] { NotificationCenter::defaultCenter().post(name, editor); };
    };
    auto valued = [editor](const QString& name, const QString& key) {
        return [editor, name, key](const QString& value) {
            NotificationCenter::defaultCenter().post(name, editor, {{key, value}});
        };
    };
    using namespace EditorCommands;
    return {
        [editor](int size) { NotificationCenter::defaultCenter().post(setFontSize, editor, {{"size", size}}); },
        command(toggleBold),
        command(toggleItalic),
        command(toggleUnderline),
        command(toggleStrikethrough),
        command(applyTitleStyle),
        command(applyHeadingStyle),
        command(applyBodyStyle),
        command(applySubheadingStyle),
        command(applyCaptionStyle),
        command(applyMonospacedStyle),
        valued(setTextColor, QStringLiteral("hex")),
        command(toggleHighlight),
        valued(setHighlightColor, QStringLiteral("hex")),
        valued(setAlignment, QStringLiteral("alignment")),
        valued(setListStyle, QStringLiteral("style")),
        command(toggleQuote),
    };
}

} // namespace norvelle
