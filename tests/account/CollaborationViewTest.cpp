// The share window over a real note store: the link it makes, copying it, invitations.
#include "CollaborationTestWindow.h"

#include "account/APIConfig.h"
#include "account/CollaborationView.h"
#include "objectstore/ObjectContext.h"
#include "platform/UserDefaults.h"
#include "support/FakePasteboard.h"
#include "support/TestHome.h"
#include "ui/TextContrast.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace norvelle::test {
namespace {

class Collaboration : public testing::Test, public CollaborationTestWindow {
protected:
    void click(const QString& name) { QTest::mouseClick(button(name), Qt::LeftButton); }

    // The note as stored, read by a second store on the same file.
    std::shared_ptr<StickyNote> storedNote()
    {
        m_reader = std::make_unique<PersistenceController>();
        return m_reader->viewContext().existingObject<StickyNote>(note->objectID().uriString());
    }

    void pick(const QString& permission)
    {
        auto* picker = child<QComboBox>("permission");
        picker->setCurrentIndex(picker->findText(permission));
    }

    FakePasteboard pasteboard;

private:
    std::unique_ptr<PersistenceController> m_reader;
};

TEST_F(Collaboration, OpeningMakesTheLinkFromTheNoteIdWithoutSavingIt)
{
    const QUuid id = QUuid::fromString(QStringLiteral("{6F9619FF-8B86-D011-B42D-00C04FC964FF}"));
    note->setId(id);
    note->setPermissions("Private");
    ASSERT_FALSE(store.viewContext().save());

    open(pasteboard);
    EXPECT_EQ(note->shareToken(), "6f9619ff-8b86-d011-b42d-00c04fc964ff");
    EXPECT_EQ(note->sharePreviewURL(), APIConfig::webOrigin() + "/share/6f9619ff-8b86-d011-b42d-00c04fc964ff");
    EXPECT_EQ(child<QLabel>("shareLink")->toolTip(), note->sharePreviewURL());
    EXPECT_EQ(label("teamRole"), "Private") << "the role shows the note's permissions until an invitation";
    EXPECT_TRUE(store.viewContext().hasChanges()) << "the link stays unsaved until a save";
    EXPECT_TRUE(storedNote()->shareToken().isEmpty());
    EXPECT_TRUE(tracker.events().isEmpty());
}

TEST_F(Collaboration, ANoteWithoutIdGetsARandomTokenAndAnExistingLinkIsKept)
{
    note->setSharePreviewURL("https://elsewhere.example/share/old");
    open(pasteboard);
    EXPECT_FALSE(QUuid::fromString(note->shareToken()).isNull());
    EXPECT_EQ(note->shareToken(), note->shareToken().toLower());
    EXPECT_EQ(note->sharePreviewURL(), "https://elsewhere.example/share/old");

    auto other = StickyNote::insert(store.viewContext());
    CollaborationView::ensureShareLink(*other);
    EXPECT_NE(other->shareToken(), note->shareToken());
}

TEST_F(Collaboration, CopyLinkPutsExactlyTheLinkOnThePasteboardForGood)
{
    pasteboard.setContents({{PasteboardType::png, "old image"}});
    open(pasteboard);
    EXPECT_EQ(button("copyLink")->text(), "Copy link");
    click("copyLink");
    EXPECT_EQ(pasteboard.types(), QStringList {PasteboardType::plainText});
    EXPECT_EQ(pasteboard.string(), note->sharePreviewURL());
    EXPECT_EQ(button("copyLink")->text(), "Copied");
    note->setTitle("changed");
    EXPECT_EQ(button("copyLink")->text(), "Copied");

    controller.reset();
    open(pasteboard);
    EXPECT_EQ(button("copyLink")->text(), "Copy link") << "a newly opened window starts afresh";
}

TEST_F(Collaboration, InvitingSavesTokenPermissionAndLinkAndRecordsTheEvent)
{
    note->setVersion(4);
    note->setPermissions("Private");
    open(pasteboard);
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-1);
    EXPECT_EQ(child<QComboBox>("permission")->currentText(), "Can Edit");
    click("invite");

    auto stored = storedNote();
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->shareToken(), note->shareToken());
    EXPECT_EQ(stored->sharePreviewURL(), APIConfig::shareLinkBase() + note->shareToken());
    EXPECT_EQ(stored->permissions(), "Can Edit");
    EXPECT_EQ(stored->version(), 5);
    EXPECT_GE(stored->updatedAt(), before);
    EXPECT_TRUE(stored->updatedBy().isEmpty()) << "an invitation leaves the author tag alone";
    EXPECT_EQ(label("teamRole"), "Can Edit");
    ASSERT_EQ(tracker.events().size(), 1);
    EXPECT_EQ(tracker.events().first(), RecordingTracker::Event("collaboration_invite_created", {{"permission", "can_edit"}}));
}

TEST_F(Collaboration, InvitingTwiceWithCanViewAndAnyAddressCountsTwice)
{
    open(pasteboard);
    QTest::keyClicks(child<QLineEdit>("inviteEmail"), "not an address");
    QTest::keyClick(child<QLineEdit>("inviteEmail"), Qt::Key_Return);
    EXPECT_TRUE(tracker.events().isEmpty()) << "Return in the field does nothing";
    pick("Can View");
    click("invite");
    click("invite");
    EXPECT_EQ(note->version(), 2);
    EXPECT_EQ(label("teamRole"), "Can View");
    EXPECT_EQ(child<QLineEdit>("inviteEmail")->text(), "not an address");
    ASSERT_EQ(tracker.events().size(), 2);
    EXPECT_EQ(tracker.events().last().second, AnalyticsMetadata({{"permission", "can_view"}}));
    EXPECT_EQ(storedNote()->permissions(), "Can View");
}

TEST_F(Collaboration, ADeletedNoteIsNeitherReadNorWritten)
{
    ASSERT_FALSE(store.viewContext().save());
    open(pasteboard);
    store.viewContext().deleteObject(note);
    ASSERT_FALSE(store.viewContext().save());
    EXPECT_EQ(label("shareLink"), "No link generated yet");
    click("copyLink");
    click("invite");
    EXPECT_EQ(button("copyLink")->text(), "Copy link");
    EXPECT_EQ(pasteboard.changeCount(), 100);
    EXPECT_TRUE(tracker.events().isEmpty());
}

TEST_F(Collaboration, TheWindowShowsItsTexts)
{
    open(pasteboard);
    QStringList texts;
    for (const QLabel* label : controller->window()->findChildren<QLabel*>()) {
        texts << label->text();
    }
    for (const char* text : {"Share this note", "Direct link", "People with access", "You", "Owner",
             "Product team", "Recent requests", "No pending requests"}) {
        EXPECT_TRUE(texts.contains(text)) << text;
    }
    EXPECT_EQ(child<QLineEdit>("inviteEmail")->placeholderText(), "Invite by email");
    EXPECT_EQ(button("invite")->text(), "Invite");
    auto* picker = child<QComboBox>("permission");
    EXPECT_EQ(picker->count(), 2);
    EXPECT_EQ(picker->itemText(0), "Can View");
    EXPECT_EQ(picker->itemText(1), "Can Edit");
    EXPECT_EQ(picker->width(), 120);
    EXPECT_EQ(controller->window()->windowTitle(), "Share & Collaborate");
    EXPECT_EQ(controller->window()->size(), QSize(420, 320));
}

// The window and its grey texts take the look chosen in Settings, and follow it when it changes.
TEST_F(Collaboration, TheWindowTakesTheChosenLookAndItsGreyTextsStayReadable)
{
    const auto luminance = [this](const QString& labelName) {
        const QWidget* window = controller->window();
        const QLabel* text = child<QLabel>(labelName);
        return std::pair(relativeLuminance(window->palette().color(QPalette::Window)),
            relativeLuminance(text->palette().color(text->foregroundRole())));
    };
    UserDefaults::standard().set("norvelle.appearance", "dark");
    open(pasteboard);
    auto [window, link] = luminance("shareLink");
    EXPECT_LT(window, 0.1);
    EXPECT_GT((link + 0.05) / (window + 0.05), 3.0);

    UserDefaults::standard().set("norvelle.appearance", "light");
    std::tie(window, link) = luminance("shareLink");
    EXPECT_GT(window, 0.6);
    EXPECT_GT((window + 0.05) / (link + 0.05), 3.0);
}

} // namespace
} // namespace norvelle::test
