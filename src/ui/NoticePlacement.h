#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace norvelle {

// Where a notice whose frame is `size` goes on `screen` so that it hides nothing of `keepClear`,
// the window the user types in: beside it (right, left, below, above), else in the corner of the
// screen that covers the least of it.
QPoint noticeOrigin(const QRect& keepClear, QSize size, const QRect& screen);

} // namespace norvelle
