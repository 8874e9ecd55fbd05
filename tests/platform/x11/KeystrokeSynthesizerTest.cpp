// The paste keystroke through XTest on the test's X server, into a text field of our own.
#include "platform/KeystrokeSynthesizer.h"
#include "platform/RunningApplication.h"
#include "support/TestHome.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QProcess>
#include <gtest/gtest.h>

using namespace norvelle;

namespace {

constexpr int waitMs = 20000;

void xdotool(const QStringList& arguments)
{
    ASSERT_EQ(QProcess::execute("xdotool", arguments), 0) << arguments.join(' ').toStdString();
}

class FocusedField : public testing::Test {
protected:
    void SetUp() override
    {
        field.setWindowTitle("Keystroke target");
        field.show();
        // Asked for as a pager would, which the window manager's focus-stealing rules let through.
        const RunningApplication self(field.winId(), QCoreApplication::applicationPid(), "");
        ASSERT_TRUE(test::waitUntil([&] {
            self.activate();
            return field.hasFocus() && QApplication::activeWindow() == &field;
        },
            waitMs));
        QApplication::clipboard()->setText("typed by XTest");
    }

    QLineEdit field;
    KeystrokeSynthesizer synthesizer;
};

} // namespace

TEST_F(FocusedField, XTestIsThereAndTheChordPastesTheClipboard)
{
    ASSERT_TRUE(synthesizer.isTrusted());
    synthesizer.postPaste();
    EXPECT_TRUE(test::waitUntil([&] { return field.text() == "typed by XTest"; }, waitMs));
    // No key is left held down.
    EXPECT_TRUE(test::waitUntil([&] { return !synthesizer.modifiersHeld(); }, waitMs));
}

TEST_F(FocusedField, ChordWaitsUntilTheHotKeysModifiersAreReleased)
{
    xdotool({"keydown", "ctrl"});
    ASSERT_TRUE(test::waitUntil([&] { return synthesizer.modifiersHeld(); }, waitMs));
    synthesizer.postPaste();
    // Sent now it would be Ctrl+Shift+Insert, which pastes nothing.
    test::waitUntil([] { return false; }, 300);
    EXPECT_TRUE(field.text().isEmpty());
    xdotool({"keyup", "ctrl"});
    EXPECT_TRUE(test::waitUntil([&] { return field.text() == "typed by XTest"; }, waitMs));
    EXPECT_TRUE(test::waitUntil([&] { return !synthesizer.modifiersHeld(); }, waitMs));
}
