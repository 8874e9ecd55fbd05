#pragma once

#include <QList>
#include <QRect>
#include <QString>

#include <optional>

namespace norvelle {

// The text form of a sticky window's frame kept in the settings: "{{x, y}, {width, height}}",
// the origin being the window's outer top-left corner in screen coordinates and the size its
// content size.
class StickyFrameString {
public:
    static QString format(const QRect& frame);

    // The rectangle of a stored frame text; none when the text is not of that form, holds a
    // number that is not finite or absurdly large, or gives no positive width and height.
    static std::optional<QRect> parse(const QString& text);

    // Whether `frame` shows at least a sliver on one of the screens' usable areas.
    static bool isOnAnyScreen(const QRect& frame, const QList<QRect>& screenAreas);
};

} // namespace norvelle
