#include "account/ShareComposer.h"

#include "platform/AppPaths.h"
#include "rtf/RichTextCodec.h"
#include "support/FakePasteboard.h"
#include "support/RecordingTracker.h"
#include "support/TestHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace norvelle;

namespace {

const QUuid noteId = QUuid::fromString(QStringLiteral("6f1c2a3b-4d5e-4f60-8a7b-9c0d1e2f3a4b"));

NoteSnapshot snapshot(const QString& title, const QString& body, std::optional<QUuid> id = noteId)
{
    return {.id = id, .title = title, .body = body, .paperHex = QStringLiteral("#FFF3B0"), .version = 3};
}

class ShareComposerTest : public testing::Test {
protected:
    test::RecordingTracker tracker;
    test::FakePasteboard pasteboard;
    ShareComposer composer {tracker, pasteboard};

    QStringList events() const
    {
        QStringList names;
        for (const auto& [name, metadata] : tracker.events()) {
            names << name + ":" + metadata.value("noteId");
        }
        return names;
    }

    static QUrl onlyFile(const SharePayload& payload)
    {
        EXPECT_EQ(payload.items.size(), 1);
        const QUrl* file = payload.items.isEmpty() ? nullptr : std::get_if<QUrl>(&payload.items.first());
        EXPECT_TRUE(file);
        return file ? *file : QUrl();
    }

    static QImage paperCard()
    {
        QImage card(120, 80, QImage::Format_ARGB32);
        card.fill(QColor("#FFF3B0"));
        return card;
    }
};

} // namespace

TEST(ShareFileSlug, KeepsLettersAndDigitsAndJoinsTheRestWithOneHyphen)
{
    EXPECT_EQ(ShareComposer::fileSlug("Hello, World!"), "norvelle-hello-world");
    EXPECT_EQ(ShareComposer::fileSlug("Meeting Notes: Q3!"), "norvelle-meeting-notes-q3");
    EXPECT_EQ(ShareComposer::fileSlug("  --Hello--World--  "), "norvelle-hello-world");
    // An accented letter is no a–z letter: it separates.
    EXPECT_EQ(ShareComposer::fileSlug("Café au lait"), "norvelle-caf-au-lait");
    EXPECT_EQ(ShareComposer::fileSlug("Plan 2027"), "norvelle-plan-2027");
}

TEST(ShareFileSlug, NothingLeftGivesTheNoteSlug)
{
    for (const QString title : {"", "   ", "?!…", "Привет мир", "日本語", "٣٤٥"}) {
        EXPECT_EQ(ShareComposer::fileSlug(title), "norvelle-note") << title.toStdString();
    }
}

TEST(ShareFileSlug, CutsAfterFortyEightCharactersEvenOnAHyphen)
{
    EXPECT_EQ(ShareComposer::fileSlug(QString(60, 'a')), "norvelle-" + QString(48, 'a'));
    EXPECT_EQ(ShareComposer::fileSlug(QString(47, 'a') + " tail"), "norvelle-" + QString(47, 'a') + "-");
}

TEST_F(ShareComposerTest, TextIsTheTitleAndTheBodyAfterABlankLine)
{
    SharePayload shared = composer.compose(ShareKind::text, snapshot("Groceries", "milk\neggs"), {});
    ASSERT_EQ(shared.items.size(), 1);
    EXPECT_EQ(std::get<QString>(shared.items[0]), "Groceries\n\nmilk\neggs");
    EXPECT_FALSE(shared.generatedLink);

    shared = composer.compose(ShareKind::text, snapshot("Groceries", ""), {});
    EXPECT_EQ(std::get<QString>(shared.items[0]), "Groceries");
    // The event names the note by its upper-case UUID text.
    EXPECT_EQ(events(), QStringList({"share_note_text:6F1C2A3B-4D5E-4F60-8A7B-9C0D1E2F3A4B", "share_note_text:6F1C2A3B-4D5E-4F60-8A7B-9C0D1E2F3A4B"}));
}

TEST_F(ShareComposerTest, RichTextIsADocumentInThePrivateShareFolder)
{
    const QUrl file = onlyFile(composer.compose(ShareKind::richText, snapshot("Hello, World!", "first\nsecond"), {}));
    const QFileInfo document(file.toLocalFile());
    EXPECT_EQ(document.absolutePath(), AppPaths::temporaryDirectory() + "/norvelle-shares");
    EXPECT_TRUE(QRegularExpression("^norvelle-hello-world-[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}\\.rtfd$")
                    .match(document.fileName())
                    .hasMatch())
        << document.fileName().toStdString();
    EXPECT_EQ(QFileInfo(document.absolutePath()).permissions() & 0x0077, 0) << "readable by others";

    QFile rtf(document.filePath() + "/TXT.rtf");
    ASSERT_TRUE(rtf.open(QIODevice::ReadOnly));
    EXPECT_EQ(RichTextCodec::plainText(rtf.readAll()), "Hello, World!\n\nfirst\nsecond");
    EXPECT_EQ(events(), QStringList({"share_rtf:6F1C2A3B-4D5E-4F60-8A7B-9C0D1E2F3A4B"}));

    const QUrl titleOnly = onlyFile(composer.compose(ShareKind::richText, snapshot("Just a title", ""), {}));
    QFile titleRtf(titleOnly.toLocalFile() + "/TXT.rtf");
    ASSERT_TRUE(titleRtf.open(QIODevice::ReadOnly));
    EXPECT_EQ(RichTextCodec::plainText(titleRtf.readAll()), "Just a title");
}

TEST_F(ShareComposerTest, ADocumentThatCannotBeWrittenIsSharedAsText)
{
    // A file where the share folder should be: nothing can be written below it.
    QFile blocker(AppPaths::temporaryDirectory() + "/norvelle-shares");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const SharePayload shared = composer.compose(ShareKind::richText, snapshot("Hello", "body", std::nullopt), {});
    ASSERT_EQ(shared.items.size(), 1);
    EXPECT_EQ(std::get<QString>(shared.items[0]), "Hello\n\nbody");
    EXPECT_EQ(events(), QStringList({"share_note_text:unknown"}));
}

TEST_F(ShareComposerTest, EveryCardIsANewPngFile)
{
    int asked = 0;
    const auto card = [&] {
        ++asked;
        return paperCard();
    };
    const QUrl first = onlyFile(composer.compose(ShareKind::card, snapshot("Card", "body"), card));
    const QUrl second = onlyFile(composer.compose(ShareKind::card, snapshot("Card", "body"), card));
    EXPECT_EQ(asked, 2);
    EXPECT_NE(first, second);
    const QFileInfo file(first.toLocalFile());
    EXPECT_EQ(file.absolutePath(), AppPaths::temporaryDirectory() + "/norvelle-shares");
    EXPECT_TRUE(QRegularExpression("^norvelle-share-[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}\\.png$")
                    .match(file.fileName())
                    .hasMatch())
        << file.fileName().toStdString();
    QImage written;
    ASSERT_TRUE(written.load(first.toLocalFile(), "PNG"));
    EXPECT_EQ(written.size(), QSize(120, 80));
    EXPECT_EQ(written.pixelColor(60, 40), QColor("#FFF3B0"));
    EXPECT_EQ(events(), QStringList({"share_card:6F1C2A3B-4D5E-4F60-8A7B-9C0D1E2F3A4B", "share_card:6F1C2A3B-4D5E-4F60-8A7B-9C0D1E2F3A4B"}));
}

TEST_F(ShareComposerTest, ACardThatCannotBeWrittenIsSharedAsTheImageWithoutAnEvent)
{
    QFile blocker(AppPaths::temporaryDirectory() + "/norvelle-shares");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const SharePayload shared = composer.compose(ShareKind::card, snapshot("Card", ""), paperCard);
    ASSERT_EQ(shared.items.size(), 1);
    EXPECT_EQ(std::get<QImage>(shared.items[0]).size(), QSize(120, 80));
    EXPECT_TRUE(events().isEmpty());
}

TEST_F(ShareComposerTest, ACardWhoseWindowHasGoneIsBlank)
{
    const QUrl file = onlyFile(composer.composeForSticky(ShareKind::card, snapshot("Card", ""), [] { return std::nullopt; }));
    QImage written;
    ASSERT_TRUE(written.load(file.toLocalFile(), "PNG"));
    EXPECT_EQ(written.size(), QSize(400, 300));
    EXPECT_EQ(written.pixelColor(200, 150).alpha(), 0);
}

TEST_F(ShareComposerTest, TheLinkIsTheLowerCaseIdOnTheClipboard)
{
    const SharePayload shared = composer.compose(ShareKind::collaborationLink, snapshot("", "body"), {});
    EXPECT_TRUE(shared.items.isEmpty());
    ASSERT_TRUE(shared.generatedLink);
    EXPECT_EQ(shared.generatedLink->toString(), "https://norvelle.app/share/6f1c2a3b-4d5e-4f60-8a7b-9c0d1e2f3a4b");
    EXPECT_EQ(pasteboard.string(), shared.generatedLink->toString());
    EXPECT_EQ(events(), QStringList({"share_collab_link:6F1C2A3B-4D5E-4F60-8A7B-9C0D1E2F3A4B"}));
    // The same note, the same link.
    EXPECT_EQ(composer.compose(ShareKind::collaborationLink, snapshot("", "body"), {}).generatedLink, shared.generatedLink);
}

TEST_F(ShareComposerTest, ANoteWithoutAnIdGetsANewLinkEachTimeAndAnUnknownEvent)
{
    const auto first = composer.compose(ShareKind::collaborationLink, snapshot("T", "", std::nullopt), {}).generatedLink;
    const auto second = composer.compose(ShareKind::collaborationLink, snapshot("T", "", std::nullopt), {}).generatedLink;
    ASSERT_TRUE(first && second);
    EXPECT_NE(*first, *second);
    EXPECT_TRUE(QRegularExpression("^https://norvelle.app/share/[0-9a-f]{8}(-[0-9a-f]{4}){3}-[0-9a-f]{12}$")
                    .match(second->toString())
                    .hasMatch());
    EXPECT_EQ(pasteboard.string(), second->toString());
    EXPECT_EQ(events(), QStringList({"share_collab_link:unknown", "share_collab_link:unknown"}));
}
