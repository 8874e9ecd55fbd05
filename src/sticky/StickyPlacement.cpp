#include "sticky/StickyPlacement.h"

#include <algorithm>

namespace norvelle {

int StickyPlacement::cascadeOffset(qint64 spawnIndex)
{
    const qint64 step = ((spawnIndex % cascadeSteps) + cascadeSteps) % cascadeSteps;
    return int(step) * cascadeStep;
}

QPoint StickyPlacement::originNearPointer(QPoint pointer, QRect visibleFrame, QSize windowSize,
    qint64 spawnIndex)
{
    const int offset = cascadeOffset(spawnIndex);
    const int width = windowSize.width();
    const int height = windowSize.height();
    // QRect's right() and bottom() are one short of the edge; work with the edges themselves.
    const int left = visibleFrame.x();
    const int top = visibleFrame.y();
    const int right = left + visibleFrame.width();
    const int bottom = top + visibleFrame.height();

    int x = pointer.x() - width / 2 + offset;
    int y = pointer.y() + pointerGap + offset - height;

    // Each axis is clamped to its low margin first and its high one second, with y counted up
    // from the bottom of the screen. Its high edge is then the top of the screen, so a window
    // larger than the area ends up 8 points in from the right edge and from the top edge.
    x = std::max(x, left + margin);
    y = std::min(y, bottom - height - margin);
    x = std::min(x, right - width - margin);
    y = std::max(y, top + margin);
    return {x, y};
}

std::optional<qsizetype> StickyPlacement::screenForPointer(QPoint pointer,
    const QList<QRect>& screenFrames,
    qsizetype primaryIndex)
{
    for (qsizetype i = 0; i < screenFrames.size(); ++i) {
        if (screenFrames[i].contains(pointer)) {
            return i;
        }
    }
    if (screenFrames.isEmpty()) {
        return std::nullopt;
    }
    return std::clamp<qsizetype>(primaryIndex, 0, screenFrames.size() - 1);
}

} // namespace norvelle
