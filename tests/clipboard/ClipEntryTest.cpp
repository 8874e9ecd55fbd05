#include "clipboard/ClipEntry.h"
#include "clipboard/ClipboardMonitor.h"
#include "clipboard/ClipboardRetentionMode.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace norvelle;

namespace {

ClipEntry withText(const QString& text, std::optional<QByteArray> image = {})
{
    return {QUuid::createUuid(), text, image, image ? std::optional<QString>("image/png") : std::nullopt, "App",
        QDateTime::currentDateTimeUtc()};
}

} // namespace

TEST(ClipEntry, Titles)
{
    EXPECT_EQ(withText("").displayTitle(), "(empty)");
    EXPECT_EQ(withText(" \n").displayTitle(), "(empty)");
    EXPECT_EQ(withText("", QByteArray("png")).displayTitle(), "Image");
    EXPECT_EQ(withText("", QByteArray()).displayTitle(), "Image") << "present, even if empty";
    EXPECT_EQ(withText("  caption ", QByteArray("png")).displayTitle(), "caption");

    const QString long300 = QString(300, 'x');
    EXPECT_EQ(withText(long300).displayTitle(), QString(200, 'x'));
    EXPECT_EQ(withText(QString(200, 'y')).displayTitle(), QString(200, 'y'));
}

TEST(ClipEntry, TitlesCountUserPerceivedCharacters)
{
    const QString thumb = QString::fromUtf8("\U0001F44D\U0001F3FD"); // one character, four UTF-16 units
    QString thumbs;
    for (int i = 0; i < 300; ++i) {
        thumbs += thumb;
    }
    EXPECT_EQ(withText(thumbs).displayTitle(), thumbs.left(200 * thumb.size()));

    QString huge = QString(20'000'000, 'z');
    huge.prepend(thumbs);
    EXPECT_EQ(withText(huge).displayTitle(), thumbs.left(200 * thumb.size()));

    QString combining = "e";
    combining += QString(5000, QChar(0x0301)); // one character longer than any window
    combining += "tail";
    EXPECT_EQ(withText(combining).displayTitle(), combining);
}

TEST(ClipEntry, EqualityAndHashCoverEveryField)
{
    const ClipEntry entry = withText("t", QByteArray("i"));
    ClipEntry same = entry;
    EXPECT_EQ(entry, same);
    EXPECT_EQ(qHash(entry), qHash(same));
    QList<ClipEntry> variants(6, entry);
    variants[0].id = QUuid::createUuid();
    variants[1].text = "u";
    variants[2].imageData = std::nullopt;
    variants[3].imagePasteboardType = "image/tiff";
    variants[4].sourceApp = "Other";
    variants[5].createdAt = entry.createdAt.addSecs(1);
    QSet<ClipEntry> all {entry};
    for (const ClipEntry& variant : variants) {
        EXPECT_NE(variant, entry);
        all.insert(variant);
    }
    EXPECT_EQ(all.size(), 7);
}

TEST(ClipEntry, ContentKeys)
{
    EXPECT_EQ(ClipboardMonitor::contentKey(withText("  hi\n")), "txt:hi");
    EXPECT_EQ(ClipboardMonitor::contentKey(withText("hi", QByteArray("abc"))),
        "img:ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad|txt:hi");
}

TEST(ClipboardRetentionMode, CasesInOrderWithRawValuesAndLabels)
{
    QStringList raw, titles;
    for (const ClipboardRetentionMode mode : ClipboardRetentionMode::allCases()) {
        raw << mode.rawValue();
        titles << mode.title();
        EXPECT_EQ(ClipboardRetentionMode::fromRawValue(mode.rawValue()), mode);
    }
    EXPECT_EQ(raw, (QStringList {"session", "hours24", "days7", "days30"}));
    EXPECT_EQ(titles, (QStringList {"Until you quit Norvelle", "24 hours", "7 days", "30 days"}));
    EXPECT_EQ(ClipboardRetentionMode(ClipboardRetentionMode::days30).keepSeconds(), 2'592'000);
    EXPECT_FALSE(ClipboardRetentionMode(ClipboardRetentionMode::session).keepSeconds());
    EXPECT_FALSE(ClipboardRetentionMode::fromRawValue("Days7"));
    EXPECT_EQ(ClipboardRetentionMode::current(), ClipboardRetentionMode::days7);
}
