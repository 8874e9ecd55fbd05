#pragma once

#include <QString>

namespace norvelle {

// The symbol name a clip without a usable image is shown with, from the look of its text:
// "link", "paintpalette" (a short "#…" colour code), "folder" (a path) or "doc.text".
QString clipKindSymbol(const QString& text);

} // namespace norvelle
