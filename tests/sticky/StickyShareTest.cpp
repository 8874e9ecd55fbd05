#include "account/ShareComposer.h"
#include "account/SyncCredentialStore.h"
#include "editor/RichTextEditor.h"
#include "editor/StickyTextView.h"
#include "platform/AppPaths.h"
#include "platform/Pasteboard.h"
#include "platform/ShareSheet.h"
#include "sticky/KeyablePanel.h"
#include "sticky/ShareAnchorButton.h"
#include "sticky/ShareCard.h"
#include "sticky/StickyContentView.h"
#include "sticky/StickyHeaderBar.h"
#include "sticky/StickyShareMenu.h"
#include "sticky/StickySharing.h"
#include "sticky/StickyToolbarPill.h"
#include "sticky/StickyWindowController.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"
#include "support/TestHome.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileInfo>
#include <QScrollBar>
#include <QSet>
#include <QTest>
#include <QTextCursor>
#include <QUuid>

#include <gtest/gtest.h>

using namespace norvelle;

namespace {

class StickyShareTest : public testing::Test {
protected:
    PersistenceController store {true};
    ObjectContext& context = store.viewContext();
    std::shared_ptr<StickyNote> note;
    std::unique_ptr<StickyWindowController> controller;

    void open(const QString& text, QSize size = QSize(280, 340))
    {
        note = StickyNote::insert(context);
        note->setId(QUuid::fromString(QStringLiteral("0a1b2c3d-4e5f-4a6b-8c7d-9e0f1a2b3c4d")));
        note->setPlainText(text);
        note->setPaperColor("#FFF3B0");
        note->setVersion(4);
        context.save();
        controller = std::make_unique<StickyWindowController>();
        controller->stickyID = note->objectID().uriString();
        controller->initWithNote(note);
        controller->panel()->resize(size);
        controller->showWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(controller->panel()));
    }

    template <typename Menu>
    static Menu* shownPopup()
    {
        Menu* menu = nullptr;
        test::waitUntil([&] {
            menu = qobject_cast<Menu*>(QApplication::activePopupWidget());
            return menu && menu->isVisible();
        });
        return menu;
    }

    // The user clicking the header's share button.
    StickyShareMenu* clickShareButton()
    {
        QTest::mouseClick(controller->contentView()->headerBar().shareButton(), Qt::LeftButton);
        return shownPopup<StickyShareMenu>();
    }

    static void click(QMenu* menu, QAction* action)
    {
        ASSERT_TRUE(action);
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
    }

    // "Share Note Text", then "Copy" in the share sheet.
    void copyNoteTextFromTheShareMenu()
    {
        StickyShareMenu* menu = clickShareButton();
        ASSERT_TRUE(menu);
        click(menu, menu->action("Share Note Text"));
        ShareSheet* sheet = shownPopup<ShareSheet>();
        ASSERT_TRUE(sheet);
        click(sheet, sheet->copyAction());
    }

    static int distinctColours(const QImage& image)
    {
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 7) {
            for (int x = 0; x < image.width(); x += 7) {
                colours.insert(image.pixel(x, y));
            }
        }
        return int(colours.size());
    }
};

QStringList titles(const QMenu& menu)
{
    QStringList titles;
    for (const QAction* action : menu.actions()) {
        titles << action->text() + (action->isEnabled() ? "" : " (disabled)");
    }
    return titles;
}

} // namespace

TEST_F(StickyShareTest, TheShareButtonOpensTheMenuBelowIt)
{
    open("Groceries\nmilk");
    StickyShareMenu* menu = clickShareButton();
    ASSERT_TRUE(menu);
    EXPECT_EQ(titles(*menu), QStringList({"Share Note Text", "Share RTF Document", "Share Sticky Card", "Copy Collaborative Link"}));
    const QWidget* button = controller->contentView()->headerBar().shareButton();
    EXPECT_GE(menu->geometry().top(), button->mapToGlobal(QPoint(0, button->height())).y());
    menu->close();
}

TEST_F(StickyShareTest, SharedTextIsCopiedFromTheShareMenu)
{
    open("  Groceries  \n\nmilk\neggs\n");
    copyNoteTextFromTheShareMenu();
    EXPECT_EQ(Pasteboard::general().string(), "Groceries\n\nmilk\neggs");
}

TEST_F(StickyShareTest, ADocumentIsOfferedAsAFileInThePrivateShareFolder)
{
    open("Plan: Q3!\nship it");
    StickyShareMenu* menu = clickShareButton();
    ASSERT_TRUE(menu);
    click(menu, menu->action("Share RTF Document"));
    ShareSheet* sheet = shownPopup<ShareSheet>();
    ASSERT_TRUE(sheet);
    EXPECT_TRUE(sheet->openAction()->isEnabled());
    sheet->close();
    const QList<ShareItem> items = controller->sharing().shareItems(ShareKind::richText);
    ASSERT_EQ(items.size(), 1);
    const QFileInfo document(std::get<QUrl>(items[0]).toLocalFile());
    EXPECT_EQ(document.absolutePath(), AppPaths::temporaryDirectory() + "/norvelle-shares");
    EXPECT_TRUE(document.fileName().startsWith("norvelle-plan-q3-"));
    EXPECT_TRUE(QFileInfo::exists(document.filePath() + "/TXT.rtf"));
}

TEST_F(StickyShareTest, BlankTextIsSharedAsUntitled)
{
    open("\n   \n\t\n");
    const QList<ShareItem> items = controller->sharing().shareItems(ShareKind::text);
    ASSERT_EQ(items.size(), 1);
    EXPECT_EQ(std::get<QString>(items[0]), "Untitled");
}

TEST_F(StickyShareTest, TheCardIsTheWindowBetweenHeaderAndToolbarAtFourTimesWithItsFooter)
{
    open("A card worth sharing\nwith a second line of text");
    ASSERT_EQ(controller->contentView()->size(), QSize(280, 340));
    const QImage card = controller->sharing().renderShareCardImage();
    EXPECT_EQ(card.size(), QSize(1120, 1008));
    // Paper, the text, the lines of the texture and the footer: far from one flat colour.
    EXPECT_GT(distinctColours(card), 20);
    EXPECT_EQ(card.pixelColor(40, 500).rgb(), QColor("#FFF3B0").rgb()) << "paper at the left edge";
    // The badge, blue, in the footer's bottom right corner.
    const QColor badge = card.pixelColor(1120 - 320 + 12 + 4, 1008 - 18 - 32);
    EXPECT_GT(badge.blue(), 200);
    EXPECT_LT(badge.red(), 60);

    const QList<ShareItem> items = controller->sharing().shareItems(ShareKind::card);
    ASSERT_EQ(items.size(), 1);
    QImage written;
    ASSERT_TRUE(written.load(std::get<QUrl>(items[0]).toLocalFile(), "PNG"));
    EXPECT_EQ(written.size(), QSize(1120, 1008));
}

TEST_F(StickyShareTest, TheCardLeavesOutTheScrollBar)
{
    QStringList lines;
    for (int line = 1; line <= 60; ++line)
        lines << QStringLiteral("line %1").arg(line);
    open(lines.join(u'\n'));
    QScrollBar* scrollBar = controller->editor()->textView().verticalScrollBar();
    ASSERT_TRUE(scrollBar->isVisible());
    const QImage card = controller->sharing().renderShareCardImage();
    EXPECT_TRUE(scrollBar->isVisible()) << "shown again after";
    // Down the right edge of the text, where the bar is drawn, the card shows what lies a little
    // further left: paper and its lines only.
    const QRect bar(scrollBar->mapTo(controller->contentView(), QPoint(0, 0)) * 4, scrollBar->size() * 4);
    int differing = 0;
    // Above the footer, which has a paler band of its own.
    for (int y = bar.top(); y <= bar.bottom() && y < card.height() * 3 / 4; y += 2) {
        const QColor there = card.pixelColor(bar.center().x(), y);
        const QColor left = card.pixelColor(bar.center().x() - 60, y);
        if (std::max({std::abs(there.red() - left.red()), std::abs(there.green() - left.green()), std::abs(there.blue() - left.blue())}) > 30)
            ++differing;
    }
    EXPECT_EQ(differing, 0);
}

TEST_F(StickyShareTest, TheCardLeavesOutASelectionAndKeepsItAndTheScrollForTheUser)
{
    QStringList lines;
    for (int line = 1; line <= 60; ++line)
        lines << QStringLiteral("line %1").arg(line);
    open(lines.join(u'\n'));
    StickyTextView& view = controller->editor()->textView();
    QTextCursor middle(view.document());
    middle.setPosition(QStringLiteral("line 1\nline 2\n").size());
    view.setTextCursor(middle);
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum() / 2);
    const int scrolled = view.verticalScrollBar()->value();
    const QImage plain = controller->sharing().renderShareCardImage();

    QTextCursor selected = middle;
    selected.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    view.setTextCursor(selected);
    view.verticalScrollBar()->setValue(scrolled);
    EXPECT_EQ(controller->sharing().renderShareCardImage(), plain);
    EXPECT_EQ(view.textCursor(), selected);
    EXPECT_EQ(view.verticalScrollBar()->value(), scrolled);
}

TEST(ShareCard, AViewNoTallerThanItsBarsGivesACardFourPixelsTall)
{
    QWidget view;
    view.resize(300, 80);
    const QImage card = ShareCard::render(&view, "#FFF3B0");
    EXPECT_EQ(card.size(), QSize(1200, 4));
}

TEST(ShareCard, WithoutAWindowTheCardIsPlainPaper)
{
    QWidget view;
    view.resize(1, 400);
    for (QWidget* content : {static_cast<QWidget*>(nullptr), &view}) {
        const QImage card = ShareCard::render(content, "#FFF3B0");
        EXPECT_EQ(card.size(), QSize(1200, 800));
        EXPECT_EQ(card.pixelColor(600, 400).rgb(), QColor("#FFF3B0").rgb());
    }
    EXPECT_EQ(ShareCard::render(nullptr, "not a colour").pixelColor(10, 10), QColor(Qt::white));
}

TEST_F(StickyShareTest, SignedOutTheLinkGoesToTheClipboardAndOntoTheNote)
{
    ASSERT_FALSE(SyncCredentialStore::shared().load());
    open("\n\n");
    StickyShareMenu* menu = clickShareButton();
    ASSERT_TRUE(menu);
    click(menu, menu->action("Copy Collaborative Link"));
    const QString link = "https://norvelle.app/share/0a1b2c3d-4e5f-4a6b-8c7d-9e0f1a2b3c4d";
    EXPECT_EQ(Pasteboard::general().string(), link);
    EXPECT_EQ(note->shareToken(), "0a1b2c3d-4e5f-4a6b-8c7d-9e0f1a2b3c4d");
    EXPECT_EQ(note->permissions(), "Can Edit");
    EXPECT_EQ(note->sharePreviewURL(), link);
    EXPECT_FALSE(context.hasChanges()) << "saved";
    EXPECT_EQ(note->version(), 4) << "a link is no edit";

    controller->sharing().copyCollaborativeLink();
    EXPECT_EQ(note->shareToken(), "0a1b2c3d-4e5f-4a6b-8c7d-9e0f1a2b3c4d");
}

TEST_F(StickyShareTest, ANoteWithoutAnIdGetsANewTokenEachTime)
{
    open("no id");
    note->setId(std::nullopt);
    controller->sharing().copyCollaborativeLink();
    const QString first = note->shareToken();
    controller->sharing().copyCollaborativeLink();
    EXPECT_NE(note->shareToken(), first);
    EXPECT_EQ(note->sharePreviewURL(), "https://norvelle.app/share/" + note->shareToken());
    EXPECT_EQ(Pasteboard::general().string(), note->sharePreviewURL());
}

TEST_F(StickyShareTest, SharedTextLeavesOutTheMarksThatHoldATable)
{
    open("Groceries\n");
    StickyTextView& view = controller->editor()->textView();
    view.moveCursor(QTextCursor::End);
    QTest::mouseClick(controller->toolbarPill()->findChild<QAbstractButton*>("table"), Qt::LeftButton);
    QTest::keyClicks(&view, "milk");
    QTest::keyClick(&view, Qt::Key_Tab);
    QTest::keyClicks(&view, "eggs");
    QCoreApplication::processEvents();
    ASSERT_TRUE(note->plainText().contains("milk\neggs"));

    copyNoteTextFromTheShareMenu();
    const QString shared = Pasteboard::general().string();
    EXPECT_FALSE(shared.contains(QChar(0x200B))) << shared.toStdString();
    EXPECT_TRUE(shared.startsWith("Groceries\n\nmilk\neggs")) << shared.toStdString();
}
