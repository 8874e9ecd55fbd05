#pragma once

#include <QImage>
#include <QString>

class QPainter;
class QWidget;

namespace norvelle {

// The "sticky card" image of a sticky window: its content between the header and the toolbar,
// drawn four times as large, with a "Made with Norvelle" footer in the bottom right corner.
namespace ShareCard {

constexpr int scale = 4;
constexpr int headerHeight = 36;
constexpr int toolbarHeight = 52;

// `content` is the window's content view; with none (or one of no size) the card is a plain
// 1200 × 800 image of the paper.
QImage render(QWidget* content, const QString& paperHex);
// The footer panel, badge and texts over the bottom right corner of a card of `size`.
void drawFooter(QPainter& painter, QSize size, const QString& paperHex);

} // namespace ShareCard

} // namespace norvelle
