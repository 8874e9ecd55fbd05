// What the light and dark looks draw, sampled from their palettes and from drawn controls.
#include "ui/SchemeColors.h"
#include "ui/SchemePalette.h"
#include "ui/TextContrast.h"
#include "ui/ThinControlStyle.h"

#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace norvelle;

namespace {

// The colour of the text pixel standing out most from the button's face.
QColor strongestInk(QWidget& widget)
{
    const QImage image = widget.grab().toImage();
    const QColor face = image.pixelColor(3, image.height() / 2);
    QColor strongest = face;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = image.width() / 4; x < image.width() * 3 / 4; ++x) {
            if (contrastRatio(image.pixelColor(x, y), face) > contrastRatio(strongest, face)) {
                strongest = image.pixelColor(x, y);
            }
        }
    }
    return strongest;
}

} // namespace

TEST(SchemeContrast, DisabledTextIsVisiblyDimmerInBothLooks)
{
    for (const ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
        const QPalette palette = schemePalette(scheme);
        const QColor window = palette.color(QPalette::Window);
        for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
            EXPECT_LT(contrastRatio(palette.color(QPalette::Disabled, role), window),
                contrastRatio(palette.color(QPalette::Active, role), window) / 2)
                << int(scheme) << " role " << int(role);
        }

        QWidget form;
        form.setPalette(palette);
        auto* layout = new QVBoxLayout(&form);
        auto* enabled = new QPushButton(QStringLiteral("Create"));
        auto* disabled = new QPushButton(QStringLiteral("Create"));
        disabled->setEnabled(false);
        layout->addWidget(enabled);
        layout->addWidget(disabled);
        form.show();
        const QColor face = form.grab().toImage().pixelColor(1, 1);
        EXPECT_LT(contrastRatio(strongestInk(*disabled), face), contrastRatio(strongestInk(*enabled), face) / 2)
            << "as drawn, scheme " << int(scheme);
    }
}

TEST(SchemeContrast, PlaceholdersReadInEveryLookAndOnADarkDesktop)
{
    for (const ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
        const QPalette palette = schemePalette(scheme);
        EXPECT_GE(contrastRatio(palette.color(QPalette::PlaceholderText), palette.color(QPalette::Base)),
            minimumPlaceholderContrast)
            << int(scheme);
        EXPECT_GE(contrastRatio(palette.color(QPalette::PlaceholderText), palette.color(QPalette::Window)),
            minimumPlaceholderContrast)
            << "a field drawn on the window, scheme " << int(scheme);
    }

    // A dark desktop that leaves the placeholder as Qt has it, dark grey at half strength; then
    // the desktop goes dark again after a light spell.
    const QPalette light = QApplication::palette();
    QPalette dark = light;
    dark.setColor(QPalette::Window, QColor(0x24, 0x24, 0x27));
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::Base, QColor(0x1C, 0x1C, 0x1E));
    dark.setColor(QPalette::Text, Qt::white);
    keepDesktopPlaceholdersReadable();
    for (const QPalette& desktop : {dark, light, dark}) {
        QApplication::setPalette(desktop);
        const QPalette given = QApplication::palette();
        for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
            EXPECT_GE(contrastRatio(given.color(group, QPalette::PlaceholderText), given.color(group, QPalette::Base)),
                minimumPlaceholderContrast);
        }
        EXPECT_EQ(given.color(QPalette::Base), desktop.color(QPalette::Base)) << "the rest stays the desktop's";
    }
    QApplication::setPalette(light);
}

TEST(SchemeContrast, AScrollBarHandleStandsOutFromItsTrackAsSecondaryTextDoes)
{
    for (const ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
        QScrollArea area;
        area.setPalette(schemePalette(scheme));
        area.setFrameShape(QFrame::NoFrame);
        useThinScrollBar(*area.verticalScrollBar());
        auto* content = new QWidget;
        content->setMinimumSize(100, 2000);
        area.setWidget(content);
        area.resize(200, 300);
        area.show();
        const QImage image = area.grab().toImage();
        const QScrollBar* bar = area.verticalScrollBar();
        const QPoint barOrigin = bar->mapTo(&area, QPoint(0, 0));
        const QColor handle = image.pixelColor(barOrigin + QPoint(bar->width() / 2, 20));
        const QColor track = image.pixelColor(barOrigin + QPoint(bar->width() / 2, bar->height() - 5));
        const QColor secondary = SchemeColors(area.palette()).secondaryText();
        EXPECT_GE(contrastRatio(handle, track), contrastRatio(secondary, track) - 0.1) << int(scheme);
    }
}
