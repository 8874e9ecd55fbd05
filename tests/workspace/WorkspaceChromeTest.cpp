#include "workspace/WorkspaceSidebar.h"

#include "WorkspaceApp.h"
#include "WorkspaceNotesFixture.h"
#include "clipboard/ClipboardHistoryPane.h"
#include "clipboard/ClipboardMonitor.h"
#include "platform/NotificationCenter.h"
#include "platform/StoredSettings.h"
#include "platform/UserDefaults.h"
#include "support/FakeAppDelegating.h"
#include "support/FakePasteboard.h"
#include "support/TestHome.h"
#include "ui/BadgeLabel.h"
#include "ui/PlainButton.h"
#include "ui/SchemePalette.h"
#include "ui/SearchField.h"
#include "ui/TextLabel.h"
#include "workspace/LaunchAtLoginBanner.h"
#include "workspace/NewFolderSheet.h"
#include "workspace/SidebarRow.h"
#include "workspace/WorkspaceBulkBar.h"
#include "workspace/WorkspaceDetailColumn.h"
#include "workspace/WorkspaceFoldersStore.h"
#include "workspace/WorkspaceProfileFooter.h"
#include "workspace/WorkspaceToolbar.h"
#include "workspace/WorkspaceView.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>

using namespace norvelle;

namespace {

class WorkspaceChromeTest : public test::WorkspaceNotesFixture {
protected:
    WorkspaceView& view()
    {
        if (!m_view) {
            context().save();
            m_view = std::make_unique<WorkspaceView>(
                context(), m_folders, [] { return false; }, [this] {
                ++m_registrations;
                return std::optional<QString>(QStringLiteral("no autostart folder")); });
            m_view->resize(1100, 680);
            m_view->show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(m_view.get()));
        }
        return *m_view;
    }
    WorkspaceSidebar& sidebar() { return *view().sidebar(); }
    WorkspaceToolbar& toolbar() { return *view().findChild<WorkspaceToolbar*>(); }

    QStringList texts(QMenu* menu)
    {
        QStringList result;
        for (QAction* action : menu->actions()) {
            // As the menu shows it, shortcut marks taken out.
            result << (action->isSeparator() ? QStringLiteral("-") : action->iconText() + (action->isChecked() ? "*" : ""));
        }
        return result;
    }

    test::WorkspaceApp m_app;
    WorkspaceFoldersStore m_folders;
    std::unique_ptr<WorkspaceView> m_view;
    int m_registrations = 0;
};

} // namespace

TEST_F(WorkspaceChromeTest, SectionCountsIgnoreFolderAndSearch)
{
    add({.title = "pinned", .updatedMinute = 1, .pinned = true, .workspaceId = "work"});
    add({.title = "archived", .updatedMinute = 2, .archived = true});
    add({.title = "trashed", .updatedMinute = 3, .deletedMinute = 3});
    view().setSelectedFolderSlug("ideas");
    view().setSearchQuery("nothing like it");
    EXPECT_EQ(sidebar().sectionCount(MainSection::all), "2");
    EXPECT_EQ(sidebar().sectionCount(MainSection::pinned), "1");
    EXPECT_EQ(sidebar().sectionCount(MainSection::archive), "1");
    EXPECT_EQ(sidebar().sectionCount(MainSection::trash), "1");
    EXPECT_EQ(sidebar().sectionCount(MainSection::recent), std::nullopt);
    EXPECT_EQ(sidebar().folderNoteCount("work"), 1);
    EXPECT_EQ(sidebar().folderNoteCount("inbox"), 1);
    EXPECT_EQ(sidebar().folderRow("ideas")->look().badge, "0");
    EXPECT_EQ(sidebar().folderRow("work")->look().badge, "");
}

TEST_F(WorkspaceChromeTest, SectionRowsAndTheClipboardEntrySwapTheDetail)
{
    add({.title = "note", .updatedMinute = 1});
    view().setSelection(MainSection::trash);
    QTest::mouseClick(sidebar().clipboardRow(), Qt::LeftButton);
    EXPECT_TRUE(view().showClipboardHistory());
    EXPECT_EQ(view().currentDetail(), view().clipboardPane());
    EXPECT_FALSE(sidebar().sectionRow(MainSection::trash)->look().selected);
    QTest::mouseClick(sidebar().sectionRow(MainSection::trash), Qt::LeftButton);
    EXPECT_FALSE(view().showClipboardHistory());
    EXPECT_TRUE(sidebar().sectionRow(MainSection::trash)->look().selected);
    EXPECT_EQ(view().currentDetail(), view().detailColumn());
}

TEST_F(WorkspaceChromeTest, TheClipboardBadgeFollowsTheHistory)
{
    view();
    EXPECT_EQ(sidebar().clipboardRow()->look().badge, "");
    QList<ClipEntry> clips;
    for (int i = 0; i < 1234; ++i) {
        ClipEntry clip;
        clip.id = QUuid::createUuid();
        clip.text = QStringLiteral("clip %1").arg(i);
        clip.createdAt = QDateTime::currentDateTime();
        clips << clip;
    }
    m_app.monitor.setItems(clips);
    // The badge is read again when the history announces its change.
    EXPECT_EQ(sidebar().clipboardRow()->look().badge, "");
    NotificationCenter::defaultCenter().post(ClipboardMonitor::historyChangedNotification);
    EXPECT_EQ(sidebar().clipboardRow()->look().badge, "1234");
    m_app.monitor.removeEntry(clips.front().id);
    EXPECT_EQ(sidebar().clipboardRow()->look().badge, "1233");
}

TEST_F(WorkspaceChromeTest, ANewFolderIsCreatedSelectedAndPreferred)
{
    view();
    QTest::mouseClick(sidebar().newFolderButton(), Qt::LeftButton);
    NewFolderSheet* sheet = view().newFolderSheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_FALSE(sheet->createButton()->isEnabled());
    QTest::keyClicks(sheet->nameField(), "   ");
    EXPECT_FALSE(sheet->createButton()->isEnabled());
    sheet->nameField()->clear();
    QTest::keyClicks(sheet->nameField(), "Reading List");
    QTest::keyClick(sheet->nameField(), Qt::Key_Return);
    EXPECT_EQ(view().selectedFolderSlug(), "reading-list");
    EXPECT_EQ(UserDefaults::standard().string(storedSettings::preferredNewNoteFolderSlug.key), "reading-list");
    EXPECT_FALSE(view().showNewFolderSheet());
    EXPECT_EQ(view().newFolderName(), "");
    ASSERT_NE(sidebar().folderRow("reading-list"), nullptr);
    EXPECT_EQ(sidebar().folderRow("reading-list")->look().title, "Reading List");
    EXPECT_EQ(sidebar().folderRow("reading-list")->look().badge, "0");
}

TEST_F(WorkspaceChromeTest, SignedOutFooterInvitesToSignInAndTheMenuHasNoLogOut)
{
    view();
    WorkspaceProfileFooter& footer = *view().findChild<WorkspaceProfileFooter*>();
    EXPECT_FALSE(footer.isSignedIn());
    EXPECT_TRUE(footer.signInButton()->isVisible());
    // The footer stands at the bottom of the sidebar, not under the last folder.
    EXPECT_GT(footer.mapTo(&sidebar(), QPoint(0, footer.height())).y(), sidebar().height() - 40);
    // The whole row up to the gear takes the click, not only its words.
    const QPoint nearGear = footer.settingsButton()->geometry().center() - QPoint(footer.settingsButton()->width(), 0);
    QWidget* under = footer.childAt(nearGear);
    ASSERT_EQ(under, footer.signInButton());
    QTest::mouseClick(under, Qt::LeftButton, {}, under->mapFrom(&footer, nearGear));
    QTest::mouseClick(footer.settingsButton(), Qt::LeftButton);
    EXPECT_EQ(m_app.calls, QStringList({"openSettings:Account", "openSettings:"}));
    UserDefaults::standard().set("norvelle.appearance", "dark");
    QMenu* menu = footer.profileMenu();
    EXPECT_EQ(texts(menu), QStringList({"Profile & Settings", "Appearance", "Help"}));
    QMenu* appearance = menu->actions()[1]->menu();
    EXPECT_EQ(texts(appearance), QStringList({"System", "Light", "Dark*"}));
    appearance->actions()[1]->trigger();
    EXPECT_EQ(UserDefaults::standard().string("norvelle.appearance"), "light");
}

TEST_F(WorkspaceChromeTest, TheBannerGoesForGoodEvenWhenRegistrationFails)
{
    LaunchAtLoginBanner* banner = view().banner();
    ASSERT_NE(banner, nullptr);
    EXPECT_TRUE(banner->isVisible());
    QTest::mouseClick(banner->enableButton(), Qt::LeftButton);
    EXPECT_EQ(m_registrations, 1);
    EXPECT_FALSE(banner->isVisible());
    EXPECT_TRUE(UserDefaults::standard().boolValue(storedSettings::launchAtLoginBannerDismissed.key));
    EXPECT_FALSE(WorkspaceView::initialShowLaunchAtLoginBanner(false));
}

TEST_F(WorkspaceChromeTest, ToolbarSearchesSwitchesSortsAndMakesNotesFromTemplates)
{
    add({.title = "alpha", .updatedMinute = 2});
    add({.title = "beta", .updatedMinute = 1});
    view();
    QTest::keyClicks(toolbar().searchField()->lineEdit(), "ALP");
    EXPECT_EQ(view().searchQuery(), "ALP");
    EXPECT_EQ(view().workspaceNoteList().size(), 1u);
    // The switch is one box holding two 36 × 26 icons 2 apart; the mode in force stands on a
    // fill of its own, the other on the box's.
    QWidget* grid = toolbar().gridButton();
    QWidget* list = toolbar().listButton();
    EXPECT_EQ(grid->size(), QSize(36, 26));
    EXPECT_EQ(list->size(), QSize(36, 26));
    EXPECT_EQ(list->x() - grid->geometry().right() - 1, 2);
    EXPECT_EQ(grid->parentWidget(), list->parentWidget());
    EXPECT_EQ(grid->parentWidget()->accessibleDescription(), "Switch between grid and list");
    const auto corner = [](QWidget* button) { return button->grab().toImage().pixel(2, 2); };
    EXPECT_NE(corner(toolbar().gridButton()), corner(toolbar().listButton()));
    const QRgb activeCorner = corner(toolbar().gridButton());
    QTest::mouseClick(toolbar().listButton(), Qt::LeftButton);
    EXPECT_FALSE(view().viewModeGrid());
    EXPECT_EQ(corner(toolbar().listButton()), activeCorner);
    QTest::mouseClick(toolbar().selectButton(), Qt::LeftButton);
    EXPECT_TRUE(view().isSelectingNotes());
    EXPECT_FALSE(toolbar().isVisible());
    view().exitSelectionMode();
    EXPECT_TRUE(toolbar().isVisible());

    view().setSortMode(WorkspaceSortMode::title);
    EXPECT_EQ(toolbar().sortButton()->toolTip(), "Sort by Title");
    QTest::mouseClick(toolbar().sortButton(), Qt::LeftButton);
    EXPECT_EQ(texts(toolbar().sortMenu()), QStringList({"Date modified", "Date created", "Title*"}));
    toolbar().sortMenu()->close();

    EXPECT_EQ(texts(toolbar().newNoteMenu()), QStringList({"New Note", "-", "Daily Plan", "Standup", "Idea Capture"}));
    toolbar().newNoteMenu()->actions()[3]->trigger();
    EXPECT_EQ(m_app.calls, QStringList({"createNewSticky:Standup\n\nYesterday:\nToday:\nBlockers:"}));
    view().setSelection(MainSection::trash);
    EXPECT_FALSE(toolbar().newNoteButton()->isEnabled());
}

TEST_F(WorkspaceChromeTest, MenusOpenInTheWindowsSchemeAndFollowASwitch)
{
    UserDefaults::standard().set("norvelle.appearance", "dark");
    view();
    const auto opensDark = [](QMenu* menu) {
        menu->popup(QPoint(100, 100));
        const bool dark = menu->palette().color(QPalette::Window).lightnessF() < 0.5;
        menu->close();
        return dark;
    };
    EXPECT_TRUE(opensDark(toolbar().sortMenu()));
    EXPECT_TRUE(opensDark(toolbar().newNoteMenu()));
    QMenu* profile = view().findChild<WorkspaceProfileFooter*>()->profileMenu();
    EXPECT_TRUE(opensDark(profile->actions()[1]->menu()));

    UserDefaults::standard().set("norvelle.appearance", "light");
    EXPECT_FALSE(opensDark(toolbar().sortMenu()));
}

TEST_F(WorkspaceChromeTest, TheNewFolderSheetAndTheDeleteQuestionsOpenInTheWindowsScheme)
{
    UserDefaults::standard().set("norvelle.appearance", "dark");
    add({.title = "old", .deletedMinute = 5});
    // Hosted as the program hosts it: in a window of the desktop's own look.
    QWidget window;
    window.setPalette(schemePalette(ColorScheme::light));
    view().setParent(&window);
    (new QVBoxLayout(&window))->addWidget(&view());
    window.show();
    const auto dark = [](QWidget* dialog) { return dialog && schemeOf(dialog->palette()) == ColorScheme::dark; };

    QTest::mouseClick(sidebar().newFolderButton(), Qt::LeftButton);
    EXPECT_TRUE(dark(view().newFolderSheet()));
    view().newFolderSheet()->reject();

    view().setSelection(MainSection::trash);
    QTest::mouseClick(view().detailColumn()->emptyTrashButton(), Qt::LeftButton);
    auto* question = window.findChild<QMessageBox*>();
    EXPECT_TRUE(dark(question));
    if (question) {
        question->reject();
    }
    view().setParent(nullptr);
}

TEST_F(WorkspaceChromeTest, ANoteChangedWhileTheUserTypesIsSearchedAfresh)
{
    const auto report = add({.title = "report", .updatedMinute = 3});
    const auto plan = add({.title = "plan", .plainText = "nothing yet", .updatedMinute = 2});
    view();
    QLineEdit& field = *toolbar().searchField()->lineEdit();
    QTest::keyClicks(&field, "rep");
    EXPECT_EQ(titles(view().workspaceNoteList()), QStringList({"report"}));
    // A sticky window edits both notes between two keystrokes.
    plan->setPlainText("see the report");
    report->setTitle("summary");
    context().save();
    QCoreApplication::processEvents();
    QTest::keyClicks(&field, "o");
    EXPECT_EQ(titles(view().workspaceNoteList()), QStringList({"plan"}));
    QTest::keyClick(&field, Qt::Key_Backspace);
    QTest::keyClick(&field, Qt::Key_Backspace);
    EXPECT_EQ(titles(view().workspaceNoteList()), QStringList({"plan"}));
}

TEST_F(WorkspaceChromeTest, ANewFolderBelowTheFoldOfAShortSidebarIsScrolledIntoSight)
{
    for (const char* name : {"Travel", "Recipes", "Garden"}) {
        m_folders.addFolder(name);
    }
    view().setMinimumSize(680, 420);
    view().resize(680, 420);
    QCoreApplication::processEvents();
    QTest::mouseClick(sidebar().newFolderButton(), Qt::LeftButton);
    ASSERT_NE(view().newFolderSheet(), nullptr);
    QTest::keyClicks(view().newFolderSheet()->nameField(), "Reading List");
    QTest::keyClick(view().newFolderSheet()->nameField(), Qt::Key_Return);
    QCoreApplication::processEvents();
    SidebarRow* row = sidebar().folderRow("reading-list");
    ASSERT_NE(row, nullptr);
    EXPECT_TRUE(row->look().selected);
    EXPECT_EQ(row->visibleRegion().boundingRect(), row->rect()) << "the selected folder is out of sight";
}

TEST_F(WorkspaceChromeTest, AtTheSmallestSizeTheSidebarScrollsInsteadOfPilingRowsUp)
{
    m_folders.addFolder("Reading List");
    m_folders.addFolder("Travel");
    // As the workspace window allows.
    view().setMinimumSize(680, 420);
    view().resize(680, 420);
    QCoreApplication::processEvents();
    QList<QWidget*> rows;
    for (const MainSection section : mainSection::allCases) {
        rows << sidebar().sectionRow(section);
    }
    for (const QString& slug : m_folders.allFolderSlugs()) {
        rows << sidebar().folderRow(slug);
    }
    const auto top = [this](QWidget* row) { return row->mapTo(&sidebar(), QPoint(0, 0)).y(); };
    std::sort(rows.begin(), rows.end(), [&](QWidget* a, QWidget* b) { return top(a) < top(b); });
    for (qsizetype i = 1; i < rows.size(); ++i) {
        EXPECT_GE(top(rows[i]), top(rows[i - 1]) + 30 + 8) << rows[i]->property("slug").toString().toStdString();
    }

    // The last folder is reached with the wheel and stays clear of the footer.
    SidebarRow* travel = sidebar().folderRow("travel");
    QWidget* footer = view().findChild<WorkspaceProfileFooter*>();
    // A turn of the wheel over a row is passed on to the area it scrolls in, as Qt does.
    QWidget* row = sidebar().sectionRow(MainSection::all);
    QWidget* area = row->parentWidget();
    while (area && !qobject_cast<QAbstractScrollArea*>(area->parentWidget())) {
        area = area->parentWidget();
    }
    ASSERT_NE(area, nullptr) << "the rows scroll in nothing";
    for (int turn = 0; turn < 20; ++turn) {
        const QPoint at = row->mapTo(area, QPoint(20, 10));
        QWheelEvent wheel(QPointF(at), QPointF(area->mapToGlobal(at)), QPoint(), QPoint(0, -120), Qt::NoButton,
            Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(area, &wheel);
    }
    EXPECT_LE(top(travel) + travel->height(), footer->mapTo(&sidebar(), QPoint(0, 0)).y());
    EXPECT_EQ(travel->visibleRegion().boundingRect(), travel->rect());
    QTest::mouseClick(travel, Qt::LeftButton);
    EXPECT_EQ(view().selectedFolderSlug(), "travel");
}

TEST_F(WorkspaceChromeTest, AtTheSmallestSizeTheHeaderControlsWrapWholeInsteadOfBeingCut)
{
    add({.title = "note", .updatedMinute = 1, .pinned = true});
    // The banner and the pinned strip take their height too, and where the desktop's fonts
    // and scroll bars are larger there is less of it left: the notes give way, not the header.
    view().setMinimumSize(680, 360);
    view().resize(680, 360);
    QCoreApplication::processEvents();
    const auto expectWhole = [this](const QList<QWidget*>& controls) {
        QWidget* detail = view().detailColumn();
        QList<QRect> taken;
        for (QWidget* control : controls) {
            ASSERT_TRUE(control->isVisible()) << control->metaObject()->className();
            const QRect rect(control->mapTo(detail, QPoint(0, 0)), control->size());
            EXPECT_GE(rect.width(), control->sizeHint().width()) << control->metaObject()->className();
            EXPECT_GE(rect.height(), control->sizeHint().height()) << control->metaObject()->className();
            EXPECT_TRUE(detail->rect().contains(rect)) << control->metaObject()->className();
            for (const QRect& other : std::as_const(taken)) {
                EXPECT_FALSE(rect.intersects(other)) << control->metaObject()->className();
            }
            taken << rect;
        }
    };
    WorkspaceToolbar& bar = toolbar();
    expectWhole(QList<QWidget*> {view().detailColumn()->titleLabel(), view().detailColumn()->countBadge(),
        bar.gridButton(), bar.listButton(), bar.selectButton(), bar.importButton(),
        bar.sortButton(), bar.newNoteButton()});
    EXPECT_GE(bar.searchField()->width(), 160);

    QTest::mouseClick(bar.selectButton(), Qt::LeftButton);
    ASSERT_TRUE(view().isSelectingNotes());
    QTest::keyClick(&view(), Qt::Key_A, Qt::AltModifier);
    QCoreApplication::processEvents();
    WorkspaceBulkBar& bulk = *view().detailColumn()->bulkBar();
    expectWhole(QList<QWidget*> {bulk.cancelButton(), bulk.countLabel(), bulk.moveButton(), bulk.trashButton(),
        bulk.shareButton(), bulk.selectAllButton()});
    QTest::mouseClick(bulk.cancelButton(), Qt::LeftButton);
    EXPECT_FALSE(view().isSelectingNotes());

    // Wide again, the controls go back beside the search field.
    view().resize(1100, 680);
    QCoreApplication::processEvents();
    EXPECT_NEAR(bar.selectButton()->mapTo(&view(), bar.selectButton()->rect().center()).y(),
        bar.searchField()->mapTo(&view(), bar.searchField()->rect().center()).y(), 2);
}

TEST_F(WorkspaceChromeTest, TheEmptyClipboardHistoryShowsItsWholeHintAtEverySize)
{
    view();
    QTest::mouseClick(sidebar().clipboardRow(), Qt::LeftButton);
    TextLabel* hint = nullptr;
    for (TextLabel* label : view().clipboardPane()->findChildren<TextLabel*>()) {
        if (label->text() == ClipboardHistoryPane::emptyHintText()) {
            hint = label;
        }
    }
    ASSERT_NE(hint, nullptr);
    for (const QSize size : {QSize(1100, 680), QSize(680, 420)}) {
        view().setMinimumSize(680, 420);
        view().resize(size);
        QCoreApplication::processEvents();
        ASSERT_TRUE(hint->isVisible());
        EXPECT_LE(hint->width(), 360);
        // Every wrapped line has its room: the label is as high as its text at its width.
        EXPECT_GE(hint->height(), hint->heightForWidth(hint->width())) << size.width();
        EXPECT_EQ(hint->visibleRegion().boundingRect(), hint->rect()) << size.width();
    }
}
