#include "sticky/PaperTheme.h"

#include "ui/HexColor.h"

namespace norvelle::PaperTheme {

bool isDarkPaperHexSRGB(const QString& hex)
{
    const std::optional<QColor> color = colorFromHex(hex);
    if (!color) {
        return false;
    }
    return 0.2126 * color->redF() + 0.7152 * color->greenF() + 0.0722 * color->blueF() < 0.5;
}

bool isDarkPaperHex(const QString& hex)
{
    const std::optional<QColor> color = colorFromHex(normalizePaperHex(hex));
    if (!color) {
        return false;
    }
    return 0.299 * color->redF() + 0.587 * color->greenF() + 0.114 * color->blueF() < 0.5;
}

bool paperFollowsThemeByDefault(const QString& storedPaper)
{
    const QString paper = normalizePaperHex(storedPaper.isNull() ? lightPaper : storedPaper);
    return paper == lightPaper || paper == deeperDarkPaper || paper == darkPaper;
}

QString effectivePaperHex(bool followsSystemTheme, const QString& paperHex, ColorScheme scheme)
{
    if (!followsSystemTheme) {
        return paperHex;
    }
    return scheme == ColorScheme::dark ? darkPaper : lightPaper;
}

} // namespace norvelle::PaperTheme
