#include "workspace/NoteActions.h"
#include "workspace/NoteCard.h"
#include "workspace/NoteRow.h"
#include "workspace/WorkspaceNoteEntry.h"

#include <QCollator>
#include <QDateTime>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QUuid>

#include <gtest/gtest.h>

#include <algorithm>

using namespace norvelle;

namespace {

const QColor backdropColor(255, 0, 255);

WorkspaceNoteEntry entry(const QString& title)
{
    const QDateTime changed(QDate(2026, 3, 4), QTime(10, 0));
    const QList<QVariant> values {title, changed, changed, QVariant(), false, false, QString(), QStringLiteral("#FDFDF8"),
        QString(), 1.0};
    return WorkspaceNoteEntry(ObjectID(QUuid::createUuid(), QStringLiteral("StickyNote"), 1), values, QString(), QCollator());
}

// A card and a row of the note drawn on a backdrop.
QImage drawn(const WorkspaceNoteEntry& note, const QString& preview, const QRectF& cardRect, const QRectF& rowRect)
{
    QImage image(900, 700, QImage::Format_ARGB32_Premultiplied);
    image.fill(backdropColor);
    QPainter painter(&image);
    const NoteCellState state;
    const NoteCard::Layout layout(note, preview, cardRect.width(), false);
    NoteCard::paint(painter, cardRect, note, layout, state);
    NoteRow::paint(painter, rowRect, note, preview, state);
    return image;
}

int pixelsOutside(const QImage& image, const QList<QRect>& items)
{
    int outside = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const bool inside = std::any_of(items.begin(), items.end(), [&](const QRect& r) { return r.contains(x, y); });
            outside += !inside && image.pixelColor(x, y) != backdropColor;
        }
    }
    return outside;
}

QImage line(const QString& text)
{
    QFont font;
    font.setPixelSize(16);
    QImage image(int(QFontMetricsF(font).horizontalAdvance(QStringLiteral("Permanently delete “evil more”?"))) + 40, 30,
        QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QPointF(4, 22), text);
    return image;
}

} // namespace

TEST(NoteTitleDrawing, StackedMarksStayOnTheirCardAndRow)
{
    const QString marks = QStringLiteral("A") + QString(50'000, QChar(0x0301));
    const QRectF card(300, 300, 240, 180);
    const QRectF row(100, 560, 700, NoteRow::height);
    const QImage image = drawn(entry(marks), marks, card, row);
    // A pixel of slack for the antialiased edges.
    EXPECT_EQ(pixelsOutside(image, {card.toAlignedRect().adjusted(-1, -1, 1, 1), row.toAlignedRect().adjusted(-1, -1, 1, 1)}),
        0);
}

TEST(NoteTitleDrawing, AnOverrideInATitleReachesNothingAfterIt)
{
    const QRectF card(20, 20, 240, 180);
    const QRectF row(20, 300, 700, NoteRow::height);
    // An override that is never closed is dropped: the title reads as it is stored.
    EXPECT_TRUE(drawn(entry(QStringLiteral("\u202Elive more")), QStringLiteral("\u202Eno end"), card, row)
        == drawn(entry(QStringLiteral("live more")), QStringLiteral("no end"), card, row));
    // One that is closed stays within the title: the words after it keep their place.
    const QImage plain = line(NoteActions::permanentDeleteTitle(QStringLiteral("live more")));
    EXPECT_TRUE(line(NoteActions::permanentDeleteTitle(QStringLiteral("\u202Eevil\u202C more"))) == plain);
    EXPECT_TRUE(line(NoteActions::permanentDeleteTitle(QStringLiteral("\u202Elive more"))) == plain);
}
