#pragma once

#include <QString>

#include <functional>

namespace norvelle {

// What the format popup hands to its host, one entry per formatting command it can send. The
// popup never edits text itself: its host turns each call into an editor command.
struct AaPopupCallbacks {
    std::function<void(int)> onFontSizeChange;
    std::function<void()> onToggleBold;
    std::function<void()> onToggleItalic;
    std::function<void()> onToggleUnderline;
    std::function<void()> onToggleStrikethrough;
    std::function<void()> onApplyTitle;
    std::function<void()> onApplyHeading;
    std::function<void()> onApplyBody;
    std::function<void()> onApplySubheading;
    std::function<void()> onApplyCaption;
    std::function<void()> onApplyMonospaced;
    std::function<void(const QString&)> onSetTextColor;
    std::function<void()> onToggleHighlight;
    std::function<void(const QString&)> onSetHighlightColor;
    std::function<void(const QString&)> onSetAlignment;
    std::function<void(const QString&)> onSetListStyle;
    std::function<void()> onToggleQuote;
};

} // namespace norvelle
