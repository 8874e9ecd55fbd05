#pragma once

#include <QIcon>
#include <QString>

namespace norvelle {

// Icons by symbol name ("doc.on.clipboard"), drawn from the freedesktop icon theme. Adwaita
// stands in when the desktop names no theme, so an icon never comes out blank.
class Symbols {
public:
    // The icon for a symbol name such as "doc.on.clipboard"; a generic icon when the name is
    // not mapped.
    static QIcon icon(const QString& systemName);
    // The theme name the symbol maps to, or empty when it has none.
    static QString themeName(const QString& systemName);

private:
    static void ensureTheme();
};

} // namespace norvelle
