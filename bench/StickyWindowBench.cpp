// Opens sticky windows for a 10,000-character note with checklists and a table and prints the
// median time to the first paint, then the extra resident memory of 20 open windows, per window.
#include "editor/RichTextEditor.h"
#include "editor/StickyTextView.h"
#include "sticky/KeyablePanel.h"
#include "sticky/StickyWindowController.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextTable>

#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <vector>

using namespace norvelle;

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double residentMiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) {
        return 0;
    }
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0) : 0;
}

// The note's text and rich body, as the editor writes them.
std::pair<QString, std::optional<QByteArray>> makeBody()
{
    QString text;
    for (int i = 0; text.size() < 8000; ++i) {
        text += QStringLiteral("%1 item %2 to remember\n").arg(i % 3 ? QStringLiteral("\u25CB") : QStringLiteral("\u25CF")).arg(i, 3);
    }
    while (text.size() < 9500) {
        text += QStringLiteral("Some plain words of a paragraph that goes on. ");
    }
    RichTextEditor editor(Qt::black, QStringLiteral("#FDFDF8"));
    editor.load(text, std::nullopt);
    std::pair<QString, std::optional<QByteArray>> body;
    QObject::connect(&editor, &RichTextEditor::richDataChanged, [&](const auto& data) { body.second = data; });
    QObject::connect(&editor, &RichTextEditor::textChanged, [&](const QString& t) { body.first = t; });
    QTextCursor cursor(editor.textView().document());
    cursor.movePosition(QTextCursor::End);
    QTextTable* table = cursor.insertTable(10, 2);
    for (int row = 0; row < 10; ++row) {
        table->cellAt(row, 0).firstCursorPosition().insertText(QStringLiteral("cell %1").arg(row));
    }
    return body;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("NORVELLE_HOME", home.path().toLocal8Bit());
    QApplication app(argc, argv);
    PersistenceController store(true);
    const auto [text, richData] = makeBody();
    std::printf("note: %lld characters, body %lld bytes\n", qlonglong(text.size()), qlonglong(richData ? richData->size() : 0));

    const auto note = StickyNote::insert(store.viewContext());
    note->setPlainText(text);
    note->setContent(richData.value_or(QByteArray()));
    note->setPaperColor(QStringLiteral("#FFF8E8"));
    store.viewContext().save();

    QImage frame(280, 340, QImage::Format_ARGB32_Premultiplied);
    std::vector<double> opens;
    for (int i = 0; i < 21; ++i) {
        QElapsedTimer timer;
        timer.start();
        StickyWindowController controller;
        controller.stickyID = note->objectID().uriString();
        controller.initWithNote(note);
        controller.showWindow();
        controller.panel()->render(&frame);
        opens.push_back(timer.nsecsElapsed() / 1e6);
        controller.panel()->hide();
    }
    std::printf("open a sticky window to its first paint: median %.3f ms (target < 30 ms)\n", median(opens));

    QApplication::processEvents();
    const double before = residentMiB();
    std::vector<std::unique_ptr<StickyWindowController>> open;
    for (int i = 0; i < 20; ++i) {
        auto controller = std::make_unique<StickyWindowController>();
        controller->stickyID = QStringLiteral("bench-%1").arg(i);
        controller->initWithNote(note);
        controller->showWindow();
        controller->panel()->render(&frame);
        open.push_back(std::move(controller));
    }
    QApplication::processEvents();
    const double after = residentMiB();
    std::printf("20 open sticky windows: %.2f MiB more resident, %.2f MiB per window (aim < 2 MiB)\n",
        after - before, (after - before) / 20.0);
    // Hidden first, so quitting the bench leaves the note as it was.
    for (auto& controller : open) {
        controller->panel()->hide();
    }
    return 0;
}
