#include "platform/Symbols.h"

#include <QHash>
#include <QStandardPaths>

namespace norvelle {

namespace {

const QHash<QString, QString>& themeNames()
{
    static const QHash<QString, QString> names {
        {"doc.on.clipboard", "edit-paste-symbolic"},
        {"note.text", "accessories-text-editor-symbolic"},
        {"gearshape", "emblem-system-symbolic"},
        {"clipboard", "edit-paste-symbolic"},
        {"list.clipboard", "edit-paste-symbolic"},
        {"magnifyingglass", "edit-find-symbolic"},
        {"xmark.circle.fill", "edit-clear-symbolic"},
        {"hand.tap", "input-touchpad-symbolic"},
        {"clock", "document-open-recent-symbolic"},
        {"link", "web-browser-symbolic"},
        {"paintpalette", "color-select-symbolic"},
        {"folder", "folder-symbolic"},
        {"doc.text", "text-x-generic-symbolic"},
        {"note.text.badge.plus", "document-new-symbolic"},
        {"trash", "user-trash-symbolic"},
        {"slider.horizontal.3", "preferences-system-symbolic"},
        {"person.crop.circle", "avatar-default-symbolic"},
        {"arrow.triangle.2.circlepath", "emblem-synchronizing-symbolic"},
        {"keyboard", "input-keyboard-symbolic"},
        {"textformat", "preferences-desktop-font-symbolic"},
        {"hand.raised", "preferences-system-privacy-symbolic"},
        {"lock.shield", "security-high-symbolic"},
        {"internaldrive", "drive-harddisk-symbolic"},
        {"network", "network-workgroup-symbolic"},
        {"text.alignleft", "format-justify-left-symbolic"},
        {"photo", "image-x-generic-symbolic"},
        {"laptopcomputer", "computer-symbolic"},
        {"desktopcomputer", "computer-symbolic"},
        {"arrow.left.arrow.right", "emblem-synchronizing-symbolic"},
        {"trash.fill", "user-trash-full-symbolic"},
        {"star", "non-starred-symbolic"},
        {"star.fill", "starred-symbolic"},
        {"circle", "radio-symbolic"},
        {"checkmark.circle.fill", "emblem-ok-symbolic"},
        {"checkmark", "object-select-symbolic"},
        {"checkmark.seal.fill", "emblem-ok-symbolic"},
        {"exclamationmark.triangle.fill", "dialog-warning-symbolic"},
        {"square.grid.2x2", "view-grid-symbolic"},
        {"list.bullet", "view-list-symbolic"},
        {"archivebox", "package-x-generic-symbolic"},
        {"tray.2.fill", "drive-multidisk-symbolic"},
        {"folder.fill", "folder-symbolic"},
        {"folder.badge.plus", "folder-new-symbolic"},
        {"pin.fill", "view-pin-symbolic"},
        {"arrow.up.arrow.down.circle", "view-sort-descending-symbolic"},
        {"square.and.pencil", "document-edit-symbolic"},
        {"ellipsis.circle", "view-more-symbolic"},
        {"chevron.down", "pan-down-symbolic"},
        {"xmark", "window-close-symbolic"},
        {"person.crop.circle.badge.plus", "avatar-default-symbolic"},
    };
    return names;
}

constexpr auto fallbackIcon = "image-missing";

} // namespace

void Symbols::ensureTheme()
{
    static const bool installed = [] {
        // Without a desktop platform theme Qt looks only in its resources.
        QStringList paths = QIcon::themeSearchPaths();
        for (const QString& data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
            if (!paths.contains(data + "/icons")) {
                paths << data + "/icons";
            }
        }
        QIcon::setThemeSearchPaths(paths);
        if (QIcon::themeName().isEmpty() || QIcon::themeName() == "hicolor") {
            QIcon::setThemeName("Adwaita");
        }
        QIcon::setFallbackThemeName("Adwaita");
        return true;
    }();
    Q_UNUSED(installed);
}

QString Symbols::themeName(const QString& systemName)
{
    return themeNames().value(systemName);
}

QIcon Symbols::icon(const QString& systemName)
{
    ensureTheme();
    const QString name = themeName(systemName);
    if (!name.isEmpty()) {
        const QIcon icon = QIcon::fromTheme(name);
        if (!icon.isNull()) {
            return icon;
        }
    }
    return QIcon::fromTheme(fallbackIcon);
}

} // namespace norvelle
