#include "workspace/NotePaper.h"

#include "store/StickyNote.h"
#include "ui/HexColor.h"
#include "ui/PaperTextureView.h"
#include "ui/TextContrast.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>

namespace norvelle {

namespace {

const QString defaultPaper = QStringLiteral("#FDFDF8");

QString paperOr(const QString& paperColor)
{
    return paperColor.isNull() ? defaultPaper : paperColor;
}

QColor withAlpha(QColor color, double alpha)
{
    color.setAlphaF(float(alpha));
    return color;
}

} // namespace

PaperTextColors paperTextColors(const QString& paper)
{
    if (compareTextContrast(paper)) {
        return {Qt::white, withAlpha(Qt::white, 0.82), withAlpha(Qt::white, 0.64)};
    }
    return {withAlpha(Qt::black, 0.88), withAlpha(Qt::black, 0.58), withAlpha(Qt::black, 0.45)};
}

NotePaper::NotePaper(const StickyNote& note)
    : NotePaper(note.paperColor(), note.textureName(), note.opacity())
{
}

NotePaper::NotePaper(const QString& paperColor, const QString& textureName, double opacity)
    : paper(paperOr(paperColor))
    , texture(textureName.isNull() ? QStringLiteral("lined") : textureName)
    , fillOpacity(std::max(std::min(opacity, 1.0), 0.16))
    , textureOpacity(std::max(std::min(fillOpacity * 0.7 + 0.1, 0.78), 0.18))
    , isDark(isDarkHexColor(paper, false, opacity))
{
    const PaperTextColors colors = paperTextColors(paper);
    primary = colors.primary;
    secondary = colors.secondary;
    tertiary = colors.tertiary;
}

QColor NotePaper::pinnedAccent()
{
    return QColor::fromRgbF(0.749f, 0.353f, 0.949f, 0.35f);
}

void NotePaper::paint(QPainter& painter, const QRectF& rect, qreal cornerRadius) const
{
    const QRect bounds = rect.toAlignedRect();
    const qreal dpr = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    painter.drawPixmap(bounds.topLeft(), tile(rect.translated(-bounds.topLeft()), bounds.size(), cornerRadius, dpr));
}

// Papers are drawn once per look and size: a scrolled grid repaints many cards of one size on
// every frame, and copying a ready tile costs far less than filling and blending a clipped,
// translucent texture for each card.
const QPixmap& NotePaper::tile(const QRectF& rect, QSize tileSize, qreal cornerRadius, qreal dpr) const
{
    static QHash<QString, QPixmap> tiles;
    const QString key = QStringLiteral("%1|%2|%3|%4,%5,%6,%7|%8|%9")
                            .arg(paper, texture)
                            .arg(fillOpacity)
                            .arg(rect.x())
                            .arg(rect.y())
                            .arg(rect.width())
                            .arg(rect.height())
                            .arg(cornerRadius)
                            .arg(dpr);
    auto found = tiles.constFind(key);
    if (found != tiles.cend()) {
        return *found;
    }
    if (tiles.size() >= 48) {
        tiles.clear();
    }
    QPixmap texture(rect.size().toSize() * dpr);
    texture.setDevicePixelRatio(dpr);
    texture.fill(Qt::transparent);
    QPainter texturePainter(&texture);
    PaperTextureView::draw(texturePainter, rect.size(), this->texture, isDark);
    texturePainter.end();

    QPixmap tile(tileSize * dpr);
    tile.setDevicePixelRatio(dpr);
    tile.fill(Qt::transparent);
    QPainter painter(&tile);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(rect, cornerRadius, cornerRadius);
    painter.fillPath(shape, withAlpha(colorFromHexOrWhite(paper), fillOpacity));
    painter.setClipPath(shape);
    painter.setOpacity(textureOpacity);
    painter.drawPixmap(rect.topLeft(), texture);
    painter.end();
    return *tiles.insert(key, tile);
}

} // namespace norvelle
