#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

namespace norvelle {

// Where a new sticky window goes when it has no usable saved frame: centred on the pointer with
// its bottom edge 40 points below it, each further window of the run stepping 18 points right
// and down (eight steps, then the cascade starts over; a step that would leave the area goes left
// or up instead), kept 8 points inside the screen's usable area. Everything is in Qt's screen coordinates (origin top left) and works on the window's
// outer frame.
class StickyPlacement {
public:
    static constexpr int cascadeSteps = 8;
    static constexpr int cascadeStep = 18;
    static constexpr int pointerGap = 40;
    static constexpr int margin = 8;

    // 0, 18, … 126 for the spawn indices 0 … 7, then again.
    static int cascadeOffset(qint64 spawnIndex);

    // The top-left corner of a window of `windowSize` placed for `pointer` on a screen whose
    // usable area is `visibleFrame`. A window larger than that area keeps 8 points to the
    // area's right edge and to its top edge.
    static QPoint originNearPointer(QPoint pointer, QRect visibleFrame, QSize windowSize,
        qint64 spawnIndex);

    // The index of the first screen (in the system's order) whose frame holds `pointer`,
    // else `primaryIndex` when there is any screen, else none.
    static std::optional<qsizetype> screenForPointer(QPoint pointer, const QList<QRect>& screenFrames,
        qsizetype primaryIndex = 0);

private:
    // The room for the window's near edge along one axis of the usable area.
    struct Axis {
        int low;
        int high;
        bool farEdgeWins; // which margin a window larger than the area keeps
        int clamp(int value) const;
        int place(int candidate, int offset) const;
    };
};

} // namespace norvelle
