// The controls of a sticky window used as a user does: the real pointer and keyboard through
// xdotool on an X server with a window manager.
#include "editor/AaPopupModel.h"
#include "editor/AaPopupView.h"
#include "editor/ChecklistEditing.h"
#include "editor/EditorFonts.h"
#include "editor/RichTextBody.h"
#include "editor/RichTextEditor.h"
#include "editor/StickyTextView.h"
#include "editor/TableEditing.h"
#include "editor/TextStorage.h"
#include "platform/ColorPanel.h"
#include "platform/Compositor.h"
#include "platform/Popover.h"
#include "platform/StoredSettings.h"
#include "platform/UserDefaults.h"
#include "sticky/ColorSwatch.h"
#include "sticky/CustomColorDisclosure.h"
#include "sticky/HeaderSymbolButton.h"
#include "sticky/KeyablePanel.h"
#include "sticky/PaperColorLists.h"
#include "sticky/StickyContentView.h"
#include "sticky/StickyControllerTable.h"
#include "sticky/StickyFrameString.h"
#include "sticky/StickyHeaderBar.h"
#include "sticky/StickyState.h"
#include "sticky/StickyToolbarPill.h"
#include "sticky/StickyTransparencyView.h"
#include "sticky/StickyWindowController.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"
#include "support/ColorWells.h"
#include "support/PointerDrag.h"
#include "support/ProgramRun.h"
#include "support/TestHome.h"
#include "ui/UserNotice.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QEventLoop>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QSlider>
#include <QTextBlock>
#include <QTextTable>
#include <QUuid>
#include <QWindow>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

using namespace norvelle;
using test::clickAt;
using test::clickOn;

namespace {

constexpr int waitMs = 20000;

// A picture as a drawing program would copy it.
QByteArray pngPicture()
{
    return test::runProgram("convert", {"-size", "40x30", "xc:teal", "png:-"});
}

void pressKeys(const QString& keys)
{
    test::xdotool(QStringList {"key", "--clearmodifiers"} + keys.split(u' '));
}

class StickyControlsX11Test : public testing::Test {
protected:
    PersistenceController store {true};
    StickyControllerTable table;
    StickyWindowController* sticky = nullptr;

    ~StickyControlsX11Test() override { ColorPanel::shared().close(); }

    // Opens a note holding `text` and puts the keyboard in its editor.
    void open(const QString& text, QSize size = {320, 380}, const QString& paper = {})
    {
        auto note = StickyNote::insert(store.viewContext());
        note->setId(QUuid::createUuid());
        note->setPlainText(text);
        if (!paper.isEmpty())
            note->setPaperColor(paper);
        store.viewContext().save();
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        UserDefaults::standard().set(StickyWindowController::frameKey(note->objectID().uriString()),
            StickyFrameString::format(QRect(area.topLeft() + QPoint(300, 120), size)));
        table.openSticky(*note);
        sticky = table.controller(note->objectID().uriString());
        KeyablePanel* window = sticky->panel();
        // A window mapped while the window manager is still starting can be left unmapped.
        bool exposed = false;
        for (int attempt = 0; attempt < 5 && !exposed; ++attempt) {
            exposed = test::waitUntil([&] { return window->windowHandle()->isExposed(); }, 3000);
            if (!exposed) {
                window->hide();
                window->show();
            }
        }
        ASSERT_TRUE(exposed);
        // xdotool's keys go where the X server has the focus, which a busy window manager moves
        // some time after Qt says the window is active.
        ASSERT_TRUE(test::waitUntil([&] {
            clickOn(&textView());
            return window->isActiveWindow() && textView().hasFocus()
                && test::waitUntil([&] { return test::xdotoolOutput({"getwindowfocus"}).toULongLong() == window->winId(); }, 2000);
        },
            waitMs));
        // Keys sent the moment the window takes the focus can reach it before it is ready.
        test::waitUntil([] { return false; }, 300);
    }

    StickyTextView& textView() const { return sticky->editor()->textView(); }

    // Opens a note holding `text` with a new table after it, the caret in its first cell.
    void openWithNewTable(const QString& text)
    {
        open(text);
        ASSERT_FALSE(HasFatalFailure());
        ASSERT_TRUE(putCaretAtEnd());
        clickOn(pillButton("table"));
        ASSERT_TRUE(test::waitUntil([&] { return textView().textCursor().currentTable() != nullptr; }, waitMs));
    }

    // What another program copied, offered under `type` alone, once this program sees it.
    static void copyInAnotherProgram(const QString& type, const QByteArray& data)
    {
        test::runProgram("xclip", {"-selection", "clipboard", "-t", type, "-i"}, data);
        // Qt may wait out its 5 s clipboard timeout more than once before xclip's copy shows.
        ASSERT_TRUE(test::waitUntil([&] { return QGuiApplication::clipboard()->mimeData()->data(type) == data; }, 4 * waitMs));
    }

    // Keys that only move the caret can be sent again until they are taken; a window manager
    // still starting up can take the focus back once.
    bool putCaretAtEnd()
    {
        return test::waitUntil([&] {
            if (!sticky->panel()->isActiveWindow())
                clickOn(&textView());
            pressKeys("ctrl+End");
            return test::waitUntil([&] { return textView().textCursor().atEnd(); }, 1000);
        },
            waitMs);
    }
    StickyToolbarPill* pill() const { return sticky->toolbarPill(); }
    QAbstractButton* pillButton(const QString& name) const { return pill()->findChild<QAbstractButton*>(name); }

    AaPopupView* openFormatPopup()
    {
        clickOn(pillButton("aa"));
        EXPECT_TRUE(test::waitUntil([&] { return pill()->aaPopover() && pill()->aaPopover()->isVisible(); }, waitMs));
        return pill()->aaPopup();
    }

    // A click on the paper's first line, clear of the popover above the pill.
    void closePopoverByClickingTheNote()
    {
        clickAt(textView().mapToGlobal(QPoint(textView().width() - 20, 16)));
        EXPECT_TRUE(test::waitUntil([&] { return !pill()->aaPopover()->isVisible() && textView().hasFocus(); }, waitMs));
        // A click that just closed a popover does not reopen it at once.
        test::waitUntil([] { return false; }, 600);
    }

    QString storedBody() const { return QString::fromLatin1(sticky->editor()->richData().value_or(QByteArray())); }
};

} // namespace

TEST_F(StickyControlsX11Test, TheFormatPopupShowsTheSelectionItOpensOnAndStepsFromIt)
{
    open("Big title\nsome body text");
    ASSERT_FALSE(HasFatalFailure());
    pressKeys("ctrl+Home shift+End");
    clickOn(openFormatPopup()->findChild<QAbstractButton*>("style.Title"));
    ASSERT_TRUE(test::waitUntil([&] { return storedBody().contains("\\fs44"); }, waitMs)) << storedBody().toStdString();
    closePopoverByClickingTheNote();

    // Elsewhere first, so the popup cannot just remember the title.
    pressKeys("ctrl+End");
    AaPopupView* popup = openFormatPopup();
    ASSERT_TRUE(popup);
    EXPECT_EQ(popup->model().fontSize(), 14);
    EXPECT_EQ(popup->model().styleSelection(), "Body");
    closePopoverByClickingTheNote();

    pressKeys("ctrl+Home shift+End");
    popup = openFormatPopup();
    ASSERT_TRUE(popup);
    EXPECT_EQ(popup->model().fontSize(), 22);
    EXPECT_EQ(popup->findChild<QLineEdit*>("fontSize.field")->text(), "22");
    EXPECT_EQ(popup->model().styleSelection(), "Title");
    EXPECT_TRUE(popup->model().isBold());

    clickOn(popup->findChild<QAbstractButton*>("fontSize.plus"));
    EXPECT_TRUE(test::waitUntil([&] { return storedBody().contains("\\fs46"); }, waitMs)) << "the title grows to 23 points";
}

namespace {

int lastRowMiddle(StickyTextView& view, QTextTable* table)
{
    return view.cursorRect(table->cellAt(table->rows() - 1, 0).firstCursorPosition()).center().y();
}

// Where the lines between the cells of the last row (left empty) are drawn: the dark runs across
// the row's middle, outer edges left out.
std::vector<int> drawnInnerBorders(StickyTextView& view, QTextTable* table)
{
    const int y = lastRowMiddle(view, table);
    // What the X server shows, paper and all.
    const QPoint origin = view.viewport()->mapToGlobal(QPoint(0, 0));
    const QImage shown = QGuiApplication::primaryScreen()
                             ->grabWindow(0, origin.x(), origin.y(), view.viewport()->width(), view.viewport()->height())
                             .toImage();
    std::vector<int> lines;
    for (int x = 1; x < shown.width() - 1; ++x) {
        if (qGray(shown.pixel(x, y)) < 200 && qGray(shown.pixel(x - 1, y)) >= 200)
            lines.push_back(x);
    }
    if (lines.size() >= 2)
        lines = std::vector<int>(lines.begin() + 1, lines.end() - 1);
    return lines;
}

} // namespace

TEST_F(StickyControlsX11Test, AColumnBorderIsGrabbedWhereItIsDrawnAtAnyWidthAndOneUndoTakesADragBack)
{
    open("", {360, 380});
    ASSERT_FALSE(HasFatalFailure());
    clickOn(pillButton("table"));
    ASSERT_TRUE(test::waitUntil([&] { return textView().textCursor().currentTable(); }, waitMs));
    QTextTable* table = textView().textCursor().currentTable();
    pressKeys("w o r d");
    const auto firstWidth = [&] { return table->format().columnWidthConstraints().value(0).rawValue(); };
    // Once the table is on the screen: a busy X server shows it some time after the keys.
    const auto dragBorder = [&](int offset, int by) {
        std::vector<int> lines;
        EXPECT_TRUE(test::waitUntil([&] {
            lines = drawnInnerBorders(textView(), table);
            return !lines.empty();
        },
            waitMs));
        if (lines.empty())
            return;
        const qreal before = firstWidth();
        const int y = lastRowMiddle(textView(), table);
        const QPoint from = textView().viewport()->mapToGlobal(QPoint(lines.front() + offset, y));
        test::movePointer(from);
        test::xdotool({"mousedown", "1"});
        test::movePointer(from + QPoint(by / 2, 0));
        test::movePointer(from + QPoint(by, 0));
        test::xdotool({"mouseup", "1"});
        // Until the border is drawn where it went, so the next drag finds it there.
        test::waitUntil([&] { return firstWidth() != before && drawnInnerBorders(textView(), table) != lines; }, waitMs);
    };

    for (const int offset : {0, -7, 7}) {
        const qreal before = firstWidth();
        dragBorder(offset, 30);
        EXPECT_GT(firstWidth(), before + 5) << "pressed " << offset << " from the line";
    }
    dragBorder(0, -280);
    EXPECT_LT(firstWidth(), 10) << "narrowed to the least";
    for (const int offset : {-7, 0, 7}) {
        const qreal before = firstWidth();
        dragBorder(offset, 25);
        EXPECT_GT(firstWidth(), before + 5) << "narrow column, pressed " << offset << " from the line";
    }

    // One Ctrl+Z takes back the whole of a drag made in several moves.
    std::vector<int> lines;
    ASSERT_TRUE(test::waitUntil([&] {
        lines = drawnInnerBorders(textView(), table);
        return !lines.empty();
    },
        waitMs));
    const qreal beforeLastDrag = firstWidth();
    const QPoint from = textView().viewport()->mapToGlobal(QPoint(lines.front(), lastRowMiddle(textView(), table)));
    test::movePointer(from);
    test::xdotool({"mousedown", "1"});
    for (int step = 1; step <= 3; ++step) {
        const qreal was = firstWidth();
        test::movePointer(from + QPoint(12 * step, 0));
        test::waitUntil([&] { return firstWidth() != was; }, waitMs);
    }
    test::xdotool({"mouseup", "1"});
    ASSERT_GT(firstWidth(), beforeLastDrag + 5);
    pressKeys("ctrl+z");
    EXPECT_TRUE(test::waitUntil([&] { return std::abs(firstWidth() - beforeLastDrag) < 0.01; }, waitMs)) << firstWidth() << " for " << beforeLastDrag;
}

TEST_F(StickyControlsX11Test, UndoAndRedoKeepTheChangedTextInView)
{
    QStringList lines;
    for (int line = 1; line <= 80; ++line)
        lines << QStringLiteral("line %1").arg(line);
    lines << QStringLiteral("\u25CB the last item");
    open(lines.join(u'\n'));
    ASSERT_FALSE(HasFatalFailure());
    const auto endInView = [&] {
        QTextCursor end(textView().document());
        end.movePosition(QTextCursor::End);
        return textView().viewport()->rect().contains(textView().cursorRect(end).center());
    };
    // Keys that only move the caret can be sent again until they are taken.
    ASSERT_TRUE(test::waitUntil([&] {
        pressKeys("ctrl+End shift+Home");
        return test::waitUntil([&] { return textView().textCursor().hasSelection() && endInView(); }, 1000);
    },
        waitMs));
    pressKeys("ctrl+b");
    QTextCursor lastCharacter(textView().document());
    lastCharacter.movePosition(QTextCursor::End);
    ASSERT_TRUE(test::waitUntil([&] { return lastCharacter.charFormat().fontWeight() > QFont::Normal; }, waitMs));
    for (const char* keys : {"ctrl+z", "ctrl+shift+z", "ctrl+z"}) {
        pressKeys(keys);
        test::waitUntil([] { return false; }, 300);
        EXPECT_TRUE(endInView()) << "after " << keys;
    }

    // A tick of the box at the end, then its undo.
    ASSERT_TRUE(test::waitUntil([&] {
        pressKeys("ctrl+End");
        return test::waitUntil([&] { return !textView().textCursor().hasSelection() && endInView(); }, 1000);
    },
        waitMs));
    QTextCursor item(textView().document());
    item.movePosition(QTextCursor::End);
    item.movePosition(QTextCursor::StartOfBlock);
    const int itemStart = item.position();
    clickAt(textView().viewport()->mapToGlobal(textView().cursorRect(item).center() + QPoint(4, 0)));
    const auto ticked = [&] {
        TextStorage storage(*textView().document());
        return ChecklistEditing(storage).checklistMarkerState(itemStart, 15) == true;
    };
    ASSERT_TRUE(test::waitUntil(ticked, waitMs));
    for (const char* keys : {"ctrl+z", "ctrl+shift+z"}) {
        pressKeys(keys);
        test::waitUntil([] { return false; }, 300);
        EXPECT_TRUE(endInView()) << "after " << keys << " of the tick";
    }
}

TEST_F(StickyControlsX11Test, WithoutACompositorTheTransparencyPopoverSaysNotesStayOpaque)
{
    ASSERT_FALSE(Compositor::isRunning()) << "the test desktop has a window manager only";
    open("see-through?", {320, 380}, "#3A3840");
    ASSERT_FALSE(HasFatalFailure());
    clickOn(pillButton("transparency"));
    ASSERT_TRUE(test::waitUntil([&] { return pill()->transparencyView() && pill()->transparencyView()->isVisible(); }, waitMs));
    const QLabel* note = pill()->transparencyView()->findChild<QLabel*>("noCompositor");
    ASSERT_TRUE(note);
    EXPECT_TRUE(note->isVisible());
    EXPECT_EQ(note->text(), StickyTransparencyView::noCompositorNote);
    EXPECT_GE(note->height(), note->heightForWidth(note->width())) << "every line of it shows";
    EXPECT_LE(note->geometry().bottom(), pill()->transparencyView()->height());

    // The lowest opacity: the dark paper stays opaque, and so its text stays light.
    QSlider* slider = pill()->transparencyView()->findChild<QSlider*>();
    ASSERT_TRUE(slider);
    ASSERT_TRUE(test::waitUntil([&] {
        clickOn(slider);
        pressKeys("Home");
        return test::waitUntil([&] { return sticky->stickyState().opacity() < 0.2; }, 1000);
    },
        waitMs));
    // The slider keeps the keys that move it; what is typed goes on in the note.
    pressKeys("Right o k");
    EXPECT_TRUE(test::waitUntil([&] { return sticky->note()->plainText() == "see-through?ok"; }, waitMs))
        << sticky->note()->plainText().toStdString();
    EXPECT_GT(slider->value(), slider->minimum());
    EXPECT_TRUE(pill()->transparencyView()->isVisible());
    pressKeys("Escape");
    ASSERT_TRUE(test::waitUntil([&] { return !pill()->transparencyView()->isVisible(); }, waitMs));
    const QRect line = textView().cursorRect(QTextCursor(textView().document()));
    const QPoint origin = textView().viewport()->mapToGlobal(line.topLeft());
    const auto lightTextOnDarkPaper = [&] {
        const QImage shown = QGuiApplication::primaryScreen()->grabWindow(0, origin.x(), origin.y(), 90, line.height()).toImage();
        std::vector<int> lightness;
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x)
                lightness.push_back(shown.pixelColor(x, y).lightness());
        }
        std::sort(lightness.begin(), lightness.end());
        return lightness[lightness.size() / 2] < 80 && lightness.back() > 170;
    };
    EXPECT_TRUE(test::waitUntil(lightTextOnDarkPaper, waitMs));
    EXPECT_EQ(sticky->editor()->textColor(), QColor(Qt::white));
    EXPECT_EQ(sticky->contentView()->headerBar().moreButton()->color().rgb(), QColor(Qt::white).rgb());
}

TEST_F(StickyControlsX11Test, ACustomPaperColourIsPickedBesideTheNoteAndApplied)
{
    open("custom paper");
    ASSERT_FALSE(HasFatalFailure());
    const auto popover = [&] { return pill()->colorsPopover(); };
    // Rows the popover rebuilt linger hidden until deleted: the shown one counts.
    const auto find = [&](const QString& name) {
        for (QAbstractButton* button : popover()->findChildren<QAbstractButton*>(name)) {
            if (button->isVisible())
                return button;
        }
        return static_cast<QAbstractButton*>(nullptr);
    };
    const auto disclosure = [&] {
        for (CustomColorDisclosure* button : popover()->findChildren<CustomColorDisclosure*>()) {
            if (button->isVisible())
                return button;
        }
        return static_cast<CustomColorDisclosure*>(nullptr);
    };
    clickOn(pillButton("colors"));
    ASSERT_TRUE(test::waitUntil([&] { return popover() && popover()->isVisible(); }, waitMs));
    clickOn(disclosure());
    ASSERT_TRUE(test::waitUntil([&] { return find("pickCustomColor"); }, waitMs));
    // Closed and opened again, the popover keeps the row open.
    clickAt({40, 40});
    ASSERT_TRUE(test::waitUntil([&] { return !popover()->isVisible(); }, waitMs));
    test::waitUntil([] { return false; }, 600);
    clickOn(pillButton("colors"));
    ASSERT_TRUE(test::waitUntil([&] { return popover()->isVisible(); }, waitMs));
    ASSERT_TRUE(test::waitUntil([&] { return find("pickCustomColor"); }, waitMs));
    test::waitUntil([] { return false; }, 300);
    // The apply button is a small filled button in the accent colour, its title clear of its edges.
    QAbstractButton* apply = find("applyCustomColor");
    ASSERT_TRUE(apply);
    const QImage drawn = apply->grab().toImage();
    EXPECT_EQ(drawn.pixelColor(4, drawn.height() / 2).rgb(), apply->palette().color(QPalette::Highlight).rgb());
    EXPECT_GE(apply->width(), apply->fontMetrics().horizontalAdvance(apply->text()) + 12);
    clickOn(find("pickCustomColor"));
    QColorDialog* panel = nullptr;
    ASSERT_TRUE(test::waitUntil([&] {
        panel = ColorPanel::shared().dialog();
        return panel && panel->isVisible() && panel->windowHandle()->isExposed();
    },
        waitMs));
    EXPECT_FALSE(test::serverGeometry(panel).intersects(test::serverGeometry(sticky->panel()))) << "beside the note";
    ASSERT_TRUE(test::waitUntil([&] { return popover()->isVisible() && find("applyCustomColor"); }, waitMs))
        << "the custom row stays while the panel is open";

    QWidget* wells = test::colorWells(panel);
    ASSERT_NE(wells, nullptr);
    clickAt(wells->mapToGlobal(QPoint(wells->width() * 9 / 16, wells->height() * 7 / 12)));
    ASSERT_TRUE(test::waitUntil([&] { return panel->currentColor() != QColor("#FDFDF8"); }, waitMs));
    const QString picked = panel->currentColor().name(QColor::HexRgb).toUpper();
    EXPECT_TRUE(test::waitUntil([&] { return sticky->stickyState().paperHex() == picked; }, waitMs)) << "previewed";

    clickOn(find("applyCustomColor"));
    EXPECT_TRUE(test::waitUntil([&] { return PaperColorLists::load(storedSettings::customPaperColorsKey) == QStringList {picked}; }, waitMs));
    EXPECT_EQ(sticky->note()->paperColor(), picked);

    EXPECT_TRUE(test::waitUntil([&] { return !popover()->isVisible(); }, waitMs)) << "it closes with the panel";

    // Opened again, each time, it shows whole: its swatches drawn on the screen.
    const auto swatchShown = [&](const QString& hex) {
        for (ColorSwatch* swatch : popover()->findChildren<ColorSwatch*>()) {
            if (swatch->isVisible() && swatch->hex() == hex) {
                const QPoint centre = swatch->mapToGlobal(swatch->rect().center());
                const QImage shown = QGuiApplication::primaryScreen()->grabWindow(0, centre.x(), centre.y(), 1, 1).toImage();
                return shown.pixelColor(0, 0) == QColor(hex);
            }
        }
        return false;
    };
    for (int opening = 1; opening <= 2; ++opening) {
        test::waitUntil([] { return false; }, 600);
        clickOn(pillButton("colors"));
        ASSERT_TRUE(test::waitUntil([&] { return popover()->isVisible(); }, waitMs)) << "opening " << opening;
        EXPECT_TRUE(test::waitUntil([&] { return swatchShown("#14532D") && disclosure(); }, waitMs))
            << "opening " << opening << ": " << popover()->width() << "x" << popover()->height();
        EXPECT_GT(popover()->height(), 150);
        pressKeys("Escape");
        ASSERT_TRUE(test::waitUntil([&] { return !popover()->isVisible(); }, waitMs));
    }
}

TEST_F(StickyControlsX11Test, HighlightedTextOnDarkPaperIsDrawnToReadOnTheHighlight)
{
    open("WWWWWWWW MMMMMMMM", {320, 380}, "#1E1B4B");
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(test::waitUntil([&] {
        clickAt(textView().mapToGlobal(QPoint(textView().width() - 20, 16)));
        pressKeys("ctrl+Home shift+End");
        return test::waitUntil([&] { return textView().textCursor().hasSelection(); }, 1000);
    },
        waitMs));
    AaPopupView* popup = openFormatPopup();
    ASSERT_TRUE(popup);
    clickOn(popup->findChild<QAbstractButton*>("highlighter"));
    closePopoverByClickingTheNote();
    pressKeys("ctrl+End");
    test::waitUntil([] { return false; }, 300);

    // Across the highlighted line, what is not the highlight's yellow is the letters: dark ones.
    QTextCursor start(textView().document());
    const QRect line = textView().cursorRect(start);
    const QPoint origin = textView().viewport()->mapToGlobal(QPoint(0, line.top()));
    const QImage shown = QGuiApplication::primaryScreen()
                             ->grabWindow(0, origin.x(), origin.y(), textView().viewport()->width() / 2, line.height())
                             .toImage();
    int dark = 0;
    int light = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            const QColor pixel = shown.pixelColor(x, y);
            if (pixel.red() > 200 && pixel.green() > 200 && pixel.blue() < 120)
                continue;
            qGray(pixel.rgb())<90 ? ++dark : qGray(pixel.rgb())> 200 ? ++light : 0;
        }
    }
    EXPECT_GT(dark, 40) << "dark letters on the highlight";
    EXPECT_LT(light, dark / 4) << "not white ones";
}

TEST_F(StickyControlsX11Test, RichTextOfferedOnlyAsRtfIsPastedWithItsFormattingAndSaved)
{
    // Some word processors offer their copy as RTF alone.
    copyInAnotherProgram("text/rtf", "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs28\\par {\\b Decided:} ship on Friday\\par}");
    ASSERT_FALSE(HasFatalFailure());
    open("Minutes");
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(putCaretAtEnd());
    pressKeys("ctrl+v");
    ASSERT_TRUE(test::waitUntil([&] { return sticky->note()->plainText().startsWith("Minutes\nDecided: ship on Friday"); }, waitMs))
        << sticky->note()->plainText().toStdString() << " / shown: " << textView().toPlainText().toStdString();

    QTextCursor decided(textView().document());
    decided.setPosition(QStringLiteral("Minutes\nD").size());
    EXPECT_GE(decided.charFormat().fontWeight(), QFont::Bold);
    decided.setPosition(QStringLiteral("Minutes\nDecided: s").size());
    EXPECT_LT(decided.charFormat().fontWeight(), QFont::Bold);
    EXPECT_TRUE(sticky->note()->content().contains("\\b Decided:"));
}

TEST_F(StickyControlsX11Test, PastedTextAndTablesOnDarkPaperAreDrawnAsTheyAreOnceTheNoteIsReopened)
{
    // Web pages and word processors give their text as black.
    copyInAnotherProgram("text/html",
        "<p style=\"color:#000000\">Rota</p><table border=1><tr><td>Mon</td><td>Ann</td></tr><tr><td>Tue</td><td>Bob</td></tr></table>");
    ASSERT_FALSE(HasFatalFailure());
    open("Week", {320, 380}, "#1E1B4B");
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(putCaretAtEnd());
    pressKeys("Return ctrl+v");
    QTextTable* pasted = nullptr;
    ASSERT_TRUE(test::waitUntil([&] {
        for (QTextFrame* frame : textView().document()->rootFrame()->childFrames())
            pasted = pasted ? pasted : qobject_cast<QTextTable*>(frame);
        return pasted != nullptr;
    },
        waitMs));

    QTextCursor rota(textView().document());
    rota.setPosition(QStringLiteral("Week\nR").size());
    EXPECT_FALSE(rota.charFormat().hasProperty(QTextFormat::ForegroundBrush)) << "drawn in the paper's ink";
    EXPECT_EQ(textView().palette().color(QPalette::Text), sticky->editor()->textColor()) << "readable on the paper";
    // As wide as the note, its cells padded and bordered as the note's own.
    EXPECT_EQ(pasted->format().width(), QTextLength(QTextLength::PercentageLength, 100));
    const QTextTableCellFormat cell = pasted->cellAt(1, 1).format().toTableCellFormat();
    EXPECT_EQ(cell.topPadding(), TableEditing::padding);
    EXPECT_EQ(cell.topBorder(), TableEditing::borderWidth);
    EXPECT_TRUE(test::waitUntil([&] { return !textView().verticalScrollBar()->isVisible(); }, waitMs)) << "no scroll bar on a note the paste does not fill";
}

TEST_F(StickyControlsX11Test, APasteThatFillsTheNoteWrapsBesideItsScrollBarWithoutScrollingSideways)
{
    QString text;
    for (int line = 0; line < 16; ++line)
        text += QStringLiteral("Minutes of the weekly meeting, item %1, with words enough to wrap\n").arg(line);
    copyInAnotherProgram("text/plain", text.toUtf8());
    ASSERT_FALSE(HasFatalFailure());
    open("Week");
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(putCaretAtEnd());
    pressKeys("Return ctrl+v");
    ASSERT_TRUE(test::waitUntil([&] { return sticky->note()->plainText() == "Week\n" + text; }, waitMs));
    test::waitUntil([] { return false; }, 300);

    EXPECT_TRUE(textView().verticalScrollBar()->isVisible());
    EXPECT_EQ(textView().horizontalScrollBar()->maximum(), 0) << "every line fits beside the scroll bar";
    EXPECT_LE(textView().document()->pageSize().width(), textView().viewport()->width());
}

// Not a test of its own: the other program of the image paste test, which copied a picture with
// its text beside it (as a browser copies an image: its HTML is the image alone) and holds the
// clipboard until ended.
TEST(PictureClipOwner, DISABLED_OffersAPictureWithItsText)
{
    auto* clip = new QMimeData;
    clip->setData("image/png", pngPicture());
    clip->setHtml(QStringLiteral("<img src=\"https://example.invalid/chart.png\" alt=\"Chart of the week\">"));
    clip->setText(QStringLiteral("Chart of the week"));
    QGuiApplication::clipboard()->setMimeData(clip);
    std::puts("offered");
    std::fflush(stdout);
    QEventLoop().exec();
}

TEST_F(StickyControlsX11Test, AnImagePastedAloneIsRefusedWithAWordAndOneWithTextGivesItsText)
{
    copyInAnotherProgram("image/png", pngPicture());
    ASSERT_FALSE(HasFatalFailure());
    open("Figures");
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(putCaretAtEnd());
    pressKeys("ctrl+v");
    QPointer<QMessageBox> notice;
    ASSERT_TRUE(test::waitUntil([&] {
        notice = UserNotice::showing(StickyTextView::imagePasteTopic);
        return notice && notice->isVisible();
    },
        waitMs))
        << "the paste said nothing";
    EXPECT_FALSE(notice->frameGeometry().intersects(sticky->panel()->frameGeometry()));
    // A second paste tells it in the same box, and the note keeps the keyboard.
    pressKeys("ctrl+v");
    pressKeys("space o k");
    EXPECT_TRUE(test::waitUntil([&] { return sticky->note()->plainText() == "Figures ok"; }, waitMs))
        << sticky->note()->plainText().toStdString();
    int boxes = 0;
    for (QWidget* window : QApplication::topLevelWidgets())
        boxes += qobject_cast<QMessageBox*>(window) && window->isVisible();
    EXPECT_EQ(boxes, 1);
    notice->close();

    QProcess owner;
    owner.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    owner.start(QCoreApplication::applicationFilePath(),
        {"--gtest_also_run_disabled_tests", "--gtest_filter=PictureClipOwner.DISABLED_OffersAPictureWithItsText"});
    ASSERT_TRUE(test::waitUntil([&] { return owner.canReadLine() && owner.readLine().startsWith("offered"); }, waitMs));
    ASSERT_TRUE(test::waitUntil([] { return QGuiApplication::clipboard()->mimeData()->hasFormat("image/png"); }, 4 * waitMs));
    pressKeys("Return ctrl+v");
    EXPECT_TRUE(test::waitUntil([&] { return sticky->note()->plainText() == "Figures ok\nChart of the week"; }, waitMs))
        << sticky->note()->plainText().toStdString();
    test::waitUntil([] { return false; }, 300);
    EXPECT_FALSE(UserNotice::showing(StickyTextView::imagePasteTopic));
    owner.kill();
    owner.waitForFinished();
}

TEST_F(StickyControlsX11Test, UndoTakesBackWhatWasTypedInATableCellAndTheTableBeforeIt)
{
    openWithNewTable("Rota");
    ASSERT_FALSE(HasFatalFailure());
    pressKeys("M o n Tab A n n");
    ASSERT_TRUE(test::waitUntil([&] { return sticky->note()->plainText().contains("Mon\nAnn"); }, waitMs))
        << sticky->note()->plainText().toStdString();

    for (int key = 0; key < 12 && sticky->note()->plainText() != "Rota"; ++key) {
        pressKeys("ctrl+z");
        test::waitUntil([] { return false; }, 200);
    }
    EXPECT_EQ(sticky->note()->plainText(), "Rota");
    EXPECT_TRUE(textView().document()->rootFrame()->childFrames().isEmpty()) << "the table is gone";

    for (int key = 0; key < 12 && !sticky->note()->plainText().contains("Mon\nAnn"); ++key) {
        pressKeys("ctrl+shift+z");
        test::waitUntil([] { return false; }, 200);
    }
    EXPECT_TRUE(sticky->note()->plainText().contains("Mon\nAnn")) << "redone";
}

namespace {

// A zero-width space beside other text on its line: a placeholder left in a cell that has text.
bool hasPlaceholderBesideText(QTextDocument& document)
{
    static const QRegularExpression beside(QStringLiteral("\u200B[^\n\u200B]|[^\n\u200B]\u200B"));
    return TextStorage(document).string().contains(beside);
}

} // namespace

TEST_F(StickyControlsX11Test, EachUndoInATableCellTakesBackTypingUntilTheCellIsEmptyAgain)
{
    openWithNewTable("Rota");
    ASSERT_FALSE(HasFatalFailure());
    const std::shared_ptr<StickyNote> note = sticky->note();
    ASSERT_TRUE(test::waitUntil([&] { return note->plainText().count(u'\n') >= 5; }, waitMs)) << note->plainText().toStdString();
    const QString emptyTable = note->plainText();

    pressKeys("t w o");
    ASSERT_TRUE(test::waitUntil([&] { return note->plainText().contains("two"); }, waitMs));
    pressKeys("x");
    ASSERT_TRUE(test::waitUntil([&] { return note->plainText().contains("twox"); }, waitMs));
    EXPECT_FALSE(hasPlaceholderBesideText(*textView().document())) << note->plainText().toStdString();

    // Every undo shows a change, and no placeholder comes back beside text, till the cell is
    // empty as the new table left it.
    for (int key = 0; key < 5 && note->plainText() != emptyTable; ++key) {
        const QString before = note->plainText();
        pressKeys("ctrl+z");
        ASSERT_TRUE(test::waitUntil([&] { return note->plainText() != before; }, waitMs)) << "undo " << key + 1 << " did nothing";
        EXPECT_NE(note->plainText(), before) << "undo " << key + 1 << " changed nothing on screen";
        EXPECT_FALSE(hasPlaceholderBesideText(*textView().document())) << note->plainText().toStdString();
    }
    EXPECT_EQ(note->plainText(), emptyTable);
    EXPECT_EQ(textView().document()->rootFrame()->childFrames().size(), 1) << "the table stays";

    pressKeys("ctrl+shift+z");
    ASSERT_TRUE(test::waitUntil([&] { return note->plainText().contains("twox"); }, waitMs)) << "redone";
    EXPECT_FALSE(hasPlaceholderBesideText(*textView().document())) << note->plainText().toStdString();
}

TEST_F(StickyControlsX11Test, TextTypedAtTheStartOfAChecklistLineOrOverItsTextFromHomeKeepsItsBox)
{
    open(QStringLiteral("\u25CB milk\n\u25CF eggs"));
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(putCaretAtEnd());
    const std::shared_ptr<StickyNote> note = sticky->note();

    const auto typedReads = [&](const QString& keys, const QString& stored) {
        pressKeys(keys);
        return test::waitUntil([&] { return note->plainText() == stored; }, waitMs);
    };
    EXPECT_TRUE(typedReads("ctrl+Home o a t space", QStringLiteral("\u25CB oat milk\n\u25CF eggs"))) << note->plainText().toStdString();
    EXPECT_TRUE(typedReads("Down Home t e n space", QStringLiteral("\u25CB oat milk\n\u25CF ten eggs"))) << note->plainText().toStdString();
    // Home stops after the box, so the item's text selected from there is typed over alone.
    EXPECT_TRUE(typedReads("Home shift+End R", QStringLiteral("\u25CB oat milk\n\u25CF R"))) << note->plainText().toStdString();
    EXPECT_TRUE(typedReads("ctrl+Home shift+End B", QStringLiteral("\u25CB B\n\u25CF R"))) << note->plainText().toStdString();
    TextStorage storage(*textView().document());
    EXPECT_EQ(ChecklistEditing(storage).checklistMarkerState(0, 3), false) << "still a drawn open box";
    EXPECT_EQ(ChecklistEditing(storage).checklistMarkerState(4, 3), true) << "still a drawn ticked box";
}

TEST_F(StickyControlsX11Test, AChecklistItemKeepsItsFormattingWhenItsNoteIsClosedAndOpenedAgain)
{
    open(QStringLiteral("\u25CB call the plumber"));
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(putCaretAtEnd());
    pressKeys("ctrl+shift+Left ctrl+shift+Left ctrl+b");
    const QString key = sticky->note()->objectID().uriString();
    std::shared_ptr<StickyNote> note = sticky->note();
    ASSERT_TRUE(test::waitUntil([&] { return note->content().contains("\\b the plumber"); }, waitMs)) << note->content().toStdString();

    clickOn(sticky->contentView()->headerBar().closeButton());
    ASSERT_TRUE(test::waitUntil([&] { return !note->isWindowOpen(); }, waitMs));
    // What the program does once a window has closed, then the note opened again.
    table.forget(key);
    table.openSticky(*note);
    sticky = table.controller(key);
    ASSERT_TRUE(sticky);

    QTextCursor plumber(textView().document());
    plumber.setPosition(QStringLiteral("\u25CB call the p").size());
    EXPECT_GE(plumber.charFormat().fontWeight(), QFont::Bold) << "still bold";
    plumber.setPosition(QStringLiteral("\u25CB ca").size());
    EXPECT_LT(plumber.charFormat().fontWeight(), QFont::Bold);
}

TEST_F(StickyControlsX11Test, ChecklistLinesCutAndPastedKeepTheirBoxesAndAnotherProgramReadsThem)
{
    open(QStringLiteral("Trip\n\u25CB tent\n\u25CF matches\nend"));
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(putCaretAtEnd());
    // The two items, cut and pasted after the last line.
    pressKeys("ctrl+Home Down shift+Down shift+Down ctrl+x");
    ASSERT_TRUE(test::waitUntil([&] { return sticky->note()->plainText() == "Trip\nend"; }, waitMs)) << sticky->note()->plainText().toStdString();
    EXPECT_EQ(QString::fromUtf8(test::runProgram("xclip", {"-o", "-selection", "clipboard"})),
        QStringLiteral("\u25CB tent\n\u25CF matches\n"));

    pressKeys("ctrl+End Return ctrl+v");
    ASSERT_TRUE(test::waitUntil([&] { return sticky->note()->plainText().startsWith(QStringLiteral("Trip\nend\n\u25CB tent\n\u25CF matches")); }, waitMs))
        << sticky->note()->plainText().toStdString();
    TextStorage storage(*textView().document());
    const int tent = int(QStringLiteral("Trip\nend\n").size());
    EXPECT_EQ(ChecklistEditing(storage).checklistMarkerState(tent, 6), false) << "a drawn open box";
    EXPECT_EQ(ChecklistEditing(storage).checklistMarkerState(tent + 7, 9), true) << "a drawn ticked box";
}

TEST_F(StickyControlsX11Test, ATablePastedIntoATableCellShowsAsItsLinesAsItWillOnceReopened)
{
    copyInAnotherProgram("text/html", "<table><tr><td>Mon</td><td>Ann</td></tr></table>");
    ASSERT_FALSE(HasFatalFailure());
    openWithNewTable("Rota");
    ASSERT_FALSE(HasFatalFailure());
    pressKeys("ctrl+v");
    ASSERT_TRUE(test::waitUntil([&] { return sticky->note()->plainText().contains("Mon\nAnn"); }, waitMs))
        << sticky->note()->plainText().toStdString();

    const QList<QTextFrame*> tables = textView().document()->rootFrame()->childFrames();
    ASSERT_EQ(tables.size(), 1);
    EXPECT_TRUE(tables.front()->childFrames().isEmpty()) << "no table inside the cell";
    const std::unique_ptr<QTextDocument> reopened = decodeRichTextData(sticky->note()->content());
    ASSERT_TRUE(reopened);
    EXPECT_EQ(plainTextOf(*reopened), plainTextOf(*textView().document()));
}

TEST_F(StickyControlsX11Test, TextTypedInANewNoteIsCopiedAtTheSizeItShowsIntoAnotherNoteAndProgram)
{
    open(QString());
    ASSERT_FALSE(HasFatalFailure());
    pressKeys("T Return a l p h a Return b e t a");
    ASSERT_TRUE(test::waitUntil([&] { return sticky->note()->plainText() == "T\nalpha\nbeta"; }, waitMs))
        << sticky->note()->plainText().toStdString();
    pressKeys("ctrl+a ctrl+c");
    ASSERT_TRUE(test::waitUntil([] { return QGuiApplication::clipboard()->text() == "T\nalpha\nbeta"; }, waitMs));

    // What another program is given.
    const QString html = QString::fromUtf8(test::runProgram("xclip", {"-o", "-selection", "clipboard", "-t", "text/html"}));
    EXPECT_TRUE(html.contains("font-size:14px")) << html.toStdString();
    EXPECT_FALSE(html.contains("font-size:9")) << html.toStdString();
    const QString rtf = QString::fromUtf8(test::runProgram("xclip", {"-o", "-selection", "clipboard", "-t", "text/rtf"}));
    EXPECT_TRUE(rtf.contains("\\fs28")) << rtf.toStdString();
    EXPECT_FALSE(rtf.contains("\\fs18")) << rtf.toStdString();

    // What another note is given, and keeps.
    open("Pasted");
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(putCaretAtEnd());
    pressKeys("Return ctrl+v");
    ASSERT_TRUE(test::waitUntil([&] { return sticky->note()->plainText() == "Pasted\nT\nalpha\nbeta"; }, waitMs))
        << sticky->note()->plainText().toStdString();
    for (const QString& through : {QStringLiteral("Pasted\nT"), QStringLiteral("Pasted\nT\nal"), QStringLiteral("Pasted\nT\nalpha\nb")}) {
        QTextCursor letter(textView().document());
        letter.setPosition(int(through.size()));
        const qreal size = EditorFonts::size(letter.charFormat()).value_or(EditorFonts::size(textView().document()->defaultFont()));
        EXPECT_EQ(size, RichTextEditor::defaultFontSize) << through.toStdString();
    }
    EXPECT_FALSE(sticky->note()->content().contains("\\fs18")) << sticky->note()->content().toStdString();
}

TEST_F(StickyControlsX11Test, ATableCopiedIntoAnotherNoteComesBackAsItWas)
{
    openWithNewTable("Rota");
    ASSERT_FALSE(HasFatalFailure());
    pressKeys("c 1 Tab c 2 Tab c 3 Tab c 4 ctrl+End t a i l");
    const QString source = QStringLiteral("Rota\nc1\nc2\nc3\nc4\ntail");
    ASSERT_TRUE(test::waitUntil([&] { return sticky->note()->plainText() == source; }, waitMs))
        << sticky->note()->plainText().toStdString();
    pressKeys("ctrl+a ctrl+c");
    ASSERT_TRUE(test::waitUntil([] { return QGuiApplication::clipboard()->text().startsWith("Rota"); }, waitMs));

    const QByteArray html = test::runProgram("xclip", {"-o", "-selection", "clipboard", "-t", "text/html"});

    open(QString());
    ASSERT_FALSE(HasFatalFailure());
    pressKeys("ctrl+v");
    ASSERT_TRUE(test::waitUntil([&] { return sticky->note()->plainText().contains("tail"); }, waitMs));
    EXPECT_EQ(sticky->note()->plainText(), source);
    EXPECT_EQ(textView().document()->rootFrame()->childFrames().size(), 1);

    // The same copy as a program that takes only its HTML gives it back.
    copyInAnotherProgram("text/html", html);
    ASSERT_FALSE(HasFatalFailure());
    open(QString());
    ASSERT_FALSE(HasFatalFailure());
    pressKeys("ctrl+v");
    ASSERT_TRUE(test::waitUntil([&] { return sticky->note()->plainText().contains("tail"); }, waitMs));
    EXPECT_EQ(sticky->note()->plainText(), source);
}

TEST_F(StickyControlsX11Test, ALongTablePastedIsStoredInProportionToItsText)
{
    QString html = QStringLiteral("<table>");
    for (int row = 0; row < 5000; ++row)
        html += QStringLiteral("<tr><td>row %1</td><td>name %2</td><td>%3.50</td></tr>").arg(row).arg(row % 997).arg(row * 13);
    copyInAnotherProgram("text/html", (html + QStringLiteral("</table>")).toUtf8());
    ASSERT_FALSE(HasFatalFailure());
    open("Data");
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(putCaretAtEnd());
    pressKeys("Return ctrl+v");
    ASSERT_TRUE(test::waitUntil([&] { return sticky->note()->plainText().contains("row 4999\nname 14\n64987.50\n"); }, 10 * waitMs));

    const qsizetype text = sticky->note()->plainText().size();
    EXPECT_LT(sticky->note()->content().size(), 4 * text) << "a body of " << sticky->note()->content().size() << " bytes for " << text << " characters";
    const std::unique_ptr<QTextDocument> reopened = decodeRichTextData(sticky->note()->content());
    ASSERT_TRUE(reopened);
    EXPECT_EQ(plainTextOf(*reopened), plainTextOf(*textView().document()));

    // Laid out to its last row beside the scroll bar it brought, and taken back by one undo.
    ASSERT_TRUE(test::waitUntil([&] {
        const QTextBlock last = textView().document()->lastBlock();
        return last.layout() && last.layout()->lineCount() > 0;
    },
        10 * waitMs));
    EXPECT_TRUE(textView().verticalScrollBar()->isVisible());
    EXPECT_EQ(textView().horizontalScrollBar()->maximum(), 0) << "every row fits beside the scroll bar";
    EXPECT_LE(textView().document()->pageSize().width(), textView().viewport()->width());
    pressKeys("ctrl+z");
    EXPECT_TRUE(test::waitUntil([&] { return sticky->note()->plainText() == "Data\n"; }, 10 * waitMs)) << sticky->note()->plainText().left(40).toStdString();
    EXPECT_TRUE(textView().document()->rootFrame()->childFrames().isEmpty());
}
