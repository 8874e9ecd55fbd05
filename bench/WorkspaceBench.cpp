// The workspace window over 10,000 notes of about 1 KB of text each, in a real store file:
// opening it to the first painted list, a search keystroke (filter, sort and list update with
// its repaint), switching the sort mode, scrolling the grid of cards (median and 99th percentile
// frame time), the resident memory of the open workspace, the bulk actions on every note (trash,
// restore, empty the Trash: from the key press or click to the list repainted, with the store
// transactions they took), quitting with the workspace open, opening it with 5,000 folders of
// the user's, and importing a 200 MB text file (the longest the window stops answering). The store is filled, and each
// opening and quit measured, in a process of its own, as a user's first opening after launch
// would be.
//
// Why the bulk actions cost what they do: each is one store transaction; a note's text and rich
// body are read only when something uses them, so trashing or restoring reads just the small
// values of each note, and the list takes the new values from the notes it holds instead of
// reading them again. What is left of a Delete is mostly SQLite rewriting the 10,000 rows. An
// imported file is read and saved on a worker thread, on a store connection of its own, and listed
// by its preview line; a save made while it is being written waits for it without holding the
// window, and the copy of the store's log back into the database is left to its own thread.
#include "app/AppDelegate.h"
#include "core/OSLogAnalyticsTracker.h"
#include "objectstore/ObjectContext.h"
#include "platform/StoredSettings.h"
#include "platform/UserDefaults.h"
#include "sticky/NoteFileOperations.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"
#include "workspace/MainAppWindowController.h"
#include "workspace/NoteGridView.h"
#include "workspace/WorkspaceBulkActions.h"
#include "workspace/WorkspaceFoldersStore.h"
#include "workspace/WorkspaceView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace norvelle;

namespace {

constexpr int noteCount = 10000;

const QStringList words {"meeting", "project", "Groceries", "milk", "report", "weekly", "idea", "plan",
    "Budget", "travel", "café", "draft", "review", "call", "Monday", "launch",
    "design", "notes", "todo", "book", "garden", "recipe", "invoice", "client"};

QString paragraph(QRandomGenerator& random, int characters)
{
    QString text;
    while (text.size() < characters) {
        text += words[random.bounded(words.size())];
        text += random.bounded(12) == 0 ? u'\n' : u' ';
    }
    return text;
}

void fillStore()
{
    PersistenceController controller;
    QRandomGenerator random(7);
    const QDateTime start = QDateTime::currentDateTimeUtc().addDays(-400);
    for (int i = 0; i < noteCount; ++i) {
        auto note = StickyNote::insert(controller.viewContext());
        const QString title = paragraph(random, 20).simplified();
        const QString text = title + u'\n' + paragraph(random, 1000);
        note->setId(QUuid::createUuid());
        note->setTitle(title);
        note->setPlainText(text);
        note->setContent("{\\rtf1\\ansi\\deff0 " + text.toUtf8() + "}");
        note->setCreatedAt(start.addSecs(i * 60));
        note->setUpdatedAt(start.addSecs(i * 3600 % 9999991));
        note->setPaperColor("#FDFDF8");
        note->setTextureName("lined");
        note->setIsPinned(i % 97 == 0);
        note->setWorkspaceId(i % 3 == 0 ? "work" : "");
        note->setVersion(1);
        note->setPermissions("Private");
    }
    controller.save();
}

double percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(fraction * double(values.size())))];
}

double median(std::vector<double> values)
{
    return percentile(std::move(values), 0.5);
}

double residentMiB()
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').front().toDouble() / 1024.0;
        }
    }
    return 0;
}

// Counts the paints a widget receives.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            ++paints;
        }
        return false;
    }
};

// A wait that outlasts this has hung: the bench says what it waited for and stops.
struct Stalled {
    QString awaited;
};

void waitUntil(const QString& awaited, const std::function<bool()>& condition)
{
    constexpr qint64 generousMs = 120000;
    QElapsedTimer waited;
    waited.start();
    while (!condition()) {
        if (waited.elapsed() > generousMs) {
            throw Stalled {awaited};
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

void waitForPaint(const PaintCounter& counter)
{
    waitUntil(QStringLiteral("the note list's first paint"), [&] { return counter.paints > 0; });
}

// The keys a user types go to the active window: a window manager may take a moment to make
// the window active after it shows.
void waitUntilActive(QWidget& window)
{
    waitUntil(QStringLiteral("the workspace window to become active"), [&] {
        return QApplication::activeWindow() == &window;
    });
}

QWidget* noteList(const WorkspaceView& view)
{
    return view.findChild<NoteGridView*>()->viewport();
}

// The note store's write transactions: each save writes in one.
int storeCommits = 0;

void countStoreCommits()
{
    QObject::connect(&PersistenceController::shared().viewContext(), &ObjectContext::didSave, [] { ++storeCommits; });
}

// From `action` (the user's key press or click) until the list shows `expected` notes and is
// repainted; prints the time and the store transactions it took.
void timeBulkAction(const char* what, WorkspaceView& view, size_t expected, const std::function<void()>& action)
{
    const int commitsBefore = storeCommits;
    QElapsedTimer timer;
    timer.start();
    action();
    waitUntil(QStringLiteral("%1 notes listed after: %2").arg(expected).arg(QString::fromUtf8(what)),
        [&] { return view.workspaceNoteList().size() == expected; });
    noteList(view)->repaint();
    std::printf("%s: %.1f ms, %d store transaction(s)\n", what, timer.nsecsElapsed() / 1e6, storeCommits - commitsBefore);
}

void confirmOpenDialog(const QString& button)
{
    auto* dialog = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    for (QAbstractButton* candidate : dialog ? dialog->buttons() : QList<QAbstractButton*>()) {
        if (candidate->text() == button) {
            candidate->click();
            return;
        }
    }
    std::printf("no dialog with \"%s\"\n", qPrintable(button));
}

void benchBulkActions(MainAppWindowController& controller)
{
    WorkspaceView& view = *controller.workspaceView();
    view.setSearchQuery(QString());
    view.setSelection(MainSection::all);
    const size_t all = view.workspaceNoteList().size();
    countStoreCommits();
    waitUntilActive(*controller.window());

    for (int run = 1; run <= 3; ++run) {
        view.setSelection(MainSection::all);
        QCoreApplication::processEvents();
        view.selectAllShortcut();
        timeBulkAction(qPrintable(QStringLiteral("trash all notes (Select All, then Delete), run %1 of 3").arg(run)), view, 0,
            [&] { QTest::keyClick(&view, Qt::Key_Delete); });

        view.setSelection(MainSection::trash);
        QCoreApplication::processEvents();
        view.selectAllShortcut();
        timeBulkAction(qPrintable(QStringLiteral("restore all notes from the Trash (Select All, then Restore), run %1 of 3").arg(run)),
            view, 0, [&] { WorkspaceBulkActions::restoreSelectedNotes(view); });
    }

    view.setSelection(MainSection::all);
    view.selectAllShortcut();
    QTest::keyClick(&view, Qt::Key_Delete);
    view.setSelection(MainSection::trash);
    waitUntil(QStringLiteral("all %1 notes in the Trash").arg(all), [&] { return view.workspaceNoteList().size() == all; });
    WorkspaceBulkActions::confirmEmptyTrash(view, &view);
    timeBulkAction("empty a Trash of all notes (Delete All in the confirmation)", view, 0,
        [] { confirmOpenDialog(QStringLiteral("Delete All")); });
}

// Answers the import dialog with one file.
class ChosenFile final : public NoteFileDialogs {
public:
    explicit ChosenFile(QString path)
        : m_path(std::move(path))
    {
    }
    std::optional<QString> chooseFileToImport() override { return m_path; }
    void showImportFailure(const QString&, const QString& reason) override { std::printf("import failed: %s\n", qPrintable(reason)); }
    std::optional<QString> chooseExportFile(const QString&) override { return std::nullopt; }
    void showExportFailure(const QString&, const QString&) override { }

private:
    QString m_path;
};

// Imports a text file of `megabytes` while the window is open: the time until the list shows
// the note, and the longest the window went without answering meanwhile.
void benchImport(MainAppWindowController& controller, int megabytes)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("big.txt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return;
    }
    const QByteArray line("A long import of plain words, one line after another, to see the window answer.\n");
    for (qint64 written = 0; written < qint64(megabytes) * 1024 * 1024; written += line.size()) {
        file.write(line);
    }
    file.close();
    WorkspaceView& view = *controller.workspaceView();
    view.setSelection(MainSection::all);
    const size_t before = view.workspaceNoteList().size();
    QElapsedTimer timer;
    timer.start();
    qint64 lastTick = 0;
    qint64 longestGap = 0;
    QTimer ticks;
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        longestGap = std::max(longestGap, timer.elapsed() - lastTick);
        lastTick = timer.elapsed();
    });
    ticks.start(1);
    // A sticky typed in meanwhile saves its note every few keys.
    ObjectContext& context = PersistenceController::shared().viewContext();
    const std::shared_ptr<StickyNote> typedIn = StickyNote::insert(context);
    QTimer typing;
    QObject::connect(&typing, &QTimer::timeout, [&] {
        typedIn->setPlainText(typedIn->plainText() + u'a');
        context.save();
    });
    typing.start(100);
    NoteFileOperations::importNoteFromFile(std::make_shared<ChosenFile>(path), PersistenceController::shared().viewContext(), OSLogAnalyticsTracker::shared());
    waitUntil(QStringLiteral("the imported note in the list"), [&] { return view.workspaceNoteList().size() > before + 1; });
    noteList(view)->repaint();
    longestGap = std::max(longestGap, timer.elapsed() - lastTick);
    std::printf("import a %d MB text file while a note is typed in: in the list after %lld ms, the window's longest pause meanwhile %lld ms\n",
        megabytes, timer.elapsed(), longestGap);
}

} // namespace

// The program quits with its workspace open: from the quit to the delegate gone.
double quitOnce()
{
    storedSettings::hasCompletedOnboarding.set(true);
    auto delegate = std::make_unique<AppDelegate>();
    delegate->applicationDidFinishLaunching();
    delegate->openMainWindow();
    PaintCounter counter;
    noteList(*delegate->mainAppWindowController()->workspaceView())->installEventFilter(&counter);
    waitForPaint(counter);
    QElapsedTimer timer;
    QTimer::singleShot(0, [&] {
        timer.start();
        QCoreApplication::quit();
    });
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, delegate.get(), [&] { delegate->applicationWillTerminate(); });
    QCoreApplication::exec();
    delegate.reset();
    const double elapsed = timer.nsecsElapsed() / 1e6;
    std::printf("%.3f\n", elapsed);
    return elapsed;
}

// The user's folders, as many as asked for, before the workspace opens.
void storeFolders(int count)
{
    QByteArray json = "[";
    for (int i = 0; i < count; ++i) {
        json += QStringLiteral("%1{\"slug\":\"project-%2\",\"displayName\":\"Project %2\"}").arg(i ? "," : "").arg(i).toUtf8();
    }
    UserDefaults::standard().set(storedSettings::workspaceUserFoldersKey, json + "]");
}

double openOnce()
{
    // The store is loaded at launch, before any window.
    PersistenceController::shared();
    const double before = residentMiB();
    QElapsedTimer timer;
    timer.start();
    MainAppWindowController controller;
    PaintCounter counter;
    noteList(*controller.workspaceView())->installEventFilter(&counter);
    controller.showWindow();
    waitForPaint(counter);
    const double elapsed = timer.nsecsElapsed() / 1e6;
    const double painted = residentMiB();
    // The text every search looks in is read a moment after the first paint.
    controller.workspaceView()->index().loadAllWords();
    std::printf("%.3f %.1f %.1f %.1f\n", elapsed, before, painted, residentMiB());
    return elapsed;
}

int runBench(const QString& mode, int argc, char** argv)
{
    if (mode == "--fill") {
        fillStore();
        return 0;
    }
    if (mode == "--open") {
        storeFolders(argc > 2 ? QByteArray(argv[2]).toInt() : 0);
        openOnce();
        UserDefaults::standard().remove(storedSettings::workspaceUserFoldersKey);
        return 0;
    }
    if (mode == "--quit") {
        quitOnce();
        return 0;
    }

    std::printf("Preparing %d notes of about 1 KB...\n", noteCount);
    std::fflush(stdout);
    QProcess::execute(QCoreApplication::applicationFilePath(), {"--fill"});
    // "--actions" times only the bulk actions and the import, in a window already open.
    if (mode == "--actions") {
        MainAppWindowController controller;
        controller.showWindow();
        QCoreApplication::processEvents();
        benchBulkActions(controller);
        benchImport(controller, 200);
        return 0;
    }
    std::vector<double> opens;
    QList<QByteArray> memory;
    for (int run = 0; run < 7; ++run) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {"--open"});
        child.waitForFinished(-1);
        const QList<QByteArray> figures = child.readAllStandardOutput().trimmed().split(' ');
        if (figures.size() == 4) {
            opens.push_back(figures[0].toDouble());
            memory = figures;
        }
    }

    constexpr int manyFolders = 5000;
    std::vector<double> folderOpens;
    for (int run = 0; run < 3; ++run) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {"--open", QString::number(manyFolders)});
        child.waitForFinished(-1);
        const QList<QByteArray> figures = child.readAllStandardOutput().trimmed().split(' ');
        if (figures.size() == 4) {
            folderOpens.push_back(figures[0].toDouble());
        }
    }

    std::vector<double> quits;
    for (int run = 0; run < 5; ++run) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {"--quit"});
        child.waitForFinished(-1);
        const QByteArray figure = child.readAllStandardOutput().trimmed();
        if (!figure.isEmpty()) {
            quits.push_back(figure.split('\n').last().toDouble());
        }
    }

    MainAppWindowController controller;
    controller.showWindow();
    // As a user would, start typing once the window has settled.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 300) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    WorkspaceView& view = *controller.workspaceView();

    std::vector<double> keystrokes;
    const QStringList queries {"weekly report", "café dra", "invoice client", "zzz"};
    for (const QString& query : queries) {
        for (int length = 1; length <= query.size(); ++length) {
            QElapsedTimer timer;
            timer.start();
            view.setSearchQuery(query.left(length));
            noteList(view)->repaint();
            keystrokes.push_back(timer.nsecsElapsed() / 1e6);
        }
        view.setSearchQuery(QString());
    }

    std::vector<double> sorts;
    for (int run = 0; run < 9; ++run) {
        for (const WorkspaceSortMode mode : workspaceSortMode::allCases) {
            QElapsedTimer timer;
            timer.start();
            view.setSortMode(mode);
            noteList(view)->repaint();
            sorts.push_back(timer.nsecsElapsed() / 1e6);
        }
    }

    view.setSortMode(WorkspaceSortMode::dateModified);
    view.setViewModeGrid(true);
    QCoreApplication::processEvents();
    NoteGridView& grid = *view.findChild<NoteGridView*>();
    std::vector<double> frames;
    for (int step = 0; step < 600; ++step) {
        QElapsedTimer timer;
        timer.start();
        grid.verticalScrollBar()->setValue(grid.verticalScrollBar()->value() + 40);
        grid.viewport()->repaint();
        frames.push_back(timer.nsecsElapsed() / 1e6);
    }

    if (!opens.empty()) {
        std::printf("open the workspace to its first painted list (first opening in a process), median of %zu: %.1f ms, best %.1f ms\n",
            opens.size(), median(opens), *std::min_element(opens.begin(), opens.end()));
        std::printf("resident memory: %s MiB before opening, %s MiB at the first paint, %s MiB once the search text is read\n",
            memory[1].constData(), memory[2].constData(), memory[3].constData());
    }
    std::printf("search keystroke (filter, sort, list update and repaint), median of %zu: %.2f ms, worst %.2f ms\n",
        keystrokes.size(), median(keystrokes), *std::max_element(keystrokes.begin(), keystrokes.end()));
    std::printf("switch the sort mode, median of %zu: %.2f ms\n", sorts.size(), median(sorts));
    std::printf("scroll the grid of %d cards by 40 points a frame, %zu frames: median %.2f ms, 99th percentile %.2f ms\n",
        grid.count(), frames.size(), median(frames), percentile(frames, 0.99));
    if (!folderOpens.empty()) {
        std::printf("open the workspace with %d folders of the user's, median of %zu: %.1f ms\n", manyFolders,
            folderOpens.size(), median(folderOpens));
    }
    if (!quits.empty()) {
        std::printf("quit with the workspace open, median of %zu: %.1f ms\n", quits.size(), median(quits));
    }
    benchBulkActions(controller);
    benchImport(controller, 200);
    return 0;
}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    QTemporaryDir home;
    if (mode.isEmpty() || mode == "--actions") {
        qputenv("NORVELLE_HOME", home.path().toLocal8Bit());
    }
    QApplication app(argc, argv);
    try {
        return runBench(mode, argc, argv);
    } catch (const Stalled& stall) {
        std::printf("gave up waiting for %s\n", qPrintable(stall.awaited));
        return 1;
    }
}
