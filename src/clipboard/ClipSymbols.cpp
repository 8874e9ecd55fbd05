#include "clipboard/ClipSymbols.h"

#include <QHash>
#include <QIcon>
#include <QPainter>
#include <QStandardPaths>

namespace norvelle {

namespace {

QString themeName(const QString& symbolName)
{
    static const QHash<QString, QString> names = {
        {QStringLiteral("clipboard"), QStringLiteral("edit-paste-symbolic")},
        {QStringLiteral("list.clipboard"), QStringLiteral("edit-paste-symbolic")},
        {QStringLiteral("magnifyingglass"), QStringLiteral("edit-find-symbolic")},
        {QStringLiteral("xmark.circle.fill"), QStringLiteral("edit-clear-symbolic")},
        {QStringLiteral("hand.tap"), QStringLiteral("input-touchpad-symbolic")},
        {QStringLiteral("clock"), QStringLiteral("document-open-recent-symbolic")},
        {QStringLiteral("link"), QStringLiteral("web-browser-symbolic")},
        {QStringLiteral("paintpalette"), QStringLiteral("color-select-symbolic")},
        {QStringLiteral("folder"), QStringLiteral("folder-symbolic")},
        {QStringLiteral("doc.text"), QStringLiteral("text-x-generic-symbolic")},
        {QStringLiteral("note.text.badge.plus"), QStringLiteral("document-new-symbolic")},
        {QStringLiteral("doc.on.clipboard"), QStringLiteral("edit-copy-symbolic")},
        {QStringLiteral("trash"), QStringLiteral("user-trash-symbolic")},
    };
    return names.value(symbolName, symbolName);
}

QIcon themeIcon(const QString& symbolName)
{
    static const bool themed = [] {
        QStringList paths = QIcon::themeSearchPaths();
        for (const QString& data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
            paths << data + QStringLiteral("/icons");
        QIcon::setThemeSearchPaths(paths);
        if (QIcon::themeName().isEmpty())
            QIcon::setThemeName(QStringLiteral("Adwaita"));
        return true;
    }();
    Q_UNUSED(themed);
    return QIcon::fromTheme(themeName(symbolName));
}

} // namespace

QPixmap clipSymbol(const QString& symbolName, int size, const QColor& color, qreal dpr)
{
    static QHash<QString, QPixmap> cache;
    const QString key = QStringLiteral("%1|%2|%3|%4").arg(symbolName).arg(size).arg(
        color.name(QColor::HexArgb)).arg(dpr);
    if (const auto found = cache.constFind(key); found != cache.constEnd())
        return *found;

    // Symbolic theme icons are one-colour shapes: keep their coverage, repaint it in `color`.
    QPixmap pixmap = themeIcon(symbolName).pixmap(QSize(size, size), dpr);
    if (!pixmap.isNull()) {
        QPainter painter(&pixmap);
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(QRectF(QPointF(0, 0), pixmap.deviceIndependentSize()), color);
    }
    cache.insert(key, pixmap);
    return pixmap;
}

} // namespace norvelle
