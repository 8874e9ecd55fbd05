#include "workspace/WorkspaceDetailColumn.h"

#include "WorkspaceApp.h"
#include "WorkspaceNotesFixture.h"
#include "account/APIConfig.h"
#include "account/SyncCredentialStore.h"
#include "clipboard/ClipboardMonitor.h"
#include "platform/Pasteboard.h"
#include "platform/ShareSheet.h"
#include "platform/UserDefaults.h"
#include "sticky/HeaderSymbolButton.h"
#include "sticky/StickyContentView.h"
#include "sticky/StickyHeaderBar.h"
#include "sticky/StickyWindowController.h"
#include "store/NoteTrashOperations.h"
#include "support/FakeAppDelegating.h"
#include "support/FakePasteboard.h"
#include "support/RenderedImage.h"
#include "support/TestHome.h"
#include "ui/BadgeLabel.h"
#include "ui/PlainButton.h"
#include "ui/SearchField.h"
#include "ui/TextLabel.h"
#include "workspace/NoteActions.h"
#include "workspace/NoteCard.h"
#include "workspace/NoteGridView.h"
#include "workspace/PinnedNotePreviewChip.h"
#include "workspace/WorkspaceBulkActions.h"
#include "workspace/WorkspaceBulkBar.h"
#include "workspace/WorkspaceEmptyState.h"
#include "workspace/WorkspaceFoldersStore.h"
#include "workspace/WorkspaceToolbar.h"
#include "workspace/WorkspaceView.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

using namespace norvelle;

namespace {

class WorkspaceDetailTest : public test::WorkspaceNotesFixture {
protected:
    WorkspaceView& view()
    {
        if (!m_view) {
            context().save();
            m_view = std::make_unique<WorkspaceView>(
                context(), m_folders, [] { return true; },
                [] { return std::optional<QString>(); });
            m_view->resize(1000, 700);
            m_view->show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(m_view.get()));
        }
        return *m_view;
    }
    WorkspaceDetailColumn& detail() { return *view().detailColumn(); }
    NoteGridView& grid() { return *detail().notesView(); }

    void settle()
    {
        index().applyPendingChanges();
        view().index().applyPendingChanges();
        QCoreApplication::processEvents();
    }

    QPoint centreOf(int index) { return grid().itemRect(index).center(); }

    QStringList menuTexts(int index)
    {
        QStringList texts;
        const std::unique_ptr<QMenu> menu = grid().contextMenu(index);
        for (QAction* action : menu->actions()) {
            texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
        }
        return texts;
    }

    void clickButton(QMessageBox* dialog, const QString& text)
    {
        for (QAbstractButton* button : dialog->buttons()) {
            if (button->text() == text) {
                QTest::mouseClick(button, Qt::LeftButton);
                return;
            }
        }
        ADD_FAILURE() << "no button " << text.toStdString();
    }

    test::WorkspaceApp m_app;
    WorkspaceFoldersStore m_folders;
    std::unique_ptr<WorkspaceView> m_view;
};

} // namespace

TEST_F(WorkspaceDetailTest, ClickSelectsOnlyInBulkModeAndDoubleClickOpens)
{
    add({.title = "first", .updatedMinute = 2});
    add({.title = "second", .updatedMinute = 1});
    view();
    QTest::mouseClick(grid().viewport(), Qt::LeftButton, {}, centreOf(0));
    EXPECT_TRUE(view().bulkSelectedIDs().isEmpty());
    QTest::mouseDClick(grid().viewport(), Qt::LeftButton, {}, centreOf(0));
    EXPECT_EQ(m_app.calls, QStringList({"openSticky:"}));

    view().setSelectingNotes(true);
    QTest::mouseClick(grid().viewport(), Qt::LeftButton, {}, centreOf(1));
    EXPECT_EQ(view().bulkSelectedIDs(), QSet<QString>({view().workspaceNoteList()[1]->identity()}));
    EXPECT_TRUE(grid().cellState(1).selected);
    QTest::mouseClick(grid().viewport(), Qt::LeftButton, {}, centreOf(1));
    EXPECT_TRUE(view().bulkSelectedIDs().isEmpty());
    EXPECT_EQ(m_app.calls.size(), 1) << "no opening in bulk mode";
    EXPECT_EQ(NoteCard::toolTip(grid().cellState(0)), "Click to select");
}

TEST_F(WorkspaceDetailTest, MenusDependOnSectionModeAndView)
{
    add({.title = "live", .updatedMinute = 2});
    add({.title = "gone", .updatedMinute = 1, .deletedMinute = 1});
    view();
    EXPECT_EQ(menuTexts(0), QStringList({"Open sticky", "Collaborate…", "Share Link", "Export .txt", "Pin", "-", "Move to Trash"}));
    view().setViewModeGrid(false);
    EXPECT_EQ(menuTexts(0), QStringList({"Open sticky", "-", "Move to Trash"}));
    view().setSelection(MainSection::trash);
    EXPECT_EQ(menuTexts(0), QStringList({"Restore to Library", "Delete Permanently…"}));
    EXPECT_EQ(NoteCard::toolTip(grid().cellState(0)), "Double-click to restore and open");
    view().setSelectingNotes(true);
    EXPECT_TRUE(menuTexts(0).isEmpty());
}

TEST_F(WorkspaceDetailTest, SignedOutTheCardCollaboratesAndCopiesItsLink)
{
    ASSERT_FALSE(SyncCredentialStore::shared().load());
    auto note = add({.title = "shared", .updatedMinute = 1});
    view();
    const auto trigger = [&](const QString& text) {
        const std::unique_ptr<QMenu> menu = grid().contextMenu(0);
        for (QAction* action : menu->actions()) {
            if (action->text() == text) {
                action->trigger();
            }
        }
    };
    trigger("Collaborate…");
    EXPECT_EQ(m_app.calls, QStringList({"openCollaboration:"}));
    trigger("Share Link");
    EXPECT_EQ(note->sharePreviewURL(), APIConfig::shareLinkBase() + note->id()->toString(QUuid::WithoutBraces).toLower());
    EXPECT_EQ(Pasteboard::general().string(), note->sharePreviewURL());
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        EXPECT_FALSE(qobject_cast<QMessageBox*>(widget) && widget->isVisible()) << "no notice in the way";
    }
}

TEST_F(WorkspaceDetailTest, TheCardCopiesOnlyAShareLinkOfItsOwn)
{
    auto note = add({.title = "shared", .updatedMinute = 1});
    view();
    const auto shareLink = [&] {
        const std::unique_ptr<QMenu> menu = grid().contextMenu(0);
        for (QAction* action : menu->actions()) {
            if (action->text() == "Share Link") {
                action->trigger();
            }
        }
    };
    for (const QString& stored : {QStringLiteral("javascript:alert(document.cookie)"), QStringLiteral("http://norvelle.app/share/x"),
             QStringLiteral("https://evil.example/share/x"), QStringLiteral("file:///home/user/.ssh/id_rsa")}) {
        Pasteboard::general().clearContents();
        Pasteboard::general().write({.data = {}, .string = "before"});
        note->setShareToken("x");
        note->setSharePreviewURL(stored);
        shareLink();
        EXPECT_EQ(Pasteboard::general().string(), "before") << stored.toStdString();
        // Said, so the user doesn't paste what the clipboard held before as the link.
        QMessageBox* notice = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) {
                notice = box;
            }
        }
        ASSERT_TRUE(notice) << stored.toStdString();
        EXPECT_EQ(notice->text(), "This note has no link to copy.");
        notice->close();
        settle();
    }
    note->setSharePreviewURL(APIConfig::shareLinkBase() + "x");
    shareLink();
    EXPECT_EQ(Pasteboard::general().string(), APIConfig::shareLinkBase() + "x");
}

TEST_F(WorkspaceDetailTest, APinFromTheCardShowsOnTheOpenStickyWhoseStarTakesItBack)
{
    auto note = add({.title = "groceries", .updatedMinute = 1});
    view();
    StickyWindowController sticky;
    sticky.stickyID = note->objectID().uriString();
    sticky.initWithNote(note);
    sticky.showWindow();
    HeaderSymbolButton& star = *sticky.contentView()->headerBar().pinButton();
    const auto choose = [&](const QString& text) {
        const std::unique_ptr<QMenu> menu = grid().contextMenu(0);
        for (QAction* action : menu->actions()) {
            if (action->text() == text) {
                action->trigger();
                return;
            }
        }
        ADD_FAILURE() << "no " << text.toStdString() << " in the card's menu";
    };

    choose("Pin");
    EXPECT_EQ(star.systemName(), "star.fill");
    const qint64 pinnedVersion = note->version();
    QTest::mouseClick(&star, Qt::LeftButton);
    EXPECT_FALSE(note->isPinned());
    EXPECT_EQ(star.systemName(), "star");
    EXPECT_EQ(note->version(), pinnedVersion + 1);
    settle();
    EXPECT_TRUE(menuTexts(0).contains("Pin"));

    // And back the other way: pinned on the sticky, unpinned on the card.
    QTest::mouseClick(&star, Qt::LeftButton);
    settle();
    choose("Unpin");
    EXPECT_FALSE(note->isPinned());
    EXPECT_EQ(star.systemName(), "star");
}

TEST_F(WorkspaceDetailTest, PinAndShareLinkRaiseTheVersionAndHandTheNoteToSync)
{
    auto note = add({.title = "shared", .updatedMinute = 1});
    context().save();
    const qint64 version = note->version();
    NoteActions::togglePin(*note);
    NoteActions::togglePin(*note);
    EXPECT_FALSE(note->isPinned());
    EXPECT_EQ(note->version(), version + 2);
    EXPECT_EQ(note->updatedBy(), "local-device");
    EXPECT_FALSE(context().hasChanges());

    test::FakePasteboard pasteboard;
    NoteActions::copyShareLink(*note, pasteboard);
    const QString token = note->id()->toString(QUuid::WithoutBraces).toLower();
    EXPECT_EQ(note->shareToken(), token);
    EXPECT_TRUE(note->sharePreviewURL().endsWith("/share/" + token));
    EXPECT_EQ(pasteboard.string(), note->sharePreviewURL());
    EXPECT_EQ(note->version(), version + 3);
    NoteActions::copyShareLink(*note, pasteboard);
    EXPECT_EQ(note->version(), version + 3) << "a second copy changes nothing";
}

TEST_F(WorkspaceDetailTest, PermanentDeleteAsksWithTheTitleInTypographicQuotes)
{
    auto note = add({.title = "say \"hi\"", .updatedMinute = 1, .deletedMinute = 1});
    view().setSelection(MainSection::trash);
    NoteActions::confirmPermanentDelete(note, &view());
    auto* dialog = view().findChild<QMessageBox*>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->text(), QString::fromUtf8("Permanently delete “say \"hi\"”?"));
    EXPECT_EQ(dialog->informativeText(), "This note will be removed from this computer and cannot be recovered.");
    clickButton(dialog, "Cancel");
    settle();
    EXPECT_EQ(view().trashCount(), 1);
    NoteActions::confirmPermanentDelete(note, &view());
    clickButton(view().findChild<QMessageBox*>(), "Delete Permanently");
    settle();
    EXPECT_EQ(view().trashCount(), 0);
}

TEST_F(WorkspaceDetailTest, EmptyTrashCountsAndDeletesOnlyTheListedNotes)
{
    for (int i = 0; i < 5; ++i) {
        add({.title = i < 2 ? QStringLiteral("match %1").arg(i) : QStringLiteral("other %1").arg(i), .updatedMinute = i, .deletedMinute = i});
    }
    view().setSelection(MainSection::trash);
    view().setSearchQuery("match");
    ASSERT_TRUE(detail().emptyTrashButton()->isVisible());
    QTest::mouseClick(detail().emptyTrashButton(), Qt::LeftButton);
    QMessageBox* dialog = detail().openConfirmation();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->text(), "Permanently delete all 2 notes in Trash?");
    EXPECT_EQ(dialog->informativeText(), "This cannot be undone.");
    clickButton(dialog, "Delete All");
    settle();
    EXPECT_FALSE(view().confirmEmptyTrash());
    EXPECT_EQ(view().trashCount(), 3);
    EXPECT_FALSE(detail().emptyTrashButton()->isVisible()) << "the search now matches nothing";
    EXPECT_EQ(WorkspaceBulkActions::emptyTrashTitle(1), "Permanently delete the note in Trash?");
    EXPECT_EQ(WorkspaceBulkActions::bulkDeleteTitle(1), "Permanently delete 1 note?");
}

TEST_F(WorkspaceDetailTest, ANoteTrashedWhileEmptyTrashAsksIsNotDeletedWithTheOthers)
{
    add({.title = "old", .updatedMinute = 1, .deletedMinute = 1});
    const auto later = add({.title = "open in its sticky", .updatedMinute = 2});
    view().setSelection(MainSection::trash);
    QTest::mouseClick(detail().emptyTrashButton(), Qt::LeftButton);
    QMessageBox* dialog = detail().openConfirmation();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->text(), "Permanently delete the note in Trash?");
    // The question stands in the dialog; the title bar, which a window manager cuts short, holds
    // only what fits.
    EXPECT_EQ(dialog->windowTitle(), "Empty Trash");

    // The sticky window of another note stays usable meanwhile: its note goes to the Trash.
    NoteTrashOperations::moveNoteToTrash(*later);
    settle();
    ASSERT_EQ(view().trashCount(), 2);
    clickButton(dialog, "Delete All");
    settle();
    EXPECT_EQ(titles(view().trashNotes()), QStringList({"open in its sticky"}));
}

TEST_F(WorkspaceDetailTest, BulkDeleteNamesTheNotesItWillDelete)
{
    add({.title = "a", .updatedMinute = 1, .deletedMinute = 1});
    add({.title = "b", .updatedMinute = 2, .deletedMinute = 2});
    view().setSelection(MainSection::trash);
    view().setSelectingNotes(true);
    WorkspaceBulkActions::selectAll(view());
    view().setBulkSelectedIDs(view().bulkSelectedIDs() + QSet<QString>({"x-norvelle://gone/StickyNote/p99"}));
    EXPECT_EQ(detail().bulkBar()->countLabel()->text(), "3 selected");
    QTest::mouseClick(detail().bulkBar()->deleteButton(), Qt::LeftButton);
    QMessageBox* dialog = detail().openConfirmation();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->text(), "Permanently delete 2 notes?");
    clickButton(dialog, "Delete Permanently");
    settle();
    EXPECT_EQ(view().trashCount(), 0);
    EXPECT_FALSE(view().isSelectingNotes());
    EXPECT_TRUE(view().bulkSelectedIDs().isEmpty());
}

TEST_F(WorkspaceDetailTest, BulkBarOffersTheSectionsActionsAndMovesNotes)
{
    auto first = add({.title = "first", .updatedMinute = 2, .workspaceId = "work"});
    auto second = add({.title = "second", .updatedMinute = 1, .workspaceId = "work"});
    context().save();
    m_folders.addFolder("R&D");
    const QString longName = QString("Quarterly planning ").repeated(27).trimmed();
    m_folders.addFolder(longName);
    first->setUpdatedBy("elsewhere");
    view().setSelectingNotes(true);
    WorkspaceBulkBar& bar = *detail().bulkBar();
    EXPECT_TRUE(bar.isVisible());
    EXPECT_EQ(bar.countLabel()->text(), "0 selected");
    for (PlainButton* button : {bar.moveButton(), bar.trashButton(), bar.shareButton()}) {
        EXPECT_FALSE(button->isEnabled());
    }
    EXPECT_TRUE(bar.selectAllButton()->isEnabled());
    EXPECT_FALSE(bar.restoreButton()->isVisible());
    QTest::mouseClick(bar.selectAllButton(), Qt::LeftButton);
    EXPECT_EQ(view().bulkSelectedIDs().size(), 2);
    QStringList folders;
    QTest::mouseClick(bar.moveButton(), Qt::LeftButton);
    for (QAction* action : bar.moveMenu()->actions()) {
        // As the menu shows it: an ampersand in a name is not taken for a shortcut mark.
        folders << action->iconText();
    }
    // A long name is cut, so the menu stays narrow and opens at its button rather than at the
    // screen's edge.
    const QRect menu = bar.moveMenu()->geometry();
    const QRect button(bar.moveButton()->mapToGlobal(QPoint()), bar.moveButton()->size());
    bar.moveMenu()->close();
    ASSERT_EQ(folders.size(), 6);
    EXPECT_TRUE(folders.last().startsWith("Quarterly planning Quarterly"));
    EXPECT_TRUE(folders.last().endsWith(u'…'));
    folders.removeLast();
    EXPECT_EQ(folders, QStringList({"Inbox", "Work", "Personal", "Ideas", "R&D"}));
    EXPECT_LE(menu.width(), 420);
    EXPECT_EQ(menu.top(), button.bottom() + 1);
    EXPECT_TRUE(menu.left() <= button.right() && menu.right() >= button.left()) << menu.left() << " " << button.left();
    const qint64 version = first->version();
    WorkspaceBulkActions::moveSelectedNotes(view(), "Inbox");
    EXPECT_TRUE(first->workspaceId().isNull());
    EXPECT_EQ(first->version(), version + 1);
    EXPECT_EQ(first->updatedBy(), "elsewhere");
    EXPECT_FALSE(view().isSelectingNotes());
    view().setSelectingNotes(true);
    WorkspaceBulkActions::selectAll(view());
    WorkspaceBulkActions::moveSelectedNotes(view(), "Ideas");
    EXPECT_EQ(second->workspaceId(), "ideas");
}

TEST_F(WorkspaceDetailTest, SharingOffersTheJoinedTitlesAndTextsInTheShareMenuAndKeepsSelection)
{
    add({.title = "A", .plainText = " x \n", .updatedMinute = 3});
    add({.title = "B", .plainText = "", .updatedMinute = 2});
    add({.title = "", .plainText = "", .updatedMinute = 1});
    view().setSelectingNotes(true);
    PlainButton* share = detail().bulkBar()->shareButton();
    QTest::mouseClick(share, Qt::LeftButton);
    EXPECT_EQ(detail().bulkBar()->findChild<ShareSheet*>(), nullptr) << "nothing selected, nothing to share";

    QTest::mouseClick(detail().bulkBar()->selectAllButton(), Qt::LeftButton);
    QTest::mouseClick(share, Qt::LeftButton);
    auto* sheet = detail().bulkBar()->findChild<ShareSheet*>();
    ASSERT_TRUE(sheet);
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_TRUE(sheet->copyAction()->isEnabled());
    EXPECT_FALSE(sheet->openAction()->isEnabled()) << "a text has no file to open";
    sheet->copyAction()->trigger();
    EXPECT_EQ(Pasteboard::general().string(), "A\n\nx\n\n---\n\nB\n\n---\n\nEmpty note");
    EXPECT_TRUE(view().isSelectingNotes());
}

TEST_F(WorkspaceDetailTest, EmptyStatesPerSectionAndSearch)
{
    using Texts = WorkspaceEmptyState::Texts;
    EXPECT_EQ(WorkspaceEmptyState::texts(MainSection::trash, "  "),
        (Texts {"trash", "Trash is empty", "Deleted notes appear here. Use Empty Trash to remove them permanently."}));
    EXPECT_EQ(WorkspaceEmptyState::texts(MainSection::trash, "x"),
        (Texts {"trash", "No matching notes", "Try another search or clear the search field."}));
    EXPECT_EQ(WorkspaceEmptyState::texts(MainSection::pinned, "x"),
        (Texts {"magnifyingglass", "No matching notes", "Try another search or clear the search field."}));
    EXPECT_EQ(WorkspaceEmptyState::texts(MainSection::all, ""),
        (Texts {"note.text", "No notes yet", "Create a note with the compose button in the top toolbar."}));
    EXPECT_EQ(WorkspaceEmptyState::texts(MainSection::recent, "").title, "No recent notes");
    EXPECT_EQ(WorkspaceEmptyState::texts(MainSection::archive, "").title, "Nothing in Archive");
    EXPECT_EQ(WorkspaceEmptyState::texts(MainSection::pinned, "").hint, "Notes you add will appear in this section.");

    view().setSelection(MainSection::archive);
    EXPECT_TRUE(detail().emptyState()->isVisible());
    EXPECT_EQ(detail().emptyState()->title(), "Nothing in Archive");
    EXPECT_EQ(detail().countBadge()->text(), "0");
    EXPECT_EQ(detail().titleLabel()->text(), "Archive");

    // The wrapped hint is shown whole, not cut after its first line.
    view().setSelection(MainSection::trash);
    QApplication::processEvents();
    auto* hint = detail().emptyState()->findChildren<QLabel*>().back();
    ASSERT_EQ(hint->text(), "Deleted notes appear here. Use Empty Trash to remove them permanently.");
    EXPECT_GE(hint->height(), hint->heightForWidth(hint->width()));
}

TEST_F(WorkspaceDetailTest, PinnedStripShowsFourChipsOnAllNotesOutsideSelection)
{
    for (int i = 0; i < 6; ++i) {
        add({.title = QStringLiteral("pinned %1").arg(i), .updatedMinute = 10 - i, .pinned = true});
    }
    view();
    EXPECT_TRUE(detail().pinnedStrip()->isVisible());
    auto chips = detail().pinnedStrip()->findChildren<PinnedNotePreviewChip*>();
    ASSERT_EQ(chips.size(), 4);
    QTest::mouseClick(chips.front(), Qt::LeftButton);
    EXPECT_EQ(m_app.calls, QStringList({"openSticky:"}));
    EXPECT_EQ(grid().count(), 6);
    view().setSelectingNotes(true);
    EXPECT_FALSE(detail().pinnedStrip()->isVisible());
    view().setSelection(MainSection::pinned);
    EXPECT_FALSE(detail().pinnedStrip()->isVisible());
}

TEST_F(WorkspaceDetailTest, ACardDrawnFromItsKeptLayoutShowsTheNoteAsItIsNow)
{
    auto note = add({.title = "Before", .plainText = "Before\nfirst words", .updatedMinute = 1});
    view();
    const QRect card = grid().itemRect(0);
    const QImage before = grid().viewport()->grab(card).toImage();
    EXPECT_EQ(grid().viewport()->grab(card).toImage(), before) << "a repaint draws the same card";

    note->setTitle("A much longer title that now wraps onto a second line");
    note->setPlainText("other words entirely");
    context().save();
    settle();
    const QImage after = grid().viewport()->grab(card).toImage();
    EXPECT_NE(after, before);

    grid().resize(card.width() + 150, grid().height());
    QCoreApplication::processEvents();
    const QRect wider = grid().itemRect(0);
    ASSERT_NE(wider.width(), card.width());
    const QRect titleArea(0, 0, card.width() - 30, 60);
    EXPECT_NE(grid().viewport()->grab(wider).toImage().copy(titleArea), after.copy(titleArea))
        << "a new width lays the words out again";
}

TEST_F(WorkspaceDetailTest, SelectionModeSwapsTheBarsWithoutWideningTheWindow)
{
    add({.title = "note", .updatedMinute = 1});
    const QSize size = view().size();
    QTest::mouseClick(view().findChild<WorkspaceToolbar*>()->selectButton(), Qt::LeftButton);
    ASSERT_TRUE(view().isSelectingNotes());
    EXPECT_TRUE(detail().bulkBar()->isVisible());
    EXPECT_EQ(view().size(), size);
    QTest::mouseClick(detail().bulkBar()->cancelButton(), Qt::LeftButton);
    EXPECT_FALSE(view().isSelectingNotes());
    EXPECT_EQ(view().size(), size);
}

TEST_F(WorkspaceDetailTest, ASearchOrASortTypedFarDownTheListShowsItsFirstNotes)
{
    for (int minute = 0; minute < 300; ++minute) {
        add({.title = QStringLiteral("note %1").arg(minute), .updatedMinute = minute});
    }
    view();
    QScrollBar& scroll = *grid().verticalScrollBar();
    scroll.setValue(scroll.maximum());
    ASSERT_GT(scroll.value(), 0);

    WorkspaceToolbar& toolbar = *view().findChild<WorkspaceToolbar*>();
    QTest::keyClicks(toolbar.searchField()->lineEdit(), "note 1");
    settle();
    ASSERT_GT(scroll.maximum(), 0) << "the matches fill more than the window";
    EXPECT_EQ(scroll.value(), 0);

    scroll.setValue(scroll.maximum());
    toolbar.sortMenu()->actions().constLast()->trigger();
    EXPECT_EQ(view().sortMode(), WorkspaceSortMode::title);
    EXPECT_EQ(scroll.value(), 0);
}

TEST_F(WorkspaceDetailTest, AListRowsPaperSwatchStandsOutOfTheRowInTheDarkLook)
{
    UserDefaults::standard().set("norvelle.appearance", "dark");
    add({.title = "charcoal", .updatedMinute = 1})->setPaperColor(QStringLiteral("#2C2C2E"));
    view().setViewModeGrid(false);
    settle();
    const QImage shot = grid().viewport()->grab().toImage();
    const QRect row = grid().itemRect(0);
    // The swatch is the 18-point circle after the row's 10 points of padding.
    const QPoint edge(row.left() + 10 + 9, row.top() + row.height() / 2 - 9);
    const QColor outline = shot.pixelColor(edge);
    const QColor around = shot.pixelColor(edge - QPoint(0, 3));
    EXPECT_GE(std::abs(outline.lightness() - around.lightness()), 40) << outline.name().toStdString() << " on "
                                                                      << around.name().toStdString();
}

TEST_F(WorkspaceDetailTest, GridAdaptsItsColumnsAndOnlyPaintsWhatIsInSight)
{
    for (int i = 0; i < 400; ++i) {
        add({.title = QStringLiteral("note %1").arg(i), .updatedMinute = i});
    }
    view();
    const int width = grid().viewport()->width();
    EXPECT_EQ(grid().columnCount(), std::max(1, (width - 2 * NoteGridView::padding + 10) / 210));
    const QRect first = grid().itemRect(0);
    EXPECT_GE(first.width(), 200);
    EXPECT_EQ(first.topLeft(), QPoint(14, 14));
    EXPECT_EQ(grid().itemRect(1).left(), first.right() + 1 + 10);
    EXPECT_EQ(grid().indexAt(first.center()), 0);
    EXPECT_EQ(grid().indexAt(first.bottomLeft() + QPoint(0, 5)), -1) << "the gap between rows";
    view().setViewModeGrid(false);
    EXPECT_EQ(grid().columnCount(), 1);
    EXPECT_EQ(grid().itemRect(1).top() - grid().itemRect(0).top(), 44 + 10);
}

TEST_F(WorkspaceDetailTest, ACardsTitleRunsClearOfItsStarAndOfTheBulkCheck)
{
    add({.title = "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW", .updatedMinute = 1, .pinned = true});
    view();
    const auto darkPixels = [this](const QRect& area) {
        const test::RenderedImage card(grid().viewport()->grab(grid().itemRect(0)).toImage());
        return card.countPixels(area, [](const QColor& colour) { return colour.lightness() < 150; });
    };
    const int width = grid().itemRect(0).width();
    // The star's capsule spans 28 to 6 points in from the right edge; its left end is all capsule.
    EXPECT_EQ(darkPixels(QRect(width - 28, 6, 5, 18)), 0) << "the title runs under the star";

    QTest::mouseClick(view().findChild<WorkspaceToolbar*>()->selectButton(), Qt::LeftButton);
    ASSERT_TRUE(grid().cellState(0).bulkMode);
    // Inside the check's ring, 10 to 28 points in from the top left corner.
    EXPECT_EQ(darkPixels(QRect(15, 15, 8, 8)), 0) << "the title runs under the bulk check";
}
