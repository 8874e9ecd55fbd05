// A table made and filled in a sticky window on a real X server: the pill's table button is
// clicked and the cell typed into with xdotool; then the program started again over the note.
#include "editor/RichTextBody.h"
#include "editor/RichTextEditor.h"
#include "editor/StickyTextView.h"
#include "platform/Popover.h"
#include "platform/UserDefaults.h"
#include "sticky/ColorSwatch.h"
#include "sticky/KeyablePanel.h"
#include "sticky/StickyControllerTable.h"
#include "sticky/StickyToolbarPill.h"
#include "sticky/StickyWindowController.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"
#include "support/PointerDrag.h"
#include "support/ProgramRun.h"
#include "support/QtPrinters.h"
#include "support/TestHome.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QTimer>
#include <QUuid>

#include <gtest/gtest.h>

#include <csignal>
#include <map>

using namespace norvelle;

namespace {

constexpr int waitMs = 20000;

void clickOn(const QWidget* widget)
{
    const QPoint centre = widget->mapToGlobal(widget->rect().center());
    ASSERT_TRUE(test::xdotool({"mousemove", "--sync", QString::number(centre.x()), QString::number(centre.y()), "click", "1"}));
}

bool pressKeys(const QString& keys)
{
    return test::xdotool(QStringList {"key", "--clearmodifiers"} + keys.split(u' '));
}

bool type(const QString& text)
{
    return test::xdotool({"type", "--delay", "30", text});
}

// The note's window open with the keyboard in it.
void openNote(StickyNote& note, StickyControllerTable& table, StickyWindowController*& controller)
{
    table.openSticky(note);
    controller = table.controller(note.objectID().uriString());
    ASSERT_TRUE(controller && QTest::qWaitForWindowExposed(controller->panel()));
    ASSERT_TRUE(test::xdotool({"windowactivate", "--sync", QString::number(controller->panel()->winId())}));
}

std::shared_ptr<StickyNote> insertNote(PersistenceController& store, const QString& text, const QByteArray& body = {})
{
    auto note = StickyNote::insert(store.viewContext());
    note->setId(QUuid::createUuid());
    note->setTitle("Untitled");
    note->setPlainText(text);
    if (!body.isEmpty())
        note->setContent(body);
    store.viewContext().save();
    return note;
}

// A new note's window with the keyboard, and a table put in by the pill's button.
void openNoteWithNewTable(PersistenceController& store, StickyControllerTable& table, StickyWindowController*& controller)
{
    const std::shared_ptr<StickyNote> note = insertNote(store, QString());
    ASSERT_NO_FATAL_FAILURE(openNote(*note, table, controller));
    clickOn(controller->toolbarPill()->findChild<QAbstractButton*>("table"));
    ASSERT_TRUE(test::waitUntil([&] { return note->plainText().count(u'\n') == 5; }, waitMs));
}

// The one note of the store in the file, as the program opens it again.
std::shared_ptr<StickyNote> onlyNote(PersistenceController& store)
{
    const auto notes = store.viewContext().fetch(StickyNote::fetchRequest());
    return notes.size() == 1 ? notes.front() : nullptr;
}

// The store's one note opened again, as the program does once started anew over its file.
struct ReopenedNote {
    PersistenceController store;
    StickyControllerTable table;
    std::shared_ptr<StickyNote> note = onlyNote(store);
    StickyWindowController* controller = nullptr;

    void open()
    {
        ASSERT_TRUE(note);
        ASSERT_NO_FATAL_FAILURE(openNote(*note, table, controller));
    }
    StickyTextView& view() const { return controller->editor()->textView(); }
};

QTextTable* onlyTable(const QTextDocument& document)
{
    const QList<QTextFrame*> frames = document.rootFrame()->childFrames();
    return frames.size() == 1 ? qobject_cast<QTextTable*>(frames.front()) : nullptr;
}

const QChar placeholder(0x200B);

// What a program that reads the clipboard as `type` is given.
QString clipboardAs(const QString& type)
{
    return QString::fromUtf8(test::runProgram("xclip", {"-o", "-selection", "clipboard", "-t", type}));
}

// A zero-width space as RTF or HTML can spell it.
bool holdsPlaceholder(const QString& text)
{
    return text.contains(placeholder) || text.contains("\\u8203") || text.contains("&#8203;") || text.contains("&#x200b;", Qt::CaseInsensitive);
}

// A swatch of the colours popover clicked, and the popover closed with Escape.
void pickPaper(StickyWindowController& controller, const QString& hex)
{
    StickyToolbarPill* pill = controller.toolbarPill();
    const auto shown = [&] { return pill->colorsPopover() && pill->colorsPopover()->isVisible(); };
    // A popover just closed does not open at the next click, and one just opened can still be
    // taking its place.
    ASSERT_TRUE(test::waitUntil([&] {
        if (!shown()) {
            test::clickOn(pill->findChild<QAbstractButton*>("colors"));
            test::waitUntil([] { return false; }, 600);
            return false;
        }
        for (ColorSwatch* swatch : pill->colorsPopover()->findChildren<ColorSwatch*>()) {
            if (swatch->isVisible() && swatch->hex() == hex) {
                test::clickOn(swatch);
                break;
            }
        }
        return test::waitUntil([&] { return controller.note()->paperColor() == hex; }, 2000);
    },
        waitMs));
    ASSERT_TRUE(pressKeys("Escape"));
    ASSERT_TRUE(test::waitUntil([&] { return !shown() && controller.editor()->textView().hasFocus(); }, waitMs));
}

} // namespace

TEST(StickyTableX11, AWordTypedIntoANewCellStandsAloneLevelWithItsNeighbour)
{
    PersistenceController store {true};
    StickyControllerTable table;
    StickyWindowController* controller = nullptr;
    ASSERT_NO_FATAL_FAILURE(openNoteWithNewTable(store, table, controller));
    const std::shared_ptr<StickyNote> note = controller->note();

    // A note that begins with an empty table has no title: its window is "Untitled".
    EXPECT_EQ(note->title(), "");
    EXPECT_EQ(controller->panel()->windowTitle(), "Untitled");

    ASSERT_TRUE(test::xdotool({"type", "--delay", "30", "Supercalifragilistic"}));
    ASSERT_TRUE(test::waitUntil([&] { return note->plainText().contains("Supercalifragilistic"); }, waitMs));
    const QStringList lines = note->plainText().split(u'\n');
    EXPECT_EQ(lines.value(1), "Supercalifragilistic");
    EXPECT_EQ(lines.value(2), "");
    EXPECT_EQ(note->title(), "Supercalifragilistic");
    EXPECT_EQ(controller->panel()->windowTitle(), "Supercalifragilistic");

    // The word starts on the cell's first line, level with the empty cell beside it.
    StickyTextView& view = controller->editor()->textView();
    QTextTable* cells = onlyTable(*view.document());
    ASSERT_TRUE(cells);
    QTextCursor word = cells->cellAt(0, 0).firstCursorPosition();
    word.movePosition(QTextCursor::NextCharacter);
    const QTextCursor neighbour = cells->cellAt(0, 1).firstCursorPosition();
    EXPECT_EQ(view.cursorRect(word).top(), view.cursorRect(neighbour).top());
}

TEST(StickyTableX11, ANoteHoldingOnlyATableKeepsItsPlaceholdersOutOfItsTitleOnceStartedAgain)
{
    {
        PersistenceController store;
        StickyControllerTable table;
        StickyWindowController* controller = nullptr;
        ASSERT_NO_FATAL_FAILURE(openNoteWithNewTable(store, table, controller));
        EXPECT_EQ(controller->note()->title(), "");
    }

    const auto stored = [] {
        PersistenceController store;
        const auto notes = store.viewContext().fetch(StickyNote::fetchRequest());
        return notes.size() == 1 ? std::pair(notes.front()->title(), notes.front()->plainText()) : std::pair(QString(), QString());
    };

    // The program started again over the same store, then quit: its launch fills in the title.
    UserDefaults::standard().set("norvelle.hasCompletedOnboarding", true);
    UserDefaults::standard().synchronize();
    QProcess program;
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(QCoreApplication::applicationDirPath() + "/../norvelle", {});
    ASSERT_TRUE(program.waitForStarted(waitMs));
    EXPECT_TRUE(test::waitUntil([&] { return !stored().first.isEmpty(); }, waitMs));
    ::kill(pid_t(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(waitMs));

    const auto [title, plainText] = stored();
    EXPECT_FALSE(title.contains(QChar(0x200B))) << title.toStdString();
    EXPECT_EQ(plainText.count(u'\n'), 5) << "the table is still there";

    // What is typed at its end goes after the table, not into its last cell.
    ReopenedNote reopened;
    ASSERT_NO_FATAL_FAILURE(reopened.open());
    ASSERT_TRUE(pressKeys("ctrl+End") && type("next"));
    EXPECT_TRUE(test::waitUntil([&] { return reopened.note->plainText() == "\n\n\n\n\nnext"; }, waitMs))
        << reopened.note->plainText().toStdString();
}

TEST(StickyTableX11, ATablesPlaceholdersStayOutOfItsStoredTextAndWhatIsCopiedButNotOutOfTheReopenedNote)
{
    const QString typed = QStringLiteral("before table\ncell\n\n\n\nafter table");
    {
        PersistenceController store;
        StickyControllerTable table;
        StickyWindowController* controller = nullptr;
        ASSERT_NO_FATAL_FAILURE(openNoteWithNewTable(store, table, controller));
        const std::shared_ptr<StickyNote> note = controller->note();
        ASSERT_TRUE(type("cell") && pressKeys("ctrl+End") && type("after table") && pressKeys("ctrl+Home") && type("before table"));
        ASSERT_TRUE(test::waitUntil([&] { return note->plainText().startsWith("before table"); }, waitMs));
        EXPECT_EQ(note->plainText(), typed);
        EXPECT_EQ(note->title(), "before table");

        // A terminal pasting the note gets its lines and nothing it cannot show.
        ASSERT_TRUE(pressKeys("ctrl+a ctrl+c"));
        ASSERT_TRUE(test::waitUntil([] { return QApplication::clipboard()->text().contains("after table"); }, waitMs));
        EXPECT_EQ(QString::fromUtf8(test::runProgram("xclip", {"-o", "-selection", "clipboard", "-t", "UTF8_STRING"})), typed);
    }

    ReopenedNote reopened;
    ASSERT_NO_FATAL_FAILURE(reopened.open());
    EXPECT_TRUE(onlyTable(*reopened.view().document())) << "opened with its table, not as plain lines";
    EXPECT_EQ(plainTextOf(*reopened.view().document()), typed);

    // Its empty cells are walked with Tab and typed into as before.
    ASSERT_TRUE(pressKeys("ctrl+Home End Right Tab") && type("x"));
    EXPECT_TRUE(test::waitUntil([&] { return reopened.note->plainText() == "before table\ncell\nx\n\n\nafter table"; }, waitMs))
        << reopened.note->plainText().toStdString();
}

TEST(StickyTableX11, ABodyThatNoLongerMatchesItsTextOpensWithTheFormattingWhereTheTextStillMatches)
{
    // A bold line, a 2 × 2 table with its placeholders and a line after it, as the editor wrote
    // them before its plain texts left the placeholders out.
    const QByteArray body = "{\\rtf1\\ansi{\\fonttbl\\f0\\fswiss Helvetica;}\\f0\\fs28 {\\b Rota}\\par\n"
                            "\\trowd\\cellx2000\\cellx4000\\pard\\intbl Mon\\cell\\u8203?\\cell\\row\n"
                            "\\trowd\\cellx2000\\cellx4000\\pard\\intbl Tue\\cell Ann\\cell\\row\n"
                            "\\pard\\u8203?after\\par}";
    const QString zw(QChar(0x200B));
    struct Case {
        const char* what;
        QString stored; // the note's plain text
        QString opened; // the plain text it opens with
        bool table;
    };
    const Case cases[] = {
        {"saved with placeholders", "Rota\nMon\n" + zw + "\nTue\nAnn\n" + zw + "after", "Rota\nMon\n\nTue\nAnn\nafter", true},
        // A cell the body lost (a column it could not hold), or one written in by a sync.
        {"a cell more", "Rota\nMon\n\nBob\nTue\nAnn\nafter", "Rota\nMon\n\nBob\nTue\nAnn\nafter", true},
        {"lines gone across cells", "Rota\nMon\nAnn\nafter", "Rota\nMon\nAnn\nafter", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        {
            PersistenceController store;
            if (const std::shared_ptr<StickyNote> old = onlyNote(store))
                store.viewContext().deleteObject(old);
            insertNote(store, c.stored, body);
        }
        ReopenedNote reopened;
        ASSERT_NO_FATAL_FAILURE(reopened.open());
        QTextDocument& document = *reopened.view().document();
        EXPECT_EQ(plainTextOf(document), c.opened);
        EXPECT_EQ(onlyTable(document) != nullptr, c.table);
        QTextCursor rota(&document);
        rota.setPosition(2);
        EXPECT_GE(rota.charFormat().fontWeight(), QFont::Bold) << "the title line stays bold";

        // One key later the note is stored with what it shows.
        ASSERT_TRUE(pressKeys("ctrl+End") && type("!"));
        ASSERT_TRUE(test::waitUntil([&] { return reopened.note->plainText().endsWith("!"); }, waitMs));
        EXPECT_EQ(reopened.note->plainText(), c.opened + "!");
        reopened.controller->panel()->close();
    }
}

TEST(StickyTableX11, ATableWiderThanANoteHoldsKeepsEveryCellAndTakesNoColumnMore)
{
    QString html = QStringLiteral("<table><tr>");
    QStringList cells;
    for (int column = 1; column <= 70; ++column) {
        cells << QStringLiteral("c%1").arg(column);
        html += "<td>" + cells.back() + "</td>";
    }
    html += QStringLiteral("</tr></table>");
    {
        PersistenceController store;
        StickyControllerTable table;
        StickyWindowController* controller = nullptr;
        const std::shared_ptr<StickyNote> note = insertNote(store, "Wide");
        ASSERT_NO_FATAL_FAILURE(openNote(*note, table, controller));
        test::runProgram("xclip", {"-selection", "clipboard", "-t", "text/html", "-i"}, html.toUtf8());
        ASSERT_TRUE(test::waitUntil([] { return QApplication::clipboard()->mimeData()->hasHtml(); }, 4 * waitMs));
        ASSERT_TRUE(pressKeys("ctrl+End Return ctrl+v"));
        ASSERT_TRUE(test::waitUntil([&] { return note->plainText().contains("c64"); }, waitMs));
        EXPECT_TRUE(note->plainText().contains(cells.join(u'\n'))) << note->plainText().toStdString();
    }

    ReopenedNote reopened;
    ASSERT_NO_FATAL_FAILURE(reopened.open());
    StickyTextView& view = reopened.view();
    QTextTable* wide = onlyTable(*view.document());
    ASSERT_TRUE(wide) << "opened with its table";
    EXPECT_EQ(wide->columns(), 64);
    EXPECT_TRUE(plainTextOf(*view.document()).contains(cells.join(u'\n')));

    // The table menu of a cell says why no column is added. It runs its own event loop: it is
    // read from there.
    std::map<QString, std::pair<bool, QString>> addColumn; // title: enabled, tool tip
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* item : menu->actions()) {
                if (item->text().startsWith("Add Column"))
                    addColumn[item->text()] = {item->isEnabled(), item->toolTip()};
            }
            menu->close();
        }
    });
    poll.start(50);
    const QPoint cell = view.viewport()->mapToGlobal(view.cursorRect(wide->cellAt(0, 0).firstCursorPosition()).center());
    ASSERT_TRUE(test::xdotool({"mousemove", "--sync", QString::number(cell.x()), QString::number(cell.y()), "click", "3"}));
    ASSERT_TRUE(test::waitUntil([&] { return !addColumn.empty(); }, waitMs));
    for (const char* title : {"Add Column Left", "Add Column Right"}) {
        ASSERT_TRUE(addColumn.count(title)) << title;
        EXPECT_FALSE(addColumn[title].first) << title;
        EXPECT_EQ(addColumn[title].second, "A table holds at most 64 columns");
    }
}

TEST(StickyTableX11, ATablesPlaceholdersGoWithNoCopyNorItsBodyAndItsEmptyCellsPasteBackEmpty)
{
    PersistenceController store;
    StickyControllerTable table;
    StickyWindowController* copiedFrom = nullptr;
    ASSERT_NO_FATAL_FAILURE(openNoteWithNewTable(store, table, copiedFrom));
    const std::shared_ptr<StickyNote> source = copiedFrom->note();
    ASSERT_TRUE(type("cell") && pressKeys("ctrl+End") && type("after"));
    const QString typed = QStringLiteral("\ncell\n\n\n\nafter");
    ASSERT_TRUE(test::waitUntil([&] { return source->plainText() == typed; }, waitMs)) << source->plainText().toStdString();
    ASSERT_TRUE(pressKeys("ctrl+a ctrl+c"));
    ASSERT_TRUE(test::waitUntil([] { return QApplication::clipboard()->text().endsWith("after"); }, waitMs));

    const QString html = clipboardAs("text/html");
    const QString rtf = clipboardAs("text/rtf");
    ASSERT_TRUE(html.contains("after") && rtf.contains("after")) << html.toStdString() << rtf.toStdString();
    EXPECT_FALSE(holdsPlaceholder(html)) << html.toStdString();
    EXPECT_FALSE(holdsPlaceholder(rtf)) << rtf.toStdString();
    EXPECT_FALSE(holdsPlaceholder(QString::fromLatin1(source->content()))) << source->content().toStdString();

    // Pasted into another note: the same table, its empty cells empty and walked with Tab.
    const std::shared_ptr<StickyNote> other = insertNote(store, QString());
    StickyWindowController* pastedInto = nullptr;
    ASSERT_NO_FATAL_FAILURE(openNote(*other, table, pastedInto));
    ASSERT_TRUE(pressKeys("ctrl+v"));
    ASSERT_TRUE(test::waitUntil([&] { return other->plainText() == typed; }, waitMs)) << other->plainText().toStdString();
    QTextTable* pasted = onlyTable(*pastedInto->editor()->textView().document());
    ASSERT_TRUE(pasted);
    ASSERT_TRUE(pressKeys("ctrl+Home Right Tab Tab") && type("x"));
    EXPECT_TRUE(test::waitUntil([&] { return other->plainText() == "\ncell\n\nx\n\nafter"; }, waitMs)) << other->plainText().toStdString();
    EXPECT_FALSE(holdsPlaceholder(QString::fromLatin1(other->content()))) << other->content().toStdString();
}

TEST(StickyTableX11, TheMarkEscapeLeavesAfterAPastedTableStaysOutOfItsBodyThroughPaperPicks)
{
    PersistenceController store;
    StickyControllerTable table;
    StickyWindowController* controller = nullptr;
    const std::shared_ptr<StickyNote> note = insertNote(store, "Data");
    ASSERT_NO_FATAL_FAILURE(openNote(*note, table, controller));
    QString html = QStringLiteral("<table>");
    for (int row = 0; row < 5000; ++row)
        html += QStringLiteral("<tr><td>row %1</td><td>name %2</td><td>%3.50</td></tr>").arg(row).arg(row % 997).arg(row * 13);
    test::runProgram("xclip", {"-selection", "clipboard", "-t", "text/html", "-i"}, (html + "</table>").toUtf8());
    ASSERT_TRUE(test::waitUntil([] { return QApplication::clipboard()->mimeData()->hasHtml(); }, 4 * waitMs));
    ASSERT_TRUE(pressKeys("ctrl+End Return ctrl+v"));
    ASSERT_TRUE(test::waitUntil([&] { return note->plainText().endsWith("64987.50\n"); }, 10 * waitMs));

    // A click in the table's first cell once it is laid out, out of it with Escape, and a key.
    StickyTextView& view = controller->editor()->textView();
    ASSERT_TRUE(test::waitUntil([&] {
        const QTextBlock last = view.document()->lastBlock();
        return last.layout() && last.layout()->lineCount() > 0;
    },
        10 * waitMs));
    ASSERT_TRUE(pressKeys("ctrl+Home"));
    ASSERT_TRUE(test::waitUntil([&] { return view.textCursor().position() == 0; }, waitMs));
    QTextTable* pasted = qobject_cast<QTextTable*>(view.document()->rootFrame()->childFrames().value(0));
    ASSERT_TRUE(pasted);
    test::clickAt(view.viewport()->mapToGlobal(view.cursorRect(pasted->cellAt(0, 0).firstCursorPosition()).center()));
    ASSERT_TRUE(test::waitUntil([&] { return view.textCursor().currentTable() == pasted; }, waitMs));
    ASSERT_TRUE(pressKeys("Escape") && type("U"));
    ASSERT_TRUE(test::waitUntil([&] { return note->plainText().contains("\nU\n"); }, waitMs));
    EXPECT_EQ(view.document()->findBlock(pasted->lastPosition() + 1).text(), placeholder + QStringLiteral("U")) << "the caret's place after the table";
    EXPECT_FALSE(holdsPlaceholder(QString::fromLatin1(note->content())));

    // Each paper turns the ink over, and the body is written again whole at the next key.
    QString line = QStringLiteral("U");
    for (const QString& paper : {QStringLiteral("#1C1C1E"), QStringLiteral("#FDFDF8")}) {
        ASSERT_NO_FATAL_FAILURE(pickPaper(*controller, paper));
        ASSERT_TRUE(type("!"));
        line += u'!';
        ASSERT_TRUE(test::waitUntil([&] { return note->plainText().contains("\n" + line + "\n"); }, waitMs)) << paper.toStdString();
        EXPECT_TRUE(note->content().contains(line.toLatin1())) << paper.toStdString();
        EXPECT_FALSE(holdsPlaceholder(QString::fromLatin1(note->content()))) << paper.toStdString();
    }
}
