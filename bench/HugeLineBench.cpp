// Shows one-line texts of 200 KB and 1 MB (letters with no place to break a line) in a
// sticky window and prints the time until the window has painted them: opening a note that
// holds the line, and pasting the line into a new note.
#include "editor/RichTextEditor.h"
#include "editor/StickyTextView.h"
#include "sticky/KeyablePanel.h"
#include "sticky/StickyWindowController.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QImage>

#include <cstdio>

using namespace norvelle;

namespace {

QString oneLine(int characters)
{
    QString line(characters, u'a');
    for (int i = 0; i < characters; ++i)
        line[i] = QChar(u'a' + (i * 7919) % 26);
    return line;
}

double shownMs(StickyWindowController& controller, QElapsedTimer& timer)
{
    controller.showWindow();
    QApplication::processEvents();
    QImage frame(controller.panel()->size(), QImage::Format_ARGB32_Premultiplied);
    controller.panel()->render(&frame);
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    PersistenceController store(true);
    std::printf("targets: 200 KB shown within 500 ms, 1 MB within 1000 ms\n");
    for (const int characters : {200'000, 1'000'000}) {
        const QString line = oneLine(characters);
        const auto note = StickyNote::insert(store.viewContext());
        note->setPlainText(line);
        note->setTitle(line);
        store.viewContext().save();
        QElapsedTimer timer;
        timer.start();
        StickyWindowController opened;
        opened.stickyID = note->objectID().uriString();
        opened.initWithNote(note);
        const double openMs = shownMs(opened, timer);
        opened.panel()->hide();

        const auto empty = StickyNote::insert(store.viewContext());
        store.viewContext().save();
        StickyWindowController pasted;
        pasted.stickyID = empty->objectID().uriString();
        pasted.initWithNote(empty);
        pasted.showWindow();
        QApplication::processEvents();
        QApplication::clipboard()->setText(line);
        timer.restart();
        pasted.editor()->textView().paste();
        const double pasteMs = shownMs(pasted, timer);
        pasted.flushEditorContents();
        std::printf("%8d characters on one line: opened and painted in %7.0f ms, pasted and painted in %7.0f ms, "
                    "note holds %lld characters\n",
                    characters, openMs, pasteMs, qlonglong(empty->plainText().size()));
        std::fflush(stdout);
        pasted.panel()->hide();
    }
    return 0;
}
