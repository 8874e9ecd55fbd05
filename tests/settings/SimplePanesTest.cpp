// The Clipboard and Editor panes.
#include "clipboard/ClipboardRetentionMode.h"
#include "platform/UserDefaults.h"
#include "settings/ClipboardPane.h"
#include "settings/EditorPane.h"
#include "settings/StoredChoicePicker.h"
#include "settings/ToggleSwitch.h"
#include "support/TestHome.h"
#include "UserInput.h"

#include <QRadioButton>
#include <QTest>

namespace norvelle {
namespace {

using test::click;


TEST(ClipboardPane, KeepsSevenDaysUntilAnotherChoiceIsStored)
{
    ClipboardPane pane;
    pane.resize(480, 400);
    pane.show();
    StoredChoicePicker* picker = pane.retentionPicker();
    EXPECT_EQ(picker->chosen(), "days7");
    QStringList titles;
    for (const QString raw : {"session", "hours24", "days7", "days30"}) {
        titles << picker->button(raw)->text();
    }
    EXPECT_EQ(titles, QStringList({"Until you quit Norvelle", "24 hours", "7 days", "30 days"}));

    click(picker->button("session"));
    EXPECT_EQ(UserDefaults::standard().string(ClipboardRetentionMode::defaultsKey), "session");
    EXPECT_EQ(ClipboardRetentionMode::current(), ClipboardRetentionMode::session);

    // The history pane's own choice writes the same key; this pane shows it.
    UserDefaults::standard().set(ClipboardRetentionMode::defaultsKey, "days30");
    EXPECT_EQ(picker->chosen(), "days30");

    // An unknown stored text marks nothing; choosing replaces it.
    UserDefaults::standard().set(ClipboardRetentionMode::defaultsKey, "forever");
    EXPECT_EQ(picker->chosen(), "");
    for (const QString raw : {"session", "hours24", "days7", "days30"}) {
        EXPECT_FALSE(picker->button(raw)->isChecked()) << raw.toStdString();
    }
    click(picker->button("hours24"));
    EXPECT_EQ(UserDefaults::standard().string(ClipboardRetentionMode::defaultsKey), "hours24");
}

TEST(EditorPane, ItsSwitchesStayAtTheirFixedValues)
{
    EditorPane pane;
    pane.resize(480, 300);
    pane.show();
    EXPECT_TRUE(pane.checklistAutoformatSwitch()->isChecked());
    EXPECT_FALSE(pane.pastePlainTextSwitch()->isChecked());
    click(pane.checklistAutoformatSwitch());
    click(pane.pastePlainTextSwitch());
    QTest::keyClick(pane.pastePlainTextSwitch(), Qt::Key_Space);
    EXPECT_TRUE(pane.checklistAutoformatSwitch()->isChecked());
    EXPECT_FALSE(pane.pastePlainTextSwitch()->isChecked());
    EXPECT_FALSE(QFile::exists(UserDefaults::standard().filePath()));
}

} // namespace
} // namespace norvelle
