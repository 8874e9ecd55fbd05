// Shows one-line texts of 200 KB, 1 MB, 10 MB and 20 MB (letters with no place to break a
// line) in a sticky window and prints the time until the window has painted them, opening a
// note that holds the line and pasting the line into a new note, and the longest time the
// event loop was held from then until the text is laid out and saved.
#include "editor/RichTextEditor.h"
#include "editor/StickyTextView.h"
#include "sticky/KeyablePanel.h"
#include "sticky/StickyWindowController.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QImage>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

using namespace norvelle;

namespace {

QString oneLine(int characters)
{
    QString line(characters, u'a');
    for (int i = 0; i < characters; ++i)
        line[i] = QChar(u'a' + (i * 7919) % 26);
    return line;
}

double painted(StickyWindowController& controller, const QElapsedTimer& timer)
{
    QImage frame(controller.panel()->size(), QImage::Format_ARGB32_Premultiplied);
    controller.panel()->render(&frame);
    return timer.nsecsElapsed() / 1e6;
}

bool laidOut(StickyWindowController& controller)
{
    const QTextBlock last = controller.editor()->textView().document()->lastBlock();
    return last.layout() && last.layout()->lineCount() > 0;
}

struct Figures {
    double shownMs = 0;
    double longestHoldMs = 0;
};

// Runs `step` from the event loop, then the loop until `done`: the time until `step` has
// painted, and the longest the loop went without turning meanwhile.
Figures measure(const std::function<double(const QElapsedTimer&)>& step, const std::function<bool()>& done)
{
    QElapsedTimer timer;
    qint64 lastTurn = 0;
    qint64 longest = 0;
    QTimer ticks;
    ticks.setInterval(1);
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        const qint64 now = timer.nsecsElapsed();
        longest = std::max(longest, now - lastTurn);
        lastTurn = now;
    });
    Figures figures;
    bool stepped = false;
    timer.start();
    ticks.start();
    QTimer::singleShot(0, [&] {
        figures.shownMs = step(timer);
        stepped = true;
    });
    while (!stepped || !done())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    QApplication::processEvents();
    const qint64 now = timer.nsecsElapsed();
    figures.longestHoldMs = std::max(longest, now - lastTurn) / 1e6;
    return figures;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    PersistenceController store(true);
    std::printf("targets: 200 KB shown within 500 ms, 1 MB within 1000 ms; 10 MB and 20 MB pasted without holding the program 5 s\n");
    // The lengths to try may be given as arguments.
    std::vector<int> lengths {200'000, 1'000'000, 10'000'000, 20'000'000};
    if (argc > 1)
        lengths.clear();
    for (int i = 1; i < argc; ++i)
        lengths.push_back(std::atoi(argv[i]));
    for (const int characters : lengths) {
        const QString line = oneLine(characters);
        const auto note = StickyNote::insert(store.viewContext());
        note->setPlainText(line);
        note->setTitle(line.left(300));
        store.viewContext().save();
        StickyWindowController opened;
        const Figures open = measure([&](const QElapsedTimer& timer) {
            opened.stickyID = note->objectID().uriString();
            opened.initWithNote(note);
            opened.showWindow();
            QApplication::processEvents();
            return painted(opened, timer);
        }, [&] { return laidOut(opened); });
        opened.panel()->hide();

        const auto empty = StickyNote::insert(store.viewContext());
        store.viewContext().save();
        StickyWindowController pasted;
        pasted.stickyID = empty->objectID().uriString();
        pasted.initWithNote(empty);
        pasted.showWindow();
        QApplication::processEvents();
        QApplication::clipboard()->setText(line);
        const Figures paste = measure([&](const QElapsedTimer& timer) {
            pasted.editor()->textView().paste();
            QApplication::processEvents();
            return painted(pasted, timer);
        }, [&] { return laidOut(pasted) && empty->plainText().size() == line.size(); });
        const bool whole = empty->plainText() == line;
        QElapsedTimer key;
        key.start();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QApplication::sendEvent(&pasted.editor()->textView(), &press);
        pasted.flushEditorContents();
        const double keyMs = key.nsecsElapsed() / 1e6;
        // Dark paper turns all the text white.
        const Figures dark = measure([&](const QElapsedTimer& timer) {
            pasted.applyPaperColor(QStringLiteral("#1E1B4B"), true);
            QApplication::processEvents();
            return painted(pasted, timer);
        }, [&] { return laidOut(pasted); });
        std::printf("%8d characters on one line: opened and painted in %6.0f ms (loop held at most %6.0f ms), "
                    "pasted and painted in %6.0f ms (loop held at most %6.0f ms), a key typed after it and saved in %4.0f ms, "
                    "dark paper painted in %6.0f ms (loop held at most %6.0f ms), note holds %s\n",
                    characters, open.shownMs, open.longestHoldMs, paste.shownMs, paste.longestHoldMs, keyMs,
                    dark.shownMs, dark.longestHoldMs,
                    whole && empty->plainText() == line + u'x' ? "every character" : "A DIFFERENT TEXT");
        std::fflush(stdout);
        pasted.panel()->hide();
    }
    return 0;
}
