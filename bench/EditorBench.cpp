// Types into and loads a 10,000-character note with 200 checklist lines and a 10-row table,
// and prints the median times: one key press through the whole text-change path (normalise,
// encode, both reports, broadcast), and loading the note into a new editor.
#include "editor/RichTextEditor.h"
#include "editor/StickyTextView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
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

Note makeNote()
{
    QString text;
    for (int i = 0; text.size() < 8000; ++i)
        text += QStringLiteral("%1 item %2 to remember\n").arg(i % 3 ? QStringLiteral("\u25CB") : QStringLiteral("\u25CF")).arg(i, 3);
    while (text.size() < 9500)
        text += QStringLiteral("Some plain words of a paragraph that goes on. ");
    RichTextEditor editor(Qt::black, QStringLiteral("#FDFDF8"));
    editor.load(text, std::nullopt);
    Note note;
    QObject::connect(&editor, &RichTextEditor::richDataChanged, [&](const auto& data) { note.richData = data; });
    QObject::connect(&editor, &RichTextEditor::textChanged, [&](const QString& t) { note.text = t; });
    QTextCursor cursor(editor.textView().document());
    cursor.movePosition(QTextCursor::End);
    cursor.beginEditBlock();
    QTextTable* table = cursor.insertTable(10, 2);
    for (int row = 0; row < 10; ++row)
        for (int column = 0; column < 2; ++column)
            table->cellAt(row, column).firstCursorPosition().insertText(QStringLiteral("cell %1").arg(row));
    cursor.endEditBlock();
    return note;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const Note note = makeNote();
    std::printf("note: %lld characters, body %lld bytes\n", qlonglong(note.text.size()), qlonglong(note.richData ? note.richData->size() : 0));

    std::vector<double> loads;
    for (int i = 0; i < 21; ++i) {
        QElapsedTimer timer;
        timer.start();
        RichTextEditor editor(Qt::black, QStringLiteral("#FDFDF8"));
        editor.load(note.text, note.richData);
        loads.push_back(timer.nsecsElapsed() / 1e6);
    }

    RichTextEditor editor(Qt::black, QStringLiteral("#FDFDF8"));
    editor.load(note.text, note.richData);
    Note written;
    QObject::connect(&editor, &RichTextEditor::richDataChanged, [&](const auto& data) { written.richData = data; });
    QObject::connect(&editor, &RichTextEditor::textChanged, [&](const QString& t) { written.text = t; });
    QTextCursor caret = editor.textView().textCursor();
    caret.setPosition(4000);
    editor.textView().setTextCursor(caret);
    std::vector<double> keys;
    for (int i = 0; i < 101; ++i) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QElapsedTimer timer;
        timer.start();
        QApplication::sendEvent(&editor.textView(), &press);
        keys.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf("type one character: median %.3f ms (target < 2 ms)\n", median(keys));
    std::printf("load into a new editor: median %.3f ms (target < 10 ms)\n", median(loads));
    return 0;
}
