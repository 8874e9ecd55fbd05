#include "workspace/NotePaper.h"

#include "store/StickyNote.h"
#include "ui/HexColor.h"
#include "ui/PaperTextureView.h"
#include "ui/TextContrast.h"

#include <QHash>
#include <QPainter>
#include <QPixmap>

#include <algorithm>

namespace norvelle {

namespace {

const QString kDefaultPaper = QStringLiteral("#FDFDF8");

QString paperOr(const QString& paperColor)
{
    return paperColor.isNull() ? kDefaultPaper : paperColor;
}

QColor withAlpha(QColor color, double alpha)
{
    color.setAlphaF(float(alpha));
    return color;
}

// Textures are drawn once per texture, look and size: a scrolled grid repaints many cards of
// one size on every frame.
const QPixmap& textureTile(const QString& name, bool isDark, QSize size, qreal dpr)
{
    static QHash<QString, QPixmap> tiles;
    const QString key = QStringLiteral("%1|%2|%3x%4|%5").arg(name).arg(isDark).arg(size.width()).arg(size.height()).arg(dpr);
    auto found = tiles.find(key);
    if (found == tiles.end()) {
        if (tiles.size() > 64) {
            tiles.clear();
        }
        QPixmap tile(size * dpr);
        tile.setDevicePixelRatio(dpr);
        tile.fill(Qt::transparent);
        QPainter painter(&tile);
        PaperTextureView::draw(painter, QSizeF(size), name, isDark);
        painter.end();
        found = tiles.insert(key, tile);
    }
    return *found;
}

} // namespace

PaperTextColors paperTextColors(const QString& paper)
{
    if (compareTextContrast(paper)) {
        return { Qt::white, withAlpha(Qt::white, 0.82), withAlpha(Qt::white, 0.64) };
    }
    return { withAlpha(Qt::black, 0.88), withAlpha(Qt::black, 0.58), withAlpha(Qt::black, 0.45) };
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

void NotePaper::paint(QPainter& painter, const QPainterPath& shape) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(shape, withAlpha(colorFromHexOrWhite(paper), fillOpacity));
    painter.setClipPath(shape, Qt::IntersectClip);
    painter.setOpacity(painter.opacity() * textureOpacity);
    const QRectF bounds = shape.boundingRect();
    const qreal dpr = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    painter.drawPixmap(bounds.topLeft(), textureTile(texture, isDark, bounds.size().toSize(), dpr));
    painter.restore();
}

} // namespace norvelle
