// Types into sticky windows whose notes hold about 10,000, 100,000 and 1,000,000 characters
// (checklist lines, paragraphs and a 10-row table every 10,000 characters), each window on a
// note store in a file. Prints, per size, the median time from a key press to the note's save
// committed to the store, the time until 50 keys arriving 9 ms apart are all handled and saved,
// and the median time to load the note into a new editor.
//
// Keys that arrive together are encoded and saved once, after the last of them. A save writes
// again only the paragraphs and tables that changed since the last one and copies the bytes of the
// rest; after a key only the changed lines are looked at for checklist tokens and counted. The
// store's write-ahead log is copied back by a thread of its own. A note without right-to-left
// letters is laid out left to right outright. Where a key in a note of a megabyte goes (profiled):
// Qt moving every line after the caret, about 10 ms; SQLite writing the note's three megabytes of
// body and text again, about 9 ms (3 ms of it its log, 2 ms reading the old row's pages back to
// free them); encoding, about 2 ms. The first save after a note opens, a theme switch or a colour
// first used near the top writes the whole body, about 0.1 s at a megabyte.
#include "editor/RichTextEditor.h"
#include "editor/StickyTextView.h"
#include "objectstore/ObjectContext.h"
#include "sticky/KeyablePanel.h"
#include "sticky/StickyWindowController.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextTable>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace norvelle;

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Note {
    QString text;
    std::optional<QByteArray> richData;
};

// One tenth of the bench's smallest note: checklist lines, a paragraph and a table.
void appendSection(QTextCursor& cursor, int section)
{
    QString lines;
    for (int i = 0; lines.size() < 8000; ++i)
        lines += QStringLiteral("%1 item %2 to remember\n").arg(i % 3 ? QStringLiteral("\u25CB") : QStringLiteral("\u25CF")).arg(i, 3);
    while (lines.size() < 9500)
        lines += QStringLiteral("Some plain words of a paragraph that goes on. ");
    cursor.insertText(lines + QStringLiteral("\n"));
    QTextTable* table = cursor.insertTable(10, 2);
    for (int row = 0; row < 10; ++row)
        for (int column = 0; column < 2; ++column)
            table->cellAt(row, column).firstCursorPosition().insertText(QStringLiteral("cell %1.%2").arg(section).arg(row));
    cursor.movePosition(QTextCursor::End);
}

Note makeNote(int characters)
{
    RichTextEditor editor(Qt::black, QStringLiteral("#FDFDF8"));
    Note note;
    QObject::connect(&editor, &RichTextEditor::richDataChanged, [&](const auto& data) { note.richData = data; });
    QObject::connect(&editor, &RichTextEditor::textChanged, [&](const QString& t) { note.text = t; });
    QTextCursor cursor(editor.textView().document());
    cursor.beginEditBlock();
    for (int section = 0; section * 10000 < characters; ++section)
        appendSection(cursor, section);
    cursor.endEditBlock();
    QApplication::processEvents();
    return note;
}

void press(QWidget& view)
{
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QApplication::sendEvent(&view, &key);
}

// Runs the event loop until the note's save after the last key is committed.
void untilSaved(const StickyNote& note, qint64 versionBefore)
{
    while (note.version() <= versionBefore || note.managedObjectContext()->hasChanges())
        QApplication::processEvents();
}

void measure(PersistenceController& store, int characters)
{
    const Note made = makeNote(characters);
    const auto note = StickyNote::insert(store.viewContext());
    note->setPlainText(made.text);
    note->setContent(made.richData.value_or(QByteArray()));
    note->setPaperColor(QStringLiteral("#FFF8E8"));
    store.viewContext().save();

    std::vector<double> loads;
    for (int i = 0; i < 7; ++i) {
        QElapsedTimer timer;
        timer.start();
        RichTextEditor editor(Qt::black, QStringLiteral("#FDFDF8"));
        editor.load(made.text, made.richData);
        loads.push_back(timer.nsecsElapsed() / 1e6);
    }

    StickyWindowController controller;
    controller.stickyID = note->objectID().uriString();
    controller.initWithNote(note);
    controller.showWindow();
    QApplication::processEvents();
    StickyTextView& view = controller.editor()->textView();
    view.setFocus();
    QTextCursor caret = view.textCursor();
    caret.setPosition(int(made.text.size() / 2));
    view.setTextCursor(caret);

    std::vector<double> keys;
    for (int i = 0; i < 31; ++i) {
        const qint64 version = note->version();
        QElapsedTimer timer;
        timer.start();
        press(view);
        untilSaved(*note, version);
        keys.push_back(timer.nsecsElapsed() / 1e6);
    }

    // Keys land in the event queue at their arrival times, as a typist's keys reach a busy
    // program: whatever arrived while it worked waits for its next turn.
    constexpr int burst = 50;
    constexpr qint64 arrivalMs = 9;
    const qint64 version = note->version();
    const QString before = note->plainText();
    QElapsedTimer timer;
    timer.start();
    int sent = 0;
    while (sent < burst) {
        while (sent < burst && timer.elapsed() >= sent * arrivalMs) {
            QApplication::postEvent(&view, new QKeyEvent(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, QStringLiteral("b")));
            ++sent;
        }
        QApplication::processEvents();
    }
    while (note->plainText().size() < before.size() + burst)
        QApplication::processEvents();
    untilSaved(*note, version);
    const double burstMs = timer.nsecsElapsed() / 1e6;

    std::printf("%7lld characters (body %7lld bytes): key to save committed, median %7.2f ms; "
                "50 keys 9 ms apart handled and saved in %6.0f ms; load into a new editor, median %6.1f ms\n",
        qlonglong(made.text.size()), qlonglong(made.richData ? made.richData->size() : 0), median(keys), burstMs,
        median(loads));
    std::fflush(stdout);
    controller.panel()->hide();
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The store is a file, as the program's is.
    const QTemporaryDir home;
    qputenv("NORVELLE_HOME", home.path().toLocal8Bit());
    PersistenceController store;
    std::printf("targets: key to save 2 ms at 10,000 characters, 4 ms at 100 KB, 16 ms at 1 MB; 50 keys in 1 MB within 1 s\n");
    for (const int characters : {10000, 100000, 1000000})
        measure(store, characters);
    return 0;
}
