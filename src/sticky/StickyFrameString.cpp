#include "sticky/StickyFrameString.h"

#include <QRegularExpression>

#include <cmath>

namespace norvelle {

namespace {

// Far beyond any screen, small enough that sums of coordinates cannot overflow an int.
constexpr double largestCoordinate = 1.0e6;

} // namespace

QString StickyFrameString::format(const QRect& frame)
{
    return QStringLiteral("{{%1, %2}, {%3, %4}}")
        .arg(frame.x())
        .arg(frame.y())
        .arg(frame.width())
        .arg(frame.height());
}

std::optional<QRect> StickyFrameString::parse(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral(
        R"(^\s*\{\s*\{\s*(\S+?)\s*,\s*(\S+?)\s*\}\s*,\s*\{\s*(\S+?)\s*,\s*(\S+?)\s*\}\s*\}\s*$)"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    double values[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = match.captured(i + 1).toDouble(&ok);
        if (!ok || !std::isfinite(values[i]) || std::fabs(values[i]) > largestCoordinate) {
            return std::nullopt;
        }
    }
    const QRect frame(int(std::lround(values[0])), int(std::lround(values[1])),
        int(std::lround(values[2])), int(std::lround(values[3])));
    if (frame.width() <= 0 || frame.height() <= 0) {
        return std::nullopt;
    }
    return frame;
}

bool StickyFrameString::isOnAnyScreen(const QRect& frame, const QList<QRect>& screenAreas)
{
    for (const QRect& area : screenAreas) {
        if (area.intersects(frame)) {
            return true;
        }
    }
    return false;
}

} // namespace norvelle
