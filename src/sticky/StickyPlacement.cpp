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

    // Each axis is clamped to its low margin first and its high one second, with y counted up
    // from the bottom of the screen. Its high edge is then the top of the screen, so a window
    // larger than the area ends up 8 points in from the right edge and from the top edge.
    const Axis horizontal {left + margin, right - width - margin, true};
    const Axis vertical {top + margin, bottom - height - margin, false};
    return {horizontal.place(pointer.x() - width / 2, offset),
        vertical.place(pointer.y() + pointerGap - height, offset)};
}

int StickyPlacement::Axis::clamp(int value) const
{
    return farEdgeWins ? std::min(std::max(value, low), high) : std::max(std::min(value, high), low);
}

int StickyPlacement::Axis::place(int candidate, int offset) const
{
    // The cascade steps from where the window lands without it, so a pointer near an edge (the
    // tray's) does not pile the windows of a run on one spot; where the step does not fit, it
    // goes the other way.
    const int base = clamp(candidate);
    for (const int stepped : {base + offset, base - offset}) {
        if (low <= stepped && stepped <= high) {
            return stepped;
        }
    }
    return clamp(candidate + offset);
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
