// A sticky window holding a pasted HTML table (three cells a row) while the user switches the
// theme in Settings, and while they pick a paper colour that turns the ink from black to white.
// Prints, per change, the median time the event loop was held from the change until the table is
// laid out again, and the worst. The 5,000-row case can be given a time limit in seconds: a
// change that holds longer ends the run with what it has.
//
//     ThemeSwitchBench [rows …] [--limit seconds]
#include "BenchFigures.h"
#include "HtmlTable.h"
#include "NewNoteWindow.h"

#include "editor/RichTextEditor.h"
#include "editor/StickyTextView.h"
#include "platform/UserDefaults.h"
#include "sticky/KeyablePanel.h"
#include "sticky/StickyWindowController.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"
#include "ui/SchemePalette.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <unistd.h>

using namespace norvelle;

namespace {

bool laidOut(StickyTextView& view)
{
    const QTextBlock last = view.document()->lastBlock();
    return last.layout() && last.layout()->lineCount() > 0;
}

// The longest the event loop went without turning from `change` until the table is laid out.
double heldMs(StickyTextView& view, const std::function<void()>& change)
{
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 longest = 0;
    QTimer ticks;
    ticks.setInterval(1);
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    clock.start();
    ticks.start();
    QTimer::singleShot(0, &view, change);
    QApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    while (!laidOut(view))
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    QApplication::processEvents();
    longest = std::max(longest, clock.nsecsElapsed() - last);
    return double(longest) / 1e6;
}

void print(int rows, const char* what, const std::vector<double>& held)
{
    std::printf("%5d rows, %-28s loop held median %8.0f ms, worst %8.0f ms (%zu runs)\n", rows, what,
        bench::percentile(held, 0.5), bench::percentile(held, 1.0), held.size());
    std::fflush(stdout);
}

void measure(PersistenceController& store, int rows, int runs)
{
    UserDefaults::standard().set(QStringLiteral("norvelle.appearance"), QStringLiteral("light"));
    bench::NewNoteWindow opened(store);
    const std::shared_ptr<StickyNote>& note = opened.note;
    StickyWindowController& window = opened.window;
    StickyTextView& view = window.editor()->textView();
    auto* table = new QMimeData;
    table->setHtml(bench::htmlTable(rows));
    QApplication::clipboard()->setMimeData(table);
    view.paste();
    while (!laidOut(view) || !note->plainText().endsWith(QStringLiteral("%1.50\n").arg((rows - 1) * 13 % 10000)))
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);

    std::vector<double> themes;
    for (int run = 0; run < runs; ++run) {
        for (const char* look : {"dark", "light"}) {
            themes.push_back(heldMs(view, [look] {
                UserDefaults::standard().set(QStringLiteral("norvelle.appearance"), QString::fromLatin1(look));
            }));
        }
    }
    print(rows, "theme switch (Settings):", themes);

    std::vector<double> papers;
    for (int run = 0; run < runs; ++run) {
        for (const char* paper : {"#1C1C1E", "#FDFDF8"})
            papers.push_back(heldMs(view, [&window, paper] { window.applyPaperColor(QString::fromLatin1(paper), true); }));
    }
    print(rows, "paper colour flipping ink:", papers);
    window.panel()->hide();
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--limit") == 0 && i + 1 < argc) {
            // A change that holds the loop for minutes is reported as that, not waited out.
            const unsigned limit = unsigned(std::atoi(argv[++i]));
            std::signal(SIGALRM, [](int) {
                static const char message[] = "time limit reached while a change held the loop\n";
                (void)!write(STDOUT_FILENO, message, sizeof message - 1);
                _exit(2);
            });
            alarm(limit);
        } else {
            sizes.push_back(std::atoi(argv[i]));
        }
    }
    if (sizes.empty())
        sizes = {500, 5000};
    QTemporaryDir home;
    qputenv("NORVELLE_HOME", home.path().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    windowsFollowAppearancePreference();
    PersistenceController store(true);
    std::printf("target: a switch held at most 500 ms with 500 rows, 2 s with 5,000 rows\n");
    for (const int rows : sizes)
        measure(store, rows, rows > 1000 ? 3 : 5);
    return 0;
}
