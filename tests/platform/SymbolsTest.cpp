#include "platform/Symbols.h"

#include <gtest/gtest.h>

using namespace norvelle;

TEST(Symbols, TrayIconsComeFromTheThemeAndAreNeverBlank)
{
    for (const char* name : {"doc.on.clipboard", "note.text"}) {
        EXPECT_FALSE(Symbols::themeName(name).isEmpty()) << name;
        const QIcon icon = Symbols::icon(name);
        EXPECT_FALSE(icon.pixmap(22, 22).isNull()) << name;
    }
}

TEST(Symbols, UnknownNameStillGivesAnIcon)
{
    EXPECT_TRUE(Symbols::themeName("no.such.symbol").isEmpty());
    EXPECT_FALSE(Symbols::icon("no.such.symbol").pixmap(16, 16).isNull());
}
