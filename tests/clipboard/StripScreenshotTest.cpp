#include "ClipViewFixture.h"

#include "clipboard/ClipStripList.h"
#include "clipboard/ClipboardStripView.h"

#include <QDir>
#include <QLineEdit>
#include <QTest>

namespace norvelle::test {
namespace {

// Renders the strip with a few text and image clips in the light and dark scheme, at device-
// pixel ratios 1 and 2, into build/screenshots/ for review.
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
        QTest::keyClick(strip.searchField(), Qt::Key_Down);
        QTest::mouseMove(strip.list(), strip.list()->itemRect(2).center());
        QCoreApplication::processEvents();

        const QString scheme = dark ? QStringLiteral("dark") : QStringLiteral("light");
        for (const qreal dpr : {1.0, 2.0}) {
            const QImage image = render(strip, dpr);
            ASSERT_FALSE(image.isNull());
            EXPECT_TRUE(image.save(QStringLiteral("%1/strip-%2@%3x.png").arg(folder(), scheme).arg(dpr)));
        }

        strip.searchField()->setText(QStringLiteral("nothing like this"));
        EXPECT_TRUE(render(strip, 2).save(QStringLiteral("%1/strip-%2-nomatch@2x.png").arg(folder(), scheme)));
        monitor.setItems({});
        EXPECT_TRUE(render(strip, 2).save(QStringLiteral("%1/strip-%2-empty@2x.png").arg(folder(), scheme)));
        populate();
    }
}

} // namespace
} // namespace norvelle::test
