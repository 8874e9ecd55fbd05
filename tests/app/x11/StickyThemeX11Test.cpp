// A note on the theme's paper while the user switches the theme in Settings or picks a paper
// colour, clicks into the note and types: its text follows the paper both ways, what is stored
// names no theme colour, so the note reads the same after reopening, and a change of look is no
// edit: it keeps the undo history and every key typed after it.
#include "app/AppDelegateFixture.h"
#include "editor/EditorCommands.h"
#include "editor/RichTextBody.h"
#include "editor/RichTextEditor.h"
#include "editor/StickyTextView.h"
#include "objectstore/SqliteConnection.h"
#include "platform/NotificationCenter.h"
#include "platform/Popover.h"
#include "settings/GeneralPane.h"
#include "settings/NorvelleSettingsView.h"
#include "settings/SettingsWindowController.h"
#include "settings/StoredChoicePicker.h"
#include "sticky/ColorSwatch.h"
#include "sticky/KeyablePanel.h"
#include "sticky/StickyContentView.h"
#include "sticky/StickyToolbarPill.h"
#include "sticky/StickyWindowController.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"
#include "support/PointerDrag.h"
#include "support/ProgramRun.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextTable>

namespace norvelle::test {
namespace {

constexpr int waitMs = 20000;

void clickOn(const QWidget* widget, QPoint at)
{
    movePointer(widget->mapToGlobal(at));
    ASSERT_TRUE(xdotool({"click", "1"}));
}

// Whether the note's first line reads as the X server shows it: on dark paper (most pixels
// dark) light text, on light paper dark text.
bool readsOn(StickyWindowController& controller, bool darkPaper)
{
    StickyTextView& view = controller.editor()->textView();
    const QRect first = view.cursorRect(QTextCursor(view.document()));
    const QPoint origin = view.viewport()->mapToGlobal(first.topLeft());
    const QImage shot = QGuiApplication::primaryScreen()->grabWindow(0, origin.x(), origin.y(), 120, first.height()).toImage();
    std::vector<int> lightness;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            lightness.push_back(QColor(shot.pixel(x, y)).lightness());
        }
    }
    std::sort(lightness.begin(), lightness.end());
    const int paper = lightness[lightness.size() / 2];
    return darkPaper ? paper < 80 && lightness.back() > 170 : paper > 200 && lightness.front() < 90;
}

// Whether the X server shows the note's first table with its column borders lighter than its
// cells on dark paper, darker on light paper: read along the padding above the first row's text.
bool tableLinesStandOut(StickyWindowController& controller, bool darkPaper)
{
    StickyTextView& view = controller.editor()->textView();
    QTextTable* table = nullptr;
    for (QTextFrame* frame : view.document()->rootFrame()->childFrames())
        table = table ? table : qobject_cast<QTextTable*>(frame);
    if (!table)
        return false;
    QTextCursor first = table->cellAt(0, 0).firstCursorPosition();
    QTextCursor last = table->cellAt(0, table->columns() - 1).firstCursorPosition();
    const QRect from = view.cursorRect(first);
    const QRect to = view.cursorRect(last);
    const QPoint origin = view.viewport()->mapToGlobal(QPoint(from.left(), from.top() - 4));
    const QImage shot = QGuiApplication::primaryScreen()->grabWindow(0, origin.x(), origin.y(), to.left() - from.left(), 1).toImage();
    std::vector<int> lightness;
    for (int x = 0; x < shot.width(); ++x)
        lightness.push_back(QColor(shot.pixel(x, 0)).lightness());
    if (lightness.empty())
        return false;
    std::sort(lightness.begin(), lightness.end());
    const int cell = lightness[lightness.size() / 2];
    return darkPaper ? lightness.back() > cell + 40 : lightness.front() < cell - 40;
}

// The colour a word is drawn in: its own, else the paper's ink.
QColor colorOfWord(StickyTextView& view, const QString& word)
{
    for (QTextBlock block = view.document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (it.fragment().text().contains(word)) {
                return format.hasProperty(QTextFormat::ForegroundBrush) ? format.foreground().color()
                                                                        : view.palette().color(QPalette::Text);
            }
        }
    }
    return {};
}

class StickyThemeX11Test : public AppDelegateTest {
protected:
    void chooseTheme(const QString& rawValue)
    {
        app().openSettings(QStringLiteral("General"));
        QWidget* window = app().settingsWindowController()->window();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        // Once framed, the window is moved to its place: the click waits for it.
        ASSERT_TRUE(waitUntilPlaced(window));
        auto* pane = static_cast<GeneralPane*>(app().settingsWindowController()->view()->currentForm());
        QRadioButton* choice = pane->themePicker()->button(rawValue);
        clickOn(choice, QPoint(8, choice->height() / 2));
        ASSERT_TRUE(waitUntil([&] { return choice->isChecked(); }, waitMs));
    }

    StickyWindowController* openNote(StickyNote& note)
    {
        app().openSticky(note);
        StickyWindowController* controller = app().stickyControllers().controller(note.objectID().uriString());
        EXPECT_TRUE(controller && QTest::qWaitForWindowExposed(controller->panel()));
        return controller;
    }

    // Opens `note` and puts the keyboard in its text, the caret at the end.
    StickyWindowController* typeInto(StickyNote& note)
    {
        StickyWindowController* controller = openNote(note);
        if (!controller) {
            return nullptr;
        }
        controller->panel()->move(200, 150);
        StickyTextView& view = controller->editor()->textView();
        EXPECT_TRUE(waitUntil([&] {
            clickOn(view.viewport(), QPoint(view.viewport()->width() - 10, 16));
            xdotool({"key", "ctrl+End"});
            return waitUntil([&] { return view.hasFocus() && view.textCursor().atEnd(); }, 1000)
                && waitUntil([&] { return xdotoolOutput({"getwindowfocus"}).toULongLong() == controller->panel()->winId(); }, 2000);
        },
            waitMs));
        return controller;
    }

    // Opens the paper colours from the note's toolbar and clicks the swatch of `hex`.
    static void pickPaper(StickyWindowController& controller, const QString& hex)
    {
        StickyToolbarPill* pill = controller.toolbarPill();
        clickOn(pill->findChild<QAbstractButton*>("colors"), QPoint(8, 8));
        ASSERT_TRUE(waitUntil([&] { return pill->colorsPopover() && pill->colorsPopover()->isVisible(); }, waitMs));
        ColorSwatch* shown = nullptr;
        ASSERT_TRUE(waitUntil([&] {
            for (ColorSwatch* swatch : pill->colorsPopover()->findChildren<ColorSwatch*>()) {
                if (swatch->isVisible() && swatch->hex() == hex) {
                    shown = swatch;
                }
            }
            return shown != nullptr;
        },
            waitMs));
        clickOn(shown, shown->rect().center());
    }

    // The note's text as its row in the store reads.
    static QString storedText(const StickyNote& note)
    {
        std::vector<QList<QVariant>> rows;
        PersistenceController::shared().container().mainConnection().query(
            QStringLiteral("SELECT plainText FROM StickyNote WHERE _pk = ?"), {note.objectID().rowID()}, rows);
        return rows.size() == 1 ? rows.front().value(0).toString() : QString();
    }

    // What another program copied, once this program sees it.
    static void copyHtmlInAnotherProgram(const QByteArray& html)
    {
        runProgram("xclip", {"-selection", "clipboard", "-t", "text/html", "-i"}, html);
        ASSERT_TRUE(waitUntil([&] { return QGuiApplication::clipboard()->mimeData()->data("text/html") == html; }, 4 * waitMs));
    }
};

// Whether a stored body names a colour: of its text, a table's borders or its cells.
bool namesAColour(const QByteArray& body)
{
    // Colour 0 is the reader's own default.
    return QString::fromLatin1(body).contains(QRegularExpression(QStringLiteral(R"(\\(cf|brdrcf|clcbpat)[1-9])")));
}

TEST_F(StickyThemeX11Test, TheTextFollowsEveryThemeSwitchAndTheBodyNamesNoThemeColour)
{
    ObjectContext& notes = PersistenceController::shared().viewContext();
    auto note = StickyNote::insert(notes);
    note->setPlainText(QStringLiteral("Hello red"));
    note->setVersion(1);
    notes.save();
    StickyWindowController* controller = openNote(*note);
    ASSERT_TRUE(controller);
    controller->panel()->move(200, 150);
    StickyTextView& view = controller->editor()->textView();
    ASSERT_TRUE(waitUntil([&] { return readsOn(*controller, false); }, waitMs));

    // One word the user coloured.
    QTextCursor word(view.document());
    word.setPosition(6);
    word.setPosition(9, QTextCursor::KeepAnchor);
    view.setTextCursor(word);
    NotificationCenter::defaultCenter().post(EditorCommands::setTextColor, controller->editor(),
        {{QStringLiteral("hex"), QStringLiteral("#FF3B30")}});
    view.moveCursor(QTextCursor::End);
    const QColor red = colorOfWord(view, QStringLiteral("red"));
    ASSERT_EQ(red, QColor(0xFF, 0x3B, 0x30));

    chooseTheme(QStringLiteral("dark"));
    EXPECT_EQ(controller->contentView()->effectivePaperHex(), "#2C2C2E");
    EXPECT_TRUE(waitUntil([&] { return readsOn(*controller, true); }, waitMs));

    // Clicking into the note and typing there writes text that is neither black nor white.
    clickOn(view.viewport(), QPoint(view.viewport()->width() - 10, 16));
    ASSERT_TRUE(xdotool({"key", "ctrl+Home"}));
    ASSERT_TRUE(xdotool({"type", "--delay", "40", "more "}));
    ASSERT_TRUE(waitUntil([&] { return note->plainText() == "more Hello red"; }, waitMs)) << note->plainText().toStdString();
    const QByteArray body = note->content();
    EXPECT_FALSE(body.contains("\\red255\\green255\\blue255")) << body.toStdString();
    EXPECT_FALSE(body.contains("\\red0\\green0\\blue0")) << body.toStdString();
    EXPECT_TRUE(body.contains("\\red255\\green59\\blue48")) << body.toStdString();
    EXPECT_EQ(colorOfWord(view, QStringLiteral("more")), QColor(Qt::white));

    // Back to light: dark text on light paper, and the switch itself saved nothing.
    const qint64 version = note->version();
    chooseTheme(QStringLiteral("light"));
    EXPECT_EQ(controller->contentView()->effectivePaperHex(), "#FDFDF8");
    EXPECT_TRUE(waitUntil([&] { return readsOn(*controller, false); }, waitMs));
    EXPECT_EQ(colorOfWord(view, QStringLiteral("more")), QColor(Qt::black));
    EXPECT_EQ(colorOfWord(view, QStringLiteral("red")), red);
    EXPECT_EQ(note->version(), version);
    EXPECT_EQ(note->content(), body);

    // Closed and opened again, the note reads the same.
    controller->close();
    controller = openNote(*note);
    ASSERT_TRUE(controller);
    EXPECT_TRUE(waitUntil([&] { return readsOn(*controller, false); }, waitMs));
    EXPECT_EQ(colorOfWord(controller->editor()->textView(), QStringLiteral("Hello")), QColor(Qt::black));
    EXPECT_EQ(colorOfWord(controller->editor()->textView(), QStringLiteral("red")), red);
    EXPECT_EQ(note->content(), body);
}

TEST_F(StickyThemeX11Test, TextTypedAroundATablePastedInDarkIsStoredWithoutAThemeColour)
{
    copyHtmlInAnotherProgram("<table border=1><tr><td>Mon</td><td>Ann</td></tr><tr><td>Tue</td><td>Bob</td></tr></table>");
    ASSERT_FALSE(HasFatalFailure());
    chooseTheme(QStringLiteral("dark"));
    ASSERT_FALSE(HasFatalFailure());
    ObjectContext& notes = PersistenceController::shared().viewContext();
    auto note = StickyNote::insert(notes);
    notes.save();
    StickyWindowController* controller = typeInto(*note);
    ASSERT_TRUE(controller);
    StickyTextView& view = controller->editor()->textView();

    ASSERT_TRUE(xdotool({"key", "ctrl+v"}));
    ASSERT_TRUE(waitUntil([&] { return note->plainText().contains("Bob"); }, waitMs)) << note->plainText().toStdString();
    ASSERT_TRUE(xdotool({"key", "ctrl+Home"}));
    ASSERT_TRUE(xdotool({"type", "--delay", "40", "HEAD"}));
    ASSERT_TRUE(waitUntil([&] { return note->plainText().startsWith("HEAD"); }, waitMs)) << note->plainText().toStdString();
    EXPECT_FALSE(namesAColour(note->content())) << note->content().toStdString();
    EXPECT_TRUE(waitUntil([&] { return readsOn(*controller, true); }, waitMs)) << "light text on the dark paper";

    // All of it gone, the line left behind types in the paper's ink too.
    ASSERT_TRUE(xdotool({"key", "ctrl+a", "Delete"}));
    ASSERT_TRUE(xdotool({"type", "--delay", "40", "anew"}));
    ASSERT_TRUE(waitUntil([&] { return note->plainText() == "anew"; }, waitMs)) << note->plainText().toStdString();
    EXPECT_FALSE(namesAColour(note->content())) << note->content().toStdString();
    EXPECT_TRUE(waitUntil([&] { return readsOn(*controller, true); }, waitMs));
    EXPECT_EQ(view.document()->toPlainText(), "anew");
}

TEST_F(StickyThemeX11Test, ThemeSwitchesAndPaperPicksLeaveTheUndoHistoryOfANoteWithATableAsItWas)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.insertText(QStringLiteral("Rota"));
    QTextTable* table = cursor.insertTable(2, 3);
    table->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("Mon"));
    ObjectContext& notes = PersistenceController::shared().viewContext();
    auto note = StickyNote::insert(notes);
    note->setPlainText(plainTextOf(document));
    note->setContent(encodeRichTextData(document).value_or(QByteArray()));
    notes.save();
    StickyWindowController* controller = typeInto(*note);
    ASSERT_TRUE(controller);
    ASSERT_TRUE(xdotool({"type", "--delay", "40", "first words"}));
    ASSERT_TRUE(waitUntil([&] { return note->plainText().endsWith("first words"); }, waitMs)) << note->plainText().toStdString();

    chooseTheme(QStringLiteral("dark"));
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_TRUE(waitUntil([&] { return tableLinesStandOut(*controller, true); }, waitMs)) << "light borders on the dark paper";
    controller = typeInto(*note);
    ASSERT_TRUE(controller);
    pickPaper(*controller, QStringLiteral("#FDFDF8"));
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(waitUntil([&] { return controller->editor()->paperHex() == "#FDFDF8"; }, waitMs));
    ASSERT_TRUE(xdotool({"key", "Escape", "ctrl+End"}));
    EXPECT_TRUE(waitUntil([&] { return tableLinesStandOut(*controller, false); }, waitMs)) << "dark borders on the light paper";
    ASSERT_TRUE(xdotool({"type", "--delay", "40", "Q"}));
    ASSERT_TRUE(waitUntil([&] { return note->plainText().endsWith("first wordsQ"); }, waitMs)) << note->plainText().toStdString();
    EXPECT_FALSE(namesAColour(note->content())) << note->content().toStdString();

    ASSERT_TRUE(xdotool({"key", "--delay", "100", "ctrl+z", "ctrl+z", "ctrl+z"}));
    EXPECT_TRUE(waitUntil([&] { return !note->plainText().contains("words"); }, waitMs))
        << "the typing before the changes of look is undone too: " << note->plainText().toStdString();
    EXPECT_TRUE(note->plainText().contains("Mon"));
}

TEST_F(StickyThemeX11Test, KeysTypedRightAfterAPaperPickOverALongTableReachTheNote)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.insertText(QStringLiteral("Rota"));
    QTextTable* table = cursor.insertTable(500, 3);
    for (int row = 0; row < 500; ++row) {
        for (int column = 0; column < 3; ++column) {
            table->cellAt(row, column).firstCursorPosition().insertText(QStringLiteral("r%1c%2").arg(row).arg(column));
        }
    }
    ObjectContext& notes = PersistenceController::shared().viewContext();
    auto note = StickyNote::insert(notes);
    note->setPlainText(plainTextOf(document));
    note->setContent(encodeRichTextData(document).value_or(QByteArray()));
    notes.save();
    StickyWindowController* controller = typeInto(*note);
    ASSERT_TRUE(controller);
    StickyTextView& view = controller->editor()->textView();
    int changes = 0;
    QObject::connect(view.document(), &QTextDocument::contentsChange, view.document(), [&changes] { ++changes; });

    // The keys go to the X server at once, while the program takes the pick.
    pickPaper(*controller, QStringLiteral("#1C1C1E"));
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(xdotool({"key", "Escape", "ctrl+End"}));
    ASSERT_TRUE(xdotool({"type", "--delay", "40", "tail"}));
    EXPECT_TRUE(waitUntil([&] { return note->plainText().endsWith("tail"); }, waitMs)) << note->plainText().right(40).toStdString();
    EXPECT_FALSE(controller->toolbarPill()->colorsPopover()->isVisible());
    EXPECT_EQ(controller->editor()->paperHex(), "#1C1C1E");
    // The new colours changed nothing in the text: the changes are the keys', one each.
    EXPECT_LE(changes, 4);

    // The same with a click into the text instead of Escape (a popover just closed does not open
    // again at once).
    waitUntil([] { return false; }, 600);
    pickPaper(*controller, QStringLiteral("#FDFDF8"));
    ASSERT_FALSE(HasFatalFailure());
    // Into the text the popover leaves in sight beside it: the popover covers the middle of the note.
    const QPoint text = view.viewport()->mapToGlobal(QPoint(20, 20));
    ASSERT_FALSE(controller->toolbarPill()->colorsPopover()->geometry().contains(text));
    ASSERT_TRUE(xdotool({"mousemove", QString::number(text.x()), QString::number(text.y()), "click", "1", "key", "ctrl+End"}));
    ASSERT_TRUE(xdotool({"type", "--delay", "40", "end"}));
    EXPECT_TRUE(waitUntil([&] { return note->plainText().endsWith("tailend"); }, waitMs)) << note->plainText().right(40).toStdString();
    EXPECT_FALSE(controller->toolbarPill()->colorsPopover()->isVisible());
}

TEST_F(StickyThemeX11Test, KeysTypedWhileThePaperColoursAreOpenReachTheNote)
{
    app().createNewSticky(QString());
    const auto created = PersistenceController::shared().viewContext().fetch(StickyNote::fetchRequestNewestFirst());
    ASSERT_FALSE(created.empty());
    StickyNote& note = *created.front();
    ASSERT_TRUE(note.plainText().isEmpty());
    StickyWindowController* controller = typeInto(note);
    ASSERT_TRUE(controller);
    ASSERT_TRUE(xdotool({"type", "--delay", "40", "alpha beta"}));
    ASSERT_TRUE(waitUntil([&] { return storedText(note) == "alpha beta"; }, waitMs)) << storedText(note).toStdString();

    // A pick leaves the popover open; what is typed next goes on in the note.
    pickPaper(*controller, QStringLiteral("#FFF8E8"));
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(waitUntil([&] { return controller->editor()->paperHex() == "#FFF8E8"; }, waitMs));
    Popover* colours = controller->toolbarPill()->colorsPopover();
    ASSERT_TRUE(colours->isVisible());
    ASSERT_TRUE(xdotool({"type", "--delay", "40", " XYZ"}));
    EXPECT_TRUE(waitUntil([&] { return storedText(note) == "alpha beta XYZ"; }, waitMs)) << storedText(note).toStdString();
    EXPECT_TRUE(colours->isVisible());
    EXPECT_EQ(note.paperColor(), "#FFF8E8");

    // Escape still closes it; opened again and left without a pick, it passes keys on too.
    ASSERT_TRUE(xdotool({"key", "Escape"}));
    ASSERT_TRUE(waitUntil([&] { return !colours->isVisible(); }, waitMs));
    waitUntil([] { return false; }, 600);
    clickOn(controller->toolbarPill()->findChild<QAbstractButton*>("colors"), QPoint(8, 8));
    ASSERT_TRUE(waitUntil([&] { return colours->isVisible(); }, waitMs));
    ASSERT_TRUE(xdotool({"type", "--delay", "40", " ok"}));
    EXPECT_TRUE(waitUntil([&] { return storedText(note) == "alpha beta XYZ ok"; }, waitMs)) << storedText(note).toStdString();
    ASSERT_TRUE(xdotool({"key", "Escape"}));
    EXPECT_TRUE(waitUntil([&] { return !colours->isVisible(); }, waitMs));
    EXPECT_EQ(note.paperColor(), "#FFF8E8");
}

} // namespace
} // namespace norvelle::test
