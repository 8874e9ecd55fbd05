#include "ui/NoticePlacement.h"

#include <algorithm>
#include <array>
#include <limits>

namespace norvelle {

namespace {

constexpr int gapPx = 12;

qint64 area(const QRect& rect)
{
    return rect.isEmpty() ? 0 : qint64(rect.width()) * rect.height();
}

} // namespace

QPoint noticeOrigin(const QRect& keepClear, QSize size, const QRect& screen)
{
    const auto clampX = [&](int x) { return std::clamp(x, screen.left(), std::max(screen.left(), screen.right() + 1 - size.width())); };
    const auto clampY = [&](int y) { return std::clamp(y, screen.top(), std::max(screen.top(), screen.bottom() + 1 - size.height())); };
    const QRect inset = screen.adjusted(gapPx, gapPx, -gapPx, -gapPx);
    const std::array<QPoint, 8> candidates {
        QPoint(keepClear.right() + 1 + gapPx, clampY(keepClear.top())),
        QPoint(keepClear.left() - gapPx - size.width(), clampY(keepClear.top())),
        QPoint(clampX(keepClear.left()), keepClear.bottom() + 1 + gapPx),
        QPoint(clampX(keepClear.left()), keepClear.top() - gapPx - size.height()),
        QPoint(inset.right() + 1 - size.width(), inset.bottom() + 1 - size.height()),
        QPoint(inset.left(), inset.bottom() + 1 - size.height()),
        QPoint(inset.right() + 1 - size.width(), inset.top()),
        inset.topLeft(),
    };
    QPoint best = candidates.back();
    qint64 leastHidden = std::numeric_limits<qint64>::max();
    for (const QPoint& origin : candidates) {
        const QRect frame(origin, size);
        if (!screen.contains(frame)) {
            continue;
        }
        const qint64 hidden = area(frame.intersected(keepClear));
        if (hidden < leastHidden) {
            best = origin;
            leastHidden = hidden;
        }
        if (hidden == 0) {
            break;
        }
    }
    return best;
}

} // namespace norvelle
