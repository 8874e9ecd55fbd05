#include "clipboard/ClipCardList.h"

#include "clipboard/ClipKindIcon.h"
#include "clipboard/ClipThumbnailCache.h"
#include "clipboard/RelativeTime.h"
#include "ui/RoundedPainting.h"
#include "ui/SchemeColors.h"
#include "ui/SymbolImage.h"
#include "ui/ViewFont.h"

#include <QFontMetricsF>
#include <QHelpEvent>
#include <QPainter>
#include <QTextOption>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace norvelle {

namespace {

constexpr int sideMargin = 16;
constexpr int bottomMargin = 16;
constexpr int cardSpacing = 8;
constexpr int cardPadding = 12;
constexpr int stackSpacing = 12;
constexpr int visualSide = 44;
constexpr int buttonSide = 26;
constexpr int buttonSymbol = 14;
constexpr int buttonSpacing = 4;
constexpr int titleLines = 2;
// Room kept for the hover buttons whether or not they show, so titles do not re-wrap on hover.
constexpr int buttonsWidth = 3 * buttonSide + 2 * buttonSpacing;

QFont titleFont() { return viewFont(14, QFont::Medium); }
QFont detailFont() { return viewFont(11); }

QString actionSymbol(ClipCardList::Action action)
{
    switch (action) {
    case ClipCardList::Action::newSticky: return QStringLiteral("note.text.badge.plus");
    case ClipCardList::Action::copy: return QStringLiteral("doc.on.clipboard");
    case ClipCardList::Action::remove: return QStringLiteral("trash");
    }
    return {};
}

int textWidth(int listWidth)
{
    return std::max(listWidth - 2 * sideMargin - 2 * cardPadding - visualSide - 2 * stackSpacing - buttonsWidth, 40);
}

// The title on at most two lines, the second cut with an ellipsis when more text follows.
std::unique_ptr<QTextLayout> layoutTitle(const QString& title, qreal width, qreal* height)
{
    QString text = title;
    text.replace(u'\n', QChar::LineSeparator);
    const QFont font = titleFont();
    const QFontMetricsF metrics(font);

    auto layout = std::make_unique<QTextLayout>(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout->setTextOption(option);
    layout->beginLayout();
    qreal y = 0;
    int lines = 0;
    while (lines < titleLines) {
        QTextLine line = layout->createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += line.height();
        ++lines;
    }
    layout->endLayout();
    const int shown = lines == 0 ? 0 : layout->lineAt(lines - 1).textStart() + layout->lineAt(lines - 1).textLength();
    if (lines == titleLines && shown < text.size()) {
        // Lay the last line out again as the rest of the text cut to the width.
        const QTextLine last = layout->lineAt(titleLines - 1);
        const QString head = text.left(last.textStart());
        QString rest = text.mid(last.textStart());
        rest.replace(QChar::LineSeparator, u' ');
        const QString cut = metrics.elidedText(rest, Qt::ElideRight, width);
        layout = std::make_unique<QTextLayout>(head + cut, font);
        layout->setTextOption(option);
        layout->beginLayout();
        y = 0;
        for (int i = 0; i < titleLines; ++i) {
            QTextLine line = layout->createLine();
            if (!line.isValid())
                break;
            line.setLineWidth(i == titleLines - 1 ? 1e6 : width);
            line.setPosition(QPointF(0, y));
            y += line.height();
        }
        layout->endLayout();
    }
    *height = std::max(y, metrics.height());
    return layout;
}

} // namespace

ClipCardList::ClipCardList(QWidget* parent)
    : ClipListWidget(parent)
{
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

ClipCardList::~ClipCardList() = default;

void ClipCardList::entriesChanged()
{
    m_laidOutWidth = -1;
    layoutCards(width());
    updateGeometry();
}

std::vector<ClipCardList::Card> ClipCardList::makeCards(int width) const
{
    std::vector<Card> cards;
    const qreal detailHeight = QFontMetricsF(detailFont()).height();
    int y = 0;
    for (const ClipEntry& entry : entries()) {
        Card card;
        card.title = layoutTitle(entry.displayTitle(), textWidth(width), &card.titleHeight);
        const int content = std::max(visualSide, int(std::ceil(card.titleHeight + 3 + detailHeight)));
        card.rect = QRect(sideMargin, y, std::max(width - 2 * sideMargin, 0), content + 2 * cardPadding);
        y += card.rect.height() + cardSpacing;
        cards.push_back(std::move(card));
    }
    return cards;
}

void ClipCardList::layoutCards(int width)
{
    if (width == m_laidOutWidth)
        return;
    m_cards = makeCards(width);
    m_laidOutWidth = width;
}

int ClipCardList::heightForWidth(int width) const
{
    const std::vector<Card> cards = width == m_laidOutWidth ? std::vector<Card>() : makeCards(width);
    const std::vector<Card>& laid = width == m_laidOutWidth ? m_cards : cards;
    return laid.empty() ? 0 : laid.back().rect.bottom() + 1 + bottomMargin;
}

QSize ClipCardList::sizeHint() const
{
    const int width = std::max(this->width(), 360);
    return {width, heightForWidth(width)};
}

void ClipCardList::resizeEvent(QResizeEvent* event)
{
    layoutCards(width());
    ClipListWidget::resizeEvent(event);
}

QRect ClipCardList::itemRect(int index) const
{
    return index >= 0 && index < int(m_cards.size()) ? m_cards.at(index).rect : QRect();
}

QList<ClipCardList::Action> ClipCardList::actions(int index) const
{
    if (!isHovered(index))
        return {};
    QList<Action> shown;
    if (entries().at(index).offersSticky())
        shown << Action::newSticky;
    shown << Action::copy << Action::remove;
    return shown;
}

QRect ClipCardList::buttonRect(int index, Action action) const
{
    const QList<Action> shown = actions(index);
    const qsizetype position = shown.indexOf(action);
    if (position < 0)
        return {};
    const QRect card = itemRect(index);
    const int fromRight = int(shown.size() - 1 - position);
    const int right = card.right() + 1 - cardPadding - fromRight * (buttonSide + buttonSpacing);
    return {right - buttonSide, card.center().y() - buttonSide / 2, buttonSide, buttonSide};
}

QString ClipCardList::buttonHelp(Action action)
{
    switch (action) {
    case Action::newSticky: return QStringLiteral("New sticky from this clip");
    case Action::copy: return QStringLiteral("Copy this clip");
    case Action::remove: return QStringLiteral("Delete this clip");
    }
    return {};
}

int ClipCardList::partAt(int index, QPoint position) const
{
    for (Action action : actions(index)) {
        if (buttonRect(index, action).contains(position))
            return int(action);
    }
    return body;
}

QRect ClipCardList::partRect(int index, int part) const
{
    return part == body ? itemRect(index) : buttonRect(index, Action(part));
}

bool ClipCardList::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const Target target = targetAt(help->pos());
        if (target.part != body) {
            const auto action = Action(target.part);
            QToolTip::showText(help->globalPos(), buttonHelp(action), this, buttonRect(target.index, action));
        } else {
            QToolTip::hideText();
        }
        return true;
    }
    return ClipListWidget::event(event);
}

void ClipCardList::paintItem(QPainter& painter, int index, const QDateTime& now) const
{
    const ClipEntry& entry = entries().at(index);
    const Card& card = m_cards.at(index);
    const SchemeColors colors(palette());
    const qreal dpr = painter.device()->devicePixelRatioF();
    const bool hovered = isHovered(index);
    const QRectF bounds = card.rect;

    QColor fill = colors.overlay(0.08, 0.06);
    fill.setAlphaF(fill.alphaF() * (hovered ? 1.0f : 0.5f));
    fillRounded(painter, bounds, 12, fill);
    QColor border = colors.overlay(0.06, 0.1);
    border.setAlphaF(border.alphaF() * 0.5f);
    strokeRounded(painter, bounds, 12, border, 0.5);

    const qreal centreY = bounds.center().y();
    const QRectF visual(bounds.left() + cardPadding, centreY - visualSide / 2.0, visualSide, visualSide);
    ClipThumbnailCache& thumbnails = ClipThumbnailCache::shared();
    const QImage image = thumbnails.thumbnail(entry, visualSide, Qt::KeepAspectRatioByExpanding, dpr);
    if (!image.isNull()) {
        drawRoundedImage(painter, visual, 7, image);
    } else {
        // A picture still being decoded shows as one until its thumbnail arrives.
        const QString symbol = thumbnails.isPending(entry.id) ? QStringLiteral("photo") : clipKindSymbol(entry.text);
        fillRounded(painter, visual, 7, colors.overlay(0.08, 0.06));
        const int symbolSize = 16;
        painter.drawImage(visual.center() - QPointF(symbolSize / 2.0, symbolSize / 2.0),
            symbolImage(symbol, symbolSize, colors.secondaryText(), dpr));
    }

    const qreal textLeft = visual.right() + stackSpacing;
    const QFontMetricsF detailMetrics(detailFont());
    const qreal columnHeight = card.titleHeight + 3 + detailMetrics.height();
    const qreal top = centreY - columnHeight / 2;
    painter.setPen(colors.label());
    card.title->draw(&painter, QPointF(textLeft, top));

    const qreal detailWidth = textWidth(m_laidOutWidth);
    const QString detail = entry.sourceApp + QStringLiteral(" · ") + relativeTimeText(entry.createdAt, now);
    painter.setFont(detailFont());
    painter.setPen(colors.secondaryText());
    painter.drawText(QRectF(textLeft, top + card.titleHeight + 3, detailWidth, detailMetrics.height()),
        Qt::AlignLeft | Qt::AlignVCenter, detailMetrics.elidedText(detail, Qt::ElideRight, detailWidth));

    for (Action action : actions(index)) {
        const QRectF button = buttonRect(index, action);
        const QColor color = action == Action::remove ? colors.destructive() : colors.secondaryText();
        painter.drawImage(button.center() - QPointF(buttonSymbol / 2.0, buttonSymbol / 2.0),
            symbolImage(actionSymbol(action), buttonSymbol, color, dpr));
    }
}

} // namespace norvelle
