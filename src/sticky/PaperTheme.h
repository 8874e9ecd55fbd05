#pragma once

#include "ui/ColorScheme.h"

#include <QString>

namespace norvelle {

// The colour rules of a sticky note's paper.
namespace PaperTheme {

inline const QString lightPaper = QStringLiteral("#FDFDF8");
inline const QString darkPaper = QStringLiteral("#2C2C2E");
// A further dark colour that counts as a theme colour when deciding whether a note follows it.
inline const QString deeperDarkPaper = QStringLiteral("#1C1C1E");

// sRGB relative luminance (plain components) below 0.5; the text is read as it stands (six
// digits after an optional "#"), anything else is light.
bool isDarkPaperHexSRGB(const QString& hex);
// Rec. 601 luma below 0.5, after normalising; unreadable is light. Styles the toolbar pill.
bool isDarkPaperHex(const QString& hex);
// Whether a note with this stored paper (absent = light paper) follows the desktop's theme
// when nothing is stored for it.
bool paperFollowsThemeByDefault(const QString& storedPaper);
// The paper shown: the theme's colour when following it, else the chosen one as stored.
QString effectivePaperHex(bool followsSystemTheme, const QString& paperHex, ColorScheme scheme);

} // namespace PaperTheme

} // namespace norvelle
