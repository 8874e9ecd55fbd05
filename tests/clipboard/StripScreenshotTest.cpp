#include "ClipViewFixture.h"

#include "clipboard/ClipStripList.h"
#include "clipboard/ClipboardStripView.h"
#include "support/RenderedImage.h"

#include <QDir>
#include <QLineEdit>
#include <QTest>

namespace norvelle::test {
namespace {

// Renders the strip with a few text and image clips in the light and dark scheme, at device-
// pixel ratios 1 and 2, into build/screenshots/ for review, and checks what a broken paint
// would change.
class StripScreenshotTest : public ClipViewTest {
protected:
    static QString folder()
    {
        const QString path = QCoreApplication::applicationDirPath() + QStringLiteral("/../screenshots");
        QDir().mkpath(path);
        return QDir(path).absolutePath();
    }

    static QImage render(QWidget& widget, qreal dpr)
    {
        QImage image((QSizeF(widget.size()) * dpr).toSize(), QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(dpr);
        image.fill(Qt::transparent);
        widget.render(&image, {}, {}, QWidget::DrawChildren);
        return image;
    }

    void populate()
    {
        monitor.setItems({
            makeClip(QStringLiteral("https://example.org/articles/clipboard-managers-compared"),
                QStringLiteral("Firefox"), 20),
            makeClip({}, QStringLiteral("GIMP"), 200, makePng({2000, 1500}, QColor(0xff, 0x8a, 0x00), QColor(0x8e, 0x24, 0xaa))),
            makeClip(QStringLiteral("Meeting moved to Thursday 3 pm — bring the budget sheet and the printed agenda"),
                QStringLiteral("Thunderbird"), 3600 * 3),
            makeClip(QStringLiteral("#0A84FF"), QStringLiteral("Inkscape"), 86400 * 2),
            makeClip(QStringLiteral("screenshot of the login form"), QStringLiteral("Screenshot"), 86400 * 9,
                makePng({800, 600}, QColor(0x20, 0x9c, 0xee), QColor(0x10, 0x30, 0x60))),
            makeClip(QStringLiteral("~/Projects/norvelle/src/clipboard"), QStringLiteral("Terminal"), 40),
        });
    }
};

TEST_F(StripScreenshotTest, SavesTheStripInLightAndDark)
{
    populate();
    for (const bool dark : {false, true}) {
        ClipboardStripView strip(monitor, {});
        if (dark)
            strip.setPalette(darkPalette());
        strip.resize(ClipboardStripView::stripWidth, 520);
        showActive(strip);
        ASSERT_TRUE(thumbnailsArrive(monitor.items()));
        QTest::keyClick(strip.searchField(), Qt::Key_Down);
        // From elsewhere first: a pointer already there from the last round makes no hover.
        QTest::mouseMove(strip.list(), strip.list()->itemRect(0).center());
        QTest::mouseMove(strip.list(), strip.list()->itemRect(2).center());
        QCoreApplication::processEvents();

        const QString scheme = dark ? QStringLiteral("dark") : QStringLiteral("light");
        const auto row = [&](int index) {
            const QRect rect = strip.list()->itemRect(index);
            return QRect(strip.list()->mapTo(&strip, rect.topLeft()), rect.size());
        };
        for (const qreal dpr : {1.0, 2.0}) {
            const RenderedImage image(render(strip, dpr));
            EXPECT_EQ(image.image().size(), QSize(320, 520) * dpr);
            EXPECT_TRUE(image.image().save(QStringLiteral("%1/strip-%2@%3x.png").arg(folder(), scheme).arg(dpr)));
            // Rows stand out from the strip, the selected one in the accent, the others plain.
            const QColor background = image.dominantColour(QRect(row(0).left() - 6, row(0).top(), 4, row(5).bottom() - row(0).top()));
            const QColor plain = image.dominantColour(row(0));
            EXPECT_FALSE(RenderedImage::near(plain, background, 4)) << plain.name().toStdString();
            EXPECT_TRUE(RenderedImage::neutral(plain)) << plain.name().toStdString();
            EXPECT_TRUE(RenderedImage::near(image.dominantColour(row(3)), plain, 2));
            EXPECT_TRUE(RenderedImage::bluish(image.dominantColour(row(1)))) << "the selected row";
            EXPECT_GT(image.distinctColours(row(0)), 20) << "the row's text";
            EXPECT_EQ(dark, background.lightness() < 128);
            // The hovered row offers its "→ Sticky" button in the accent.
            const auto accent = [](const QColor& c) { return c.blue() > 180 && c.red() < 140 && c.green() < 140; };
            const QRect hoveredEnd = row(2).adjusted(row(2).width() * 2 / 3, 0, 0, 0);
            EXPECT_GT(image.countPixels(hoveredEnd, accent), 100 * dpr * dpr);
            EXPECT_EQ(image.countPixels(row(0).adjusted(row(0).width() * 2 / 3, 0, 0, 0), accent), 0);
        }

        // Without rows the list area is the strip's own colour around a message.
        const QRect listArea(strip.list()->mapTo(&strip, QPoint(0, 0)), strip.list()->size());
        strip.searchField()->setText(QStringLiteral("nothing like this"));
        const RenderedImage noMatch(render(strip, 2));
        EXPECT_TRUE(noMatch.image().save(QStringLiteral("%1/strip-%2-nomatch@2x.png").arg(folder(), scheme)));
        const QColor listBackground = noMatch.dominantColour(listArea);
        EXPECT_EQ(dark, listBackground.lightness() < 128);
        EXPECT_GT(noMatch.distinctColours(listArea), 10) << "the message";
        monitor.setItems({});
        const RenderedImage empty(render(strip, 2));
        EXPECT_TRUE(empty.image().save(QStringLiteral("%1/strip-%2-empty@2x.png").arg(folder(), scheme)));
        EXPECT_TRUE(RenderedImage::near(empty.dominantColour(listArea), listBackground, 2));
        EXPECT_GT(empty.distinctColours(listArea), 10) << "the message";
        EXPECT_NE(empty.image(), noMatch.image());
        populate();
    }
}

} // namespace
} // namespace norvelle::test
