// The Clipboard, Editor and Privacy panes.
#include "UserInput.h"
#include "clipboard/ClipboardRetentionMode.h"
#include "core/OSLogAnalyticsTracker.h"
#include "platform/StoredSettings.h"
#include "platform/UserDefaults.h"
#include "settings/ClipboardPane.h"
#include "settings/EditorPane.h"
#include "settings/PrivacyPane.h"
#include "settings/StoredChoicePicker.h"
#include "settings/ToggleSwitch.h"
#include "support/TestHome.h"

#include <QDesktopServices>
#include <QPushButton>
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
    EXPECT_EQ(UserDefaults::standard().string(storedSettings::clipboardRetentionMode.key), "session");
    EXPECT_EQ(ClipboardRetentionMode::current(), ClipboardRetentionMode::session);

    // The history pane's own choice writes the same key; this pane shows it.
    UserDefaults::standard().set(storedSettings::clipboardRetentionMode.key, "days30");
    EXPECT_EQ(picker->chosen(), "days30");

    // An unknown stored text marks nothing; choosing replaces it.
    UserDefaults::standard().set(storedSettings::clipboardRetentionMode.key, "forever");
    EXPECT_EQ(picker->chosen(), "");
    for (const QString raw : {"session", "hours24", "days7", "days30"}) {
        EXPECT_FALSE(picker->button(raw)->isChecked()) << raw.toStdString();
    }
    click(picker->button("hours24"));
    EXPECT_EQ(UserDefaults::standard().string(storedSettings::clipboardRetentionMode.key), "hours24");
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

// Takes the web addresses the program asks the desktop to open.
class OpenedUrls : public QObject {
    Q_OBJECT
public:
    OpenedUrls()
    {
        QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "open");
    }
    ~OpenedUrls() override { QDesktopServices::unsetUrlHandler(QStringLiteral("https")); }
    QList<QUrl> urls;

public slots:
    void open(const QUrl& url) { urls << url; }
};

TEST(PrivacyPane, AnalyticsAreOnUntilSwitchedOffAndTheTrackerFollows)
{
    PrivacyPane pane;
    pane.resize(480, 700);
    pane.show();
    EXPECT_TRUE(pane.analyticsSwitch()->isChecked());
    EXPECT_TRUE(storedSettings::telemetryEnabled.value());
    EXPECT_FALSE(pane.analyticsSwitch()->toolTip().isEmpty());
    click(pane.analyticsSwitch());
    EXPECT_EQ(UserDefaults::standard().object("norvelle.telemetryEnabled"), QVariant(false));
    EXPECT_FALSE(storedSettings::telemetryEnabled.value());
    click(pane.analyticsSwitch());
    EXPECT_TRUE(storedSettings::telemetryEnabled.value());
}

TEST(PrivacyPane, TheLegalPagesOpenOnTheWebSiteWhateverServerIsSet)
{
    UserDefaults::standard().set("norvelle.api.baseURL", "http://127.0.0.1:9");
    OpenedUrls opened;
    PrivacyPane pane;
    pane.resize(480, 700);
    pane.show();
    QTest::mouseClick(pane.privacyPolicyButton(), Qt::LeftButton);
    QTest::mouseClick(pane.termsButton(), Qt::LeftButton);
    ASSERT_EQ(opened.urls.size(), 2);
    EXPECT_EQ(opened.urls[0].path(), "/privacy");
    EXPECT_EQ(opened.urls[1].path(), "/terms");
    EXPECT_EQ(opened.urls[0].scheme(), "https");
    EXPECT_NE(opened.urls[0].host(), "127.0.0.1");
}

} // namespace
} // namespace norvelle

#include "SimplePanesTest.moc"
