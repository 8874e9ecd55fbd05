// A note on the theme's paper while the user switches the theme in Settings, clicks into the
// note and types: its text follows the paper both ways, and what is stored names no theme
// colour, so the note reads the same after reopening.
#include "app/AppDelegateFixture.h"
#include "editor/EditorCommands.h"
#include "editor/RichTextEditor.h"
#include "editor/StickyTextView.h"
#include "platform/NotificationCenter.h"
#include "settings/GeneralPane.h"
#include "settings/NorvelleSettingsView.h"
#include "settings/SettingsWindowController.h"
#include "settings/StoredChoicePicker.h"
#include "sticky/KeyablePanel.h"
#include "sticky/StickyContentView.h"
#include "sticky/StickyWindowController.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"
#include "support/PointerDrag.h"

#include <QGuiApplication>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

namespace norvelle::test {
namespace {

constexpr int waitMs = 20000;

void clickOn(const QWidget* widget, QPoint at)
{
    const QPoint target = widget->mapToGlobal(at);
    ASSERT_TRUE(xdotool({"mousemove", "--sync", QString::number(target.x()), QString::number(target.y()), "click", "1"}));
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

QColor colorOfWord(QTextDocument& document, const QString& word)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().text().contains(word)) {
                return it.fragment().charFormat().foreground().color();
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
};

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
    const QColor red = colorOfWord(*view.document(), QStringLiteral("red"));
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
    EXPECT_EQ(colorOfWord(*view.document(), QStringLiteral("more")), QColor(Qt::white));

    // Back to light: dark text on light paper, and the switch itself saved nothing.
    const qint64 version = note->version();
    chooseTheme(QStringLiteral("light"));
    EXPECT_EQ(controller->contentView()->effectivePaperHex(), "#FDFDF8");
    EXPECT_TRUE(waitUntil([&] { return readsOn(*controller, false); }, waitMs));
    EXPECT_EQ(colorOfWord(*view.document(), QStringLiteral("more")), QColor(Qt::black));
    EXPECT_EQ(colorOfWord(*view.document(), QStringLiteral("red")), red);
    EXPECT_EQ(note->version(), version);
    EXPECT_EQ(note->content(), body);

    // Closed and opened again, the note reads the same.
    controller->close();
    controller = openNote(*note);
    ASSERT_TRUE(controller);
    EXPECT_TRUE(waitUntil([&] { return readsOn(*controller, false); }, waitMs));
    EXPECT_EQ(colorOfWord(*controller->editor()->textView().document(), QStringLiteral("Hello")), QColor(Qt::black));
    EXPECT_EQ(colorOfWord(*controller->editor()->textView().document(), QStringLiteral("red")), red);
    EXPECT_EQ(note->content(), body);
}

} // namespace
} // namespace norvelle::test
