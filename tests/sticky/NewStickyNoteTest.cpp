#include "sticky/NewStickyNote.h"
#include "core/AutomationHooking.h"
#include "core/SearchIndexService.h"
#include "platform/StoredSettings.h"
#include "platform/UserDefaults.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"
#include "support/RecordingTracker.h"
#include "support/TestHome.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace norvelle;

namespace {

class RecordingHooks : public AutomationHooking {
public:
    QList<QPair<QString, AutomationPayload>> triggered;
    void trigger(const QString& event, const AutomationPayload& payload) override { triggered.append({event, payload}); }
};

class NewStickyNoteTest : public testing::Test {
protected:
    PersistenceController store {true};
    ObjectContext& context = store.viewContext();
    test::RecordingTracker tracker;
    RecordingHooks hooks;
    SearchIndexService searchIndex;

    std::shared_ptr<StickyNote> create(const QString& text, ColorScheme scheme = ColorScheme::light)
    {
        return NewStickyNote::create(text, scheme, context, tracker, hooks, searchIndex);
    }
};

} // namespace

TEST_F(NewStickyNoteTest, IsSavedWithTheDefaultsOfANewNote)
{
    const auto note = create("\n\nBuy milk\nand bread");
    EXPECT_FALSE(context.hasChanges());
    ASSERT_TRUE(note->id().has_value());
    EXPECT_EQ(note->title(), "Buy milk");
    EXPECT_EQ(note->plainText(), "\n\nBuy milk\nand bread");
    EXPECT_EQ(note->paperColor(), "#FDFDF8");
    EXPECT_EQ(note->textureName(), "lined");
    EXPECT_TRUE(note->isWindowOpen());
    EXPECT_FALSE(note->isArchived());
    EXPECT_FALSE(note->isPinned());
    EXPECT_EQ(note->version(), 1);
    EXPECT_EQ(note->lastSyncedVersion(), 0);
    EXPECT_EQ(note->permissions(), "Private");
    EXPECT_TRUE(note->content().isEmpty());
    EXPECT_TRUE(note->workspaceId().isNull());
    EXPECT_TRUE(note->createdAt().isValid());
    EXPECT_LE(note->createdAt(), note->updatedAt());
}

TEST_F(NewStickyNoteTest, PaperFollowsTheAppearance)
{
    EXPECT_EQ(create("", ColorScheme::dark)->paperColor(), "#2C2C2E");
    EXPECT_EQ(create("", ColorScheme::light)->paperColor(), "#FDFDF8");

    UserDefaults::standard().set("norvelle.appearance", "dark");
    EXPECT_EQ(NewStickyNote::currentColorScheme(), ColorScheme::dark);
    UserDefaults::standard().set("norvelle.appearance", "light");
    EXPECT_EQ(NewStickyNote::currentColorScheme(), ColorScheme::light);
}

TEST_F(NewStickyNoteTest, TitleIsTheFirstNonEmptyLineOrUntitled)
{
    EXPECT_EQ(NewStickyNote::titleFor("\n\n first \nsecond"), " first ");
    EXPECT_EQ(NewStickyNote::titleFor(""), "Untitled");
    EXPECT_EQ(NewStickyNote::titleFor("\n\n\n"), "Untitled");
}

TEST_F(NewStickyNoteTest, FolderComesFromThePreferredSlugInLowerCase)
{
    EXPECT_EQ(NewStickyNote::folderFor(QString("Work Projects")), "work projects");
    EXPECT_EQ(NewStickyNote::folderFor(QString(" Inbox")), " inbox");
    for (const char* none : {"inbox", "INBOX", "All", "aLL", ""}) {
        EXPECT_EQ(NewStickyNote::folderFor(QString(none)), std::nullopt) << none;
    }
    EXPECT_EQ(NewStickyNote::folderFor(std::nullopt), std::nullopt);

    UserDefaults::standard().set(storedSettings::preferredNewNoteFolderSlug.key, "Reading");
    EXPECT_EQ(create("x")->workspaceId(), "reading");
    UserDefaults::standard().set(storedSettings::preferredNewNoteFolderSlug.key, "Inbox");
    EXPECT_TRUE(create("x")->workspaceId().isNull());
    // A setting of another type counts as none.
    UserDefaults::standard().set(storedSettings::preferredNewNoteFolderSlug.key, 42);
    EXPECT_TRUE(create("x")->workspaceId().isNull());
}

TEST_F(NewStickyNoteTest, IsRecordedAnnouncedAndIndexed)
{
    const auto note = create("Plan\nTrip to LYON");
    const QString id = note->id()->toString(QUuid::WithoutBraces).toUpper();
    EXPECT_TRUE(QRegularExpression("^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$").match(id).hasMatch());

    ASSERT_EQ(tracker.events().size(), 1);
    EXPECT_EQ(tracker.events()[0].first, "note_created");
    EXPECT_EQ(tracker.events()[0].second, AnalyticsMetadata({{"source", "menu_or_shortcut"}}));
    ASSERT_EQ(hooks.triggered.size(), 1);
    EXPECT_EQ(hooks.triggered[0].first, "note_created");
    EXPECT_EQ(hooks.triggered[0].second, AutomationPayload({{"title", "Plan"}, {"id", id}}));
    EXPECT_EQ(searchIndex.index.value(id), "plan\nplan\ntrip to lyon");

    const auto blank = create("");
    const QString blankID = blank->id()->toString(QUuid::WithoutBraces).toUpper();
    EXPECT_EQ(hooks.triggered[1].second.value("title"), "Untitled");
    EXPECT_EQ(searchIndex.index.value(blankID), "untitled\n");
}
