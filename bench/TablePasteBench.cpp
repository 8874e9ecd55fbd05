// Pastes an HTML table of 5,000 rows (three short cells a row, as a web page or a spreadsheet
// offers one) into a new note in a sticky window, and a 10 MB line with no place to break into
// another, for comparison. Prints, per paste, the longest time the event loop was held from the
// key until the text is laid out and saved, and the size of the stored body against its text.
#include "HtmlTable.h"
#include "NewNoteWindow.h"

#include "editor/RichTextEditor.h"
#include "editor/StickyTextView.h"
#include "sticky/KeyablePanel.h"
#include "sticky/StickyWindowController.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QMimeData>
#include <QTextBlock>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

using namespace norvelle;
using norvelle::bench::NewNoteWindow;

namespace {

QString oneLine(int characters)
{
    QString line(characters, u'a');
    for (int i = 0; i < characters; ++i)
        line[i] = QChar(u'a' + int(qint64(i) * 7919 % 26));
    return line;
}

// The longest the event loop went without turning while it is watched.
class LoopWatch {
public:
    LoopWatch()
    {
        m_ticks.setInterval(1);
        QObject::connect(&m_ticks, &QTimer::timeout, [this] { turned(); });
        m_clock.start();
        m_ticks.start();
    }

    double longestMs()
    {
        turned();
        return double(m_longest) / 1e6;
    }

private:
    void turned()
    {
        const qint64 now = m_clock.nsecsElapsed();
        m_longest = std::max(m_longest, now - m_last);
        m_last = now;
    }

    QElapsedTimer m_clock;
    QTimer m_ticks;
    qint64 m_last = 0;
    qint64 m_longest = 0;
};

struct Pasted {
    double longestHoldMs = 0;
    double untilSavedMs = 0;
    qsizetype bodyBytes = 0;
    qsizetype textCharacters = 0;
};

// Pastes what the clipboard holds into a new note, as Ctrl+V does, and runs the event loop until
// the note is laid out and saved ending in `end`.
Pasted pasteIntoNewNote(PersistenceController& store, const QString& end)
{
    NewNoteWindow opened(store);
    const std::shared_ptr<StickyNote>& note = opened.note;
    StickyWindowController& window = opened.window;
    QApplication::processEvents();
    StickyTextView& view = window.editor()->textView();
    const auto done = [&] {
        const QTextBlock last = view.document()->lastBlock();
        return last.layout() && last.layout()->lineCount() > 0 && note->plainText().endsWith(end);
    };
    QElapsedTimer clock;
    LoopWatch watch;
    clock.start();
    QTimer::singleShot(0, &view, [&view] { view.paste(); });
    while (!done())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    QApplication::processEvents();
    Pasted pasted {watch.longestMs(), double(clock.nsecsElapsed()) / 1e6, note->content().size(), note->plainText().size()};
    window.panel()->hide();
    return pasted;
}

void print(const char* what, const Pasted& pasted)
{
    std::printf("%s: loop held at most %6.0f ms, laid out and saved after %6.0f ms, body %8lld bytes for %7lld characters (%.1f bytes a character)\n",
        what, pasted.longestHoldMs, pasted.untilSavedMs, static_cast<long long>(pasted.bodyBytes),
        static_cast<long long>(pasted.textCharacters), double(pasted.bodyBytes) / double(std::max<qsizetype>(1, pasted.textCharacters)));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    PersistenceController store(true);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 5000;
    std::printf("target: the table pasted holds the loop no longer than the 10 MB line; its body a few bytes a character\n");

    const QString line = oneLine(10'000'000);
    QApplication::clipboard()->setText(line);
    print("10 MB line      ", pasteIntoNewNote(store, line.right(100)));

    auto* table = new QMimeData;
    table->setHtml(bench::htmlTable(rows));
    QApplication::clipboard()->setMimeData(table);
    const QString lastCell = QStringLiteral("%1.50\n").arg((rows - 1) * 13 % 10000);
    print(QStringLiteral("%1-row table").arg(rows, 5).toUtf8().constData(), pasteIntoNewNote(store, lastCell));
    return 0;
}
