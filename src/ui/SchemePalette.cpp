#include "ui/SchemePalette.h"

#include "platform/StoredSettings.h"
#include "platform/UserDefaults.h"
#include "ui/NorvelleAppearancePreference.h"
#include "ui/TextContrast.h"

#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <QPointer>
#include <QWidget>

namespace norvelle {

namespace {

QPalette darkPalette()
{
    QPalette palette;
    const QColor window(0x2B, 0x2B, 0x2E);
    const QColor base(0x1E, 0x1E, 0x21);
    const QColor text(0xEE, 0xEE, 0xF0);
    const QColor disabledText(0x7A, 0x7A, 0x80);
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, window);
    palette.setColor(QPalette::ToolTipBase, window);
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::PlaceholderText, QColor(0x8A, 0x8A, 0x90));
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, QColor(0x3A, 0x3A, 0x3E));
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::BrightText, Qt::white);
    palette.setColor(QPalette::Light, QColor(0x4A, 0x4A, 0x50));
    palette.setColor(QPalette::Midlight, QColor(0x40, 0x40, 0x45));
    palette.setColor(QPalette::Mid, QColor(0x30, 0x30, 0x33));
    palette.setColor(QPalette::Dark, QColor(0x18, 0x18, 0x1A));
    palette.setColor(QPalette::Shadow, Qt::black);
    palette.setColor(QPalette::Highlight, QColor(0x0A, 0x84, 0xFF));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Link, QColor(0x4C, 0xA8, 0xFF));
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        palette.setColor(QPalette::Disabled, role, disabledText);
    }
    return palette;
}

QPalette lightPalette()
{
    QPalette palette(QColor(0xEC, 0xEC, 0xEC), QColor(0xF6, 0xF6, 0xF6));
    const QColor text(0x1D, 0x1D, 0x1F);
    const QColor disabledText(0x9E, 0x9E, 0xA3);
    palette.setColor(QPalette::Window, QColor(0xEC, 0xEC, 0xEC));
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::PlaceholderText, QColor(0x7C, 0x7C, 0x82));
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::Highlight, QColor(0x00, 0x7A, 0xFF));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    // Set after the roles above, which set every state alike.
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        palette.setColor(QPalette::Disabled, role, disabledText);
    }
    return palette;
}

// A desktop palette may leave the placeholder at Qt's default, dark grey at half strength,
// which all but vanishes on a dark field: it becomes the text colour at the least strength that
// still reads.
QPalette withReadablePlaceholder(QPalette palette)
{
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const QColor base = palette.color(group, QPalette::Base);
        if (contrastRatio(palette.color(group, QPalette::PlaceholderText), base) >= minimumPlaceholderContrast) {
            continue;
        }
        QColor placeholder = palette.color(group, QPalette::Text);
        for (float opacity = 0.5f; opacity < 1.0f; opacity += 0.05f) {
            placeholder.setAlphaF(opacity);
            if (contrastRatio(placeholder, base) >= minimumPlaceholderContrast) {
                break;
            }
        }
        palette.setColor(group, QPalette::PlaceholderText, placeholder);
    }
    return palette;
}

// Keeps the application palette's placeholders readable whenever the desktop changes it.
class DesktopPlaceholders : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == qApp && event->type() == QEvent::ApplicationPaletteChange) {
            makeReadable();
        }
        return false;
    }

public:
    static void makeReadable()
    {
        const QPalette readable = withReadablePlaceholder(QApplication::palette());
        if (readable != QApplication::palette()) {
            QApplication::setPalette(readable);
        }
    }
};

constexpr const char* menusFollowAppearanceKey = "norvelle.menusFollowAppearance";

QPalette storedAppearancePalette()
{
    const std::optional<ColorScheme> scheme = appearance::colorScheme(appearance::stored());
    return scheme ? schemePalette(*scheme) : QApplication::palette();
}

void takePaletteOf(QWidget& window, const QWidget& source)
{
    // Every role as the window's own: an inherited one would resolve to the desktop's.
    // The parts too: a picker's list resolves what it inherits against the menu palette.
    QPalette palette = source.palette();
    palette.setResolveMask(~QPalette::ResolveMask(0));
    window.setPalette(palette);
    for (QWidget* part : window.findChildren<QWidget*>()) {
        part->setPalette(palette);
    }
}

// Gives every menu, as it opens, the palette of the widget it (or the menu holding it) was opened
// from, where Qt would draw it in the desktop's scheme.
class MenusFollowTheirWidget : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* menu = qobject_cast<QMenu*>(watched);
        if (!menu || event->type() != QEvent::Show) {
            return false;
        }
        QWidget* source = menu->parentWidget();
        while (qobject_cast<QMenu*>(source)) {
            source = source->parentWidget();
        }
        if (source && source->window()->property(menusFollowAppearanceKey).toBool()) {
            menu->setPalette(storedAppearancePalette());
        } else if (source) {
            takePaletteOf(*menu, *source);
        }
        return false;
    }
};

void applyStoredAppearance(QWidget& window)
{
    window.setPalette(storedAppearancePalette());
}

void installMenusFilter()
{
    static const auto* menus = [] {
        auto* filter = new MenusFollowTheirWidget(qApp);
        qApp->installEventFilter(filter);
        return filter;
    }();
    Q_UNUSED(menus);
}

} // namespace

QPalette schemePalette(ColorScheme scheme)
{
    return scheme == ColorScheme::dark ? darkPalette() : lightPalette();
}

ColorScheme schemeOf(const QPalette& palette)
{
    return palette.color(QPalette::Window).lightnessF() < 0.5 ? ColorScheme::dark : ColorScheme::light;
}

void keepDesktopPlaceholdersReadable()
{
    static const auto* filter = [] {
        auto* placeholders = new DesktopPlaceholders(qApp);
        qApp->installEventFilter(placeholders);
        return placeholders;
    }();
    Q_UNUSED(filter);
    DesktopPlaceholders::makeReadable();
}

void followAppearancePreference(QWidget& window)
{
    installMenusFilter();
    applyStoredAppearance(window);
    QObject::connect(&UserDefaults::standard(), &UserDefaults::changed, &window,
        [target = QPointer<QWidget>(&window)](const QString& key) {
            if (target && key == storedSettings::appearance.key) {
                applyStoredAppearance(*target);
            }
        });
}

void menusFollowAppearancePreference(QWidget& window)
{
    installMenusFilter();
    window.setProperty(menusFollowAppearanceKey, true);
}

namespace {

// Gives a window the palette of the view it was opened from each time it is shown (before it
// is mapped). Qt would give it the desktop's, and a picker's list the palette of a fresh menu.
class SchemeOnShow : public QObject {
public:
    SchemeOnShow(QWidget& window, QWidget& source)
        : QObject(&window)
        , m_source(&source)
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* window = qobject_cast<QWidget*>(parent());
        if (!m_source) {
            return false;
        }
        const bool showing = watched == window && event->type() == QEvent::Show;
        const bool sourceChanged = watched == m_source && event->type() == QEvent::PaletteChange && window->isVisible();
        if (showing || sourceChanged) {
            takePaletteOf(*window, *m_source);
        }
        return false;
    }

private:
    QPointer<QWidget> m_source;
};

} // namespace

void followSchemeOf(QWidget& window, QWidget& source)
{
    auto* follower = new SchemeOnShow(window, source);
    window.installEventFilter(follower);
    source.installEventFilter(follower);
}

namespace {

constexpr const char* themedWindowKey = "norvelle.themedWindow";

bool takesStoredAppearance(const QWidget& window)
{
    if (!window.isWindow() || qobject_cast<const QMenu*>(&window) || window.windowType() == Qt::ToolTip
        || window.windowType() == Qt::Desktop || window.property(menusFollowAppearanceKey).toBool()) {
        return false;
    }
    return !window.testAttribute(Qt::WA_SetPalette) || window.property(themedWindowKey).toBool();
}

void giveStoredAppearance(QWidget& window)
{
    window.setProperty(themedWindowKey, true);
    const std::optional<ColorScheme> scheme = appearance::colorScheme(appearance::stored());
    // "System": no palette of its own, so the window goes on following the desktop's.
    window.setPalette(scheme ? schemePalette(*scheme) : QPalette());
}

class WindowsFollowAppearance : public QObject {
public:
    explicit WindowsFollowAppearance(QObject* parent)
        : QObject(parent)
    {
        connect(&UserDefaults::standard(), &UserDefaults::changed, this, [](const QString& key) {
            if (key != storedSettings::appearance.key) {
                return;
            }
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (takesStoredAppearance(*window)) {
                    giveStoredAppearance(*window);
                }
            }
        });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto* window = static_cast<QWidget*>(watched);
            if (takesStoredAppearance(*window)) {
                giveStoredAppearance(*window);
            }
        }
        return false;
    }
};

} // namespace

void windowsFollowAppearancePreference()
{
    static const auto* windows = [] {
        auto* filter = new WindowsFollowAppearance(qApp);
        qApp->installEventFilter(filter);
        return filter;
    }();
    Q_UNUSED(windows);
}

} // namespace norvelle
