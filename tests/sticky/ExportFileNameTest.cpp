#include "sticky/ExportFileName.h"

#include <gtest/gtest.h>

using namespace norvelle;

TEST(ExportFileName, TitleOrFallback)
{
    EXPECT_EQ(ExportFileName::suggested(QString("Groceries")), "Groceries.txt");
    EXPECT_EQ(ExportFileName::suggested(std::nullopt), "norvelle-note.txt");
    EXPECT_EQ(ExportFileName::suggested(QString("")), ".txt");
}

TEST(ExportFileName, CannotLeaveTheChosenFolder)
{
    EXPECT_EQ(ExportFileName::suggested(QString("../../etc/passwd")), "..-..-etc-passwd.txt");
    EXPECT_EQ(ExportFileName::suggested(QString::fromUtf16(u"a\0b", 3)), "a-b.txt");
}

TEST(ExportFileName, ALongTitleIsCutBetweenCharactersToFitTheNameLimit)
{
    const QString ascii(400, u'x');
    EXPECT_EQ(ExportFileName::suggested(ascii), QString(251, u'x') + ".txt");

    // Three bytes each: 83 fit in 251 bytes, the 84th would cross the limit.
    const QString kanji = QString(100, QChar(0x65E5));
    const QString cut = ExportFileName::suggested(kanji);
    EXPECT_EQ(cut, QString(83, QChar(0x65E5)) + ".txt");

    // An "e" with a combining accent is one character of three bytes and is never split.
    QString accented;
    for (int i = 0; i < 100; ++i) {
        accented += QString::fromUtf8("e\xCC\x81");
    }
    const QString name = ExportFileName::suggested(accented);
    EXPECT_LE(name.toUtf8().size(), 255);
    EXPECT_EQ(name.toUtf8().size(), 83 * 3 + 4);
    EXPECT_TRUE(name.startsWith(QString::fromUtf8("e\xCC\x81")));
    EXPECT_EQ(name.chopped(4).size() % 2, 0);

    // Emoji made of surrogate pairs.
    const QString emoji = QString::fromUtf8("🍎").repeated(100);
    const QString apples = ExportFileName::suggested(emoji);
    EXPECT_EQ(apples, QString::fromUtf8("🍎").repeated(62) + ".txt");
}
