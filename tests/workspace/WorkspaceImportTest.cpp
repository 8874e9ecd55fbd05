#include "WorkspaceApp.h"
#include "platform/UserDefaults.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"
#include "support/QtPrinters.h"
#include "support/TestHome.h"
#include "ui/SchemePalette.h"
#include "workspace/NoteGridView.h"
#include "workspace/WorkspaceFoldersStore.h"
#include "workspace/WorkspaceNoteEntry.h"
#include "workspace/WorkspaceToolbar.h"
#include "workspace/WorkspaceView.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QThreadPool>
#include <QTimer>
#include <QVBoxLayout>

#include <functional>

#include <sqlite3.h>

using namespace norvelle;

namespace {

// Answers the next dialog of its kind once it shows, as the user would.
template <class Dialog>
void answerNext(std::function<void(Dialog*)> answer)
{
    auto* watch = new QTimer(qApp);
    QObject::connect(watch, &QTimer::timeout, watch, [watch, answer] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            return;
        }
        watch->stop();
        watch->deleteLater();
        answer(dialog);
    });
    watch->start(20);
}

// Types a whole path and takes it, as a user may: choosing the file in the list would wait for
// the dialog's folder listing, which a busy machine delays past the click.
void choose(QFileDialog* dialog, const QString& path)
{
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(name, nullptr);
    name->setText(path);
    static_cast<QDialog*>(dialog)->accept();
}

const WorkspaceNoteEntry* listed(const WorkspaceView& view, const QString& title)
{
    const auto& notes = view.workspaceNoteList();
    const auto found = std::find_if(notes.begin(), notes.end(), [&](const WorkspaceNoteEntry* entry) { return entry->displayTitle == title; });
    return found == notes.end() ? nullptr : *found;
}

bool listShows(const WorkspaceView& view, const QString& title)
{
    return listed(view, title) != nullptr;
}

// The workspace over the program's notes, open as the user sees it.
class OpenWorkspace {
public:
    OpenWorkspace()
    {
        m_view.resize(1100, 680);
        m_view.show();
    }
    WorkspaceView& view() { return m_view; }

private:
    test::WorkspaceApp m_app;
    WorkspaceFoldersStore m_folders;
    WorkspaceView m_view {PersistenceController::shared().viewContext(), m_folders, [] { return false; }, [] { return std::optional<QString>(); }};
};

} // namespace

TEST(WorkspaceImportTest, TheToolbarImportsAnyChosenTextFileIntoTheStoreAndScrollsTheListToIt)
{
    // Markdown is text too: the dialog offers every file and the reader decides.
    const QString path = QDir(test::TestHomeListener::home()).filePath("Groceries.md");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Market list\r\neggs, flour\r\n");
    file.close();

    ObjectContext& notes = PersistenceController::shared().viewContext();
    // Enough older notes that the grid scrolls, the user far down it.
    for (int i = 0; i < 60; ++i) {
        auto note = StickyNote::insert(notes);
        note->setTitle(QStringLiteral("Older %1").arg(i));
        note->setUpdatedAt(QDateTime::currentDateTimeUtc().addDays(-1 - i));
        note->setVersion(1);
    }
    notes.save();
    const auto before = notes.fetch(StickyNote::fetchRequest()).size();

    OpenWorkspace workspace;
    WorkspaceView& view = workspace.view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.setSortMode(WorkspaceSortMode::title);
    auto* grid = view.findChild<NoteGridView*>();
    grid->verticalScrollBar()->setValue(grid->verticalScrollBar()->maximum());

    // The words every search looks in are worked out a moment after the first paint.
    ASSERT_TRUE(test::waitUntil([&] { return view.workspaceNoteList().front()->words(); }));

    QStringList offered;
    answerNext<QFileDialog>([path, &offered](QFileDialog* dialog) {
        offered = dialog->nameFilters();
        choose(dialog, path);
    });
    QTest::mouseClick(view.findChild<WorkspaceToolbar*>()->importButton(), Qt::LeftButton);
    ASSERT_FALSE(offered.isEmpty());
    EXPECT_EQ(offered.front(), "All files (*)");

    // Read on a worker thread; the note arrives a moment later, and the list shows it.
    ASSERT_TRUE(test::waitUntil([&] { return listShows(view, "Market list"); }, 20000));
    const auto after = notes.fetch(StickyNote::fetchRequest());
    ASSERT_EQ(after.size(), before + 1);
    const auto imported = std::find_if(after.begin(), after.end(), [](const auto& note) { return note->title() == "Market list"; });
    ASSERT_NE(imported, after.end());
    EXPECT_EQ((*imported)->plainText(), "Market list\r\neggs, flour\r\n");
    EXPECT_EQ((*imported)->version(), 1);
    const auto& list = view.workspaceNoteList();
    const auto shown = std::find_if(list.begin(), list.end(), [](const WorkspaceNoteEntry* entry) { return entry->displayTitle == "Market list"; });
    ASSERT_NE(shown, list.end());
    EXPECT_TRUE(grid->viewport()->rect().contains(grid->itemRect(int(shown - list.begin())))) << "the new note is scrolled into view";
    // Drawn with its preview; the search forms of a text that may be hundreds of megabytes wait
    // for a search.
    grid->viewport()->repaint();
    ASSERT_TRUE((*shown)->previewLine());
    EXPECT_EQ(*(*shown)->previewLine(), "eggs, flour");
    EXPECT_FALSE((*shown)->words());
    view.setSearchQuery(QStringLiteral("flour"));
    EXPECT_TRUE(listShows(view, "Market list"));
    view.setSearchQuery(QString());

    // Another section is shown from its top.
    grid->verticalScrollBar()->setValue(grid->verticalScrollBar()->maximum());
    ASSERT_GT(grid->verticalScrollBar()->value(), 0);
    view.setSelection(MainSection::recent);
    EXPECT_EQ(grid->verticalScrollBar()->value(), 0);
}

TEST(WorkspaceImportTest, TheFileDialogBelongsToTheWorkspaceAndCancellingItImportsNothing)
{
    ObjectContext& notes = PersistenceController::shared().viewContext();
    const auto before = notes.fetch(StickyNote::fetchRequest()).size();

    test::WorkspaceApp app;
    WorkspaceFoldersStore folders;
    WorkspaceView view(
        notes, folders, [] { return false; }, [] { return std::optional<QString>(); });
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));

    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));

    // The dialog belongs to the workspace, so a click there cannot bury it.
    QWidget* owner = nullptr;
    answerNext<QFileDialog>([&owner](QFileDialog* dialog) {
        owner = dialog->parentWidget();
        dialog->reject();
    });
    QTest::mouseClick(view.findChild<WorkspaceToolbar*>()->importButton(), Qt::LeftButton);

    EXPECT_EQ(owner, &view);
    EXPECT_EQ(notes.fetch(StickyNote::fetchRequest()).size(), before);
}

TEST(WorkspaceImportTest, InADarkWorkspaceTheFileDialogsAndWhatWentWrongOpenDarkToo)
{
    UserDefaults::standard().set("norvelle.appearance", "dark");
    const QString picture = QDir(test::TestHomeListener::home()).filePath("picture.txt");
    QFile file(picture);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("\x89PNG\r\n\x1A\n\x00\x00\x00\x0DIHDR", 16).repeated(64));
    file.close();
    ObjectContext& notes = PersistenceController::shared().viewContext();
    auto note = StickyNote::insert(notes);
    note->setTitle("Groceries");
    notes.save();

    // Hosted as the program hosts it: in a window of the desktop's own look.
    test::WorkspaceApp app;
    WorkspaceFoldersStore folders;
    QWidget window;
    window.setPalette(schemePalette(ColorScheme::light));
    auto* view = new WorkspaceView(
        notes, folders, [] { return false; }, [] { return std::optional<QString>(); }, &window);
    (new QVBoxLayout(&window))->addWidget(view);
    window.resize(1100, 680);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    QStringList opened;
    const auto look = [&opened](QDialog* dialog) {
        opened << (qobject_cast<QFileDialog*>(dialog) ? QStringLiteral("file dialog") : dialog->windowTitle())
                + (schemeOf(dialog->palette()) == ColorScheme::dark ? " dark" : " light");
    };
    const auto answerFailure = [&] {
        answerNext<QMessageBox>([&](QMessageBox* box) {
            look(box);
            box->accept();
        });
    };

    answerNext<QFileDialog>([&](QFileDialog* dialog) {
        look(dialog);
        choose(dialog, picture);
    });
    answerFailure();
    QTest::mouseClick(view->findChild<WorkspaceToolbar*>()->importButton(), Qt::LeftButton);
    ASSERT_TRUE(test::waitUntil([&] { return opened.size() == 2; }, 20000));

    answerNext<QFileDialog>([&](QFileDialog* dialog) {
        look(dialog);
        choose(dialog, QDir(test::TestHomeListener::home()).filePath("missing-folder/Groceries.txt"));
    });
    answerFailure();
    const std::unique_ptr<QMenu> menu = view->findChild<NoteGridView*>()->contextMenu(0);
    for (QAction* action : menu->actions()) {
        if (action->text() == "Export .txt") {
            action->trigger();
        }
    }
    EXPECT_EQ(opened, QStringList({"file dialog dark", "Import Failed dark", "file dialog dark", "Export Failed dark"}));
}

TEST(WorkspaceImportTest, ANoteTheStoreCannotTakeIsReportedAndTheSameFileImportsOnceTheStoreIsFree)
{
    const QString path = QDir(test::TestHomeListener::home()).filePath("Inventory.txt");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Inventory\n");
    for (int item = 0; item < 200000; ++item) {
        file.write(QByteArray("item ") + QByteArray::number(item) + '\n');
    }
    file.close();

    ObjectContext& notes = PersistenceController::shared().viewContext();
    const auto before = notes.fetch(StickyNote::fetchRequest()).size();
    OpenWorkspace workspace;
    WorkspaceView& view = workspace.view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    auto* importButton = view.findChild<WorkspaceToolbar*>()->importButton();

    // Another program writes to the store for longer than a save waits.
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(PersistenceController::storePath().toUtf8().constData(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    QString told;
    answerNext<QFileDialog>([&path](QFileDialog* dialog) { choose(dialog, path); });
    answerNext<QMessageBox>([&told](QMessageBox* box) {
        told = box->text() + ' ' + box->informativeText();
        box->accept();
    });
    QTest::mouseClick(importButton, Qt::LeftButton);
    const bool reported = test::waitUntil([&] { return !told.isEmpty(); }, 60000);
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    ASSERT_TRUE(reported) << "the failed save is shown";
    EXPECT_TRUE(told.contains("“Inventory.txt” could not be imported.")) << told.toStdString();
    EXPECT_TRUE(told.contains("The note store could not keep it")) << told.toStdString();
    EXPECT_FALSE(notes.hasChanges()) << "no note waits half made";
    EXPECT_EQ(notes.fetch(StickyNote::fetchRequest()).size(), before);
    EXPECT_FALSE(listShows(view, "Inventory"));

    // The file is still there: importing it again makes the note, listed with its preview.
    answerNext<QFileDialog>([&path](QFileDialog* dialog) { choose(dialog, path); });
    QTest::mouseClick(importButton, Qt::LeftButton);
    ASSERT_TRUE(test::waitUntil([&] { return listShows(view, "Inventory"); }, 60000));
    EXPECT_EQ(notes.fetch(StickyNote::fetchRequest()).size(), before + 1);
    auto* grid = view.findChild<NoteGridView*>();
    grid->viewport()->repaint();
    const WorkspaceNoteEntry* shown = listed(view, "Inventory");
    ASSERT_TRUE(shown && shown->previewLine());
    EXPECT_EQ(*shown->previewLine(), "item 0");
    EXPECT_EQ(view.index().note(*shown)->plainText().size(), QFileInfo(path).size());
}

TEST(WorkspaceImportTest, QuittingWhileALargeFileIsImportedKeepsTheWholeNoteInASoundStore)
{
    const QString path = QDir(test::TestHomeListener::home()).filePath("Archive.txt");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Archive of the year\n");
    const QByteArray line("Thirty megabytes of lines, to be read and saved while the program quits.\n");
    for (qint64 written = 0; written < 30 * 1024 * 1024; written += line.size()) {
        file.write(line);
    }
    file.close();

    OpenWorkspace workspace;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&workspace.view()));
    answerNext<QFileDialog>([&path](QFileDialog* dialog) { choose(dialog, path); });
    QTest::mouseClick(workspace.view().findChild<WorkspaceToolbar*>()->importButton(), Qt::LeftButton);

    // Quitting ends the event loop; the application then waits for the work under way.
    QThreadPool::globalInstance()->waitForDone();
    sqlite3* store = nullptr;
    ASSERT_EQ(sqlite3_open(PersistenceController::storePath().toUtf8().constData(), &store), SQLITE_OK);
    const auto answer = [store](const char* sql) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(store, sql, -1, &statement, nullptr);
        const QString text = sqlite3_step(statement) == SQLITE_ROW
            ? QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)))
            : QString();
        sqlite3_finalize(statement);
        return text;
    };
    EXPECT_EQ(answer("PRAGMA integrity_check"), "ok");
    EXPECT_EQ(answer("SELECT length(CAST(plainText AS BLOB)) FROM StickyNote WHERE title = 'Archive of the year'").toLongLong(),
        QFileInfo(path).size());
    sqlite3_close(store);
}
