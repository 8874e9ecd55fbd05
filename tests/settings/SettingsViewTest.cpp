// The settings window, its pane switching, the General pane and the stored settings.
#include "UserInput.h"
#include "platform/AppPaths.h"
#include "platform/LoginItem.h"
#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"
#include "settings/GeneralPane.h"
#include "settings/NorvelleSettingsView.h"
#include "settings/PrivacyPane.h"
#include "settings/SettingsSection.h"
#include "settings/SettingsSidebar.h"
#include "settings/SettingsWindowController.h"
#include "settings/StoredChoicePicker.h"
#include "settings/ToggleSwitch.h"
#include "support/TestHome.h"
#include "ui/SchemePalette.h"
#include "ui/TextLabel.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace norvelle {
namespace {

using test::click;

const QString openPane = QStringLiteral("norvelleOpenSettingsPane");

class SettingsViewTest : public testing::Test {
protected:
    GeneralPane& general() { return *static_cast<GeneralPane*>(controller.view()->form(SettingsPane::general)); }
    NorvelleSettingsView& view() { return *controller.view(); }

    void show()
    {
        controller.showWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(controller.window()));
    }

    static QString autostartEntry() { return LoginItem::filePath(); }

    SettingsWindowController controller;
};

TEST_F(SettingsViewTest, TheWindowOpensOnTheGeneralPaneWithItsRowHighlighted)
{
    show();
    EXPECT_EQ(controller.window()->windowTitle(), "Settings");
    EXPECT_EQ(controller.window()->size(), QSize(640, 480));
    EXPECT_EQ(controller.window()->minimumSize(), QSize(580, 420));
    EXPECT_EQ(view().pane(), SettingsPane::general);
    for (const SettingsPane pane : allSettingsPanes) {
        EXPECT_EQ(view().sidebar()->row(pane)->isCurrent(), pane == SettingsPane::general);
    }
    QStringList headers;
    for (SettingsSection* section : general().sections()) {
        headers << section->header();
    }
    EXPECT_EQ(headers, QStringList({"General settings", "Appearance", ""}));
}

TEST_F(SettingsViewTest, ASidebarClickOrThePaneNotificationSwitchesPanes)
{
    show();
    click(view().sidebar()->row(SettingsPane::shortcuts));
    EXPECT_EQ(view().pane(), SettingsPane::shortcuts);
    EXPECT_TRUE(view().sidebar()->row(SettingsPane::shortcuts)->isCurrent());
    EXPECT_FALSE(view().sidebar()->row(SettingsPane::general)->isCurrent());

    NotificationCenter::defaultCenter().post(openPane, nullptr, {{"pane", "Sync"}});
    EXPECT_EQ(view().pane(), SettingsPane::sync);
    EXPECT_TRUE(view().sidebar()->row(SettingsPane::sync)->isCurrent());
    EXPECT_FALSE(view().sidebar()->row(SettingsPane::shortcuts)->isCurrent());

    // Wrong case, a number, no key and no user info name no pane.
    NotificationCenter::defaultCenter().post(openPane, nullptr, {{"pane", "privacy"}});
    NotificationCenter::defaultCenter().post(openPane, nullptr, {{"pane", 3}});
    NotificationCenter::defaultCenter().post(openPane, nullptr, {{"panel", "Privacy"}});
    NotificationCenter::defaultCenter().post(openPane);
    EXPECT_EQ(view().pane(), SettingsPane::sync);

    for (const SettingsPane pane : allSettingsPanes) {
        NotificationCenter::defaultCenter().post(openPane, nullptr, {{"pane", settingsPaneRawValue(pane)}});
        EXPECT_EQ(view().pane(), pane);
        EXPECT_EQ(view().currentForm()->isVisible(), true);
    }
}

TEST_F(SettingsViewTest, OpenWorkspaceOnLaunchIsOffUntilSwitchedAndStoredAtOnce)
{
    show();
    UserDefaults& defaults = UserDefaults::standard();
    ToggleSwitch* toggle = general().openWorkspaceSwitch();
    EXPECT_FALSE(toggle->isChecked());
    EXPECT_FALSE(defaults.contains("norvelle.openWorkspaceOnLaunch"));
    click(toggle);
    EXPECT_EQ(defaults.object("norvelle.openWorkspaceOnLaunch"), QVariant(true));
    click(toggle);
    EXPECT_EQ(defaults.object("norvelle.openWorkspaceOnLaunch"), QVariant(false));
    // A change made elsewhere shows at once.
    defaults.set("norvelle.openWorkspaceOnLaunch", true);
    EXPECT_TRUE(toggle->isChecked());
    // A stored value of another type reads as the default.
    defaults.set("norvelle.openWorkspaceOnLaunch", "yes");
    EXPECT_FALSE(toggle->isChecked());
}

TEST_F(SettingsViewTest, TheThemeFollowsTheStoredChoiceAndForcesTheWindowsLook)
{
    show();
    UserDefaults& defaults = UserDefaults::standard();
    StoredChoicePicker* theme = general().themePicker();
    EXPECT_EQ(theme->chosen(), "system");

    click(theme->button("dark"));
    EXPECT_EQ(defaults.string("norvelle.appearance"), "dark");
    EXPECT_EQ(schemeOf(view().palette()), ColorScheme::dark);
    const QImage dark = view().grab().toImage();
    EXPECT_EQ(dark.pixel(dark.width() - 4, dark.height() - 4), QColor::fromRgbF(0.11f, 0.11f, 0.12f).rgb());
    EXPECT_EQ(dark.pixel(4, dark.height() - 4), QColor::fromRgbF(0.09f, 0.09f, 0.10f).rgb());

    click(theme->button("light"));
    EXPECT_EQ(defaults.string("norvelle.appearance"), "light");
    EXPECT_EQ(schemeOf(view().palette()), ColorScheme::light);

    // An unknown stored text follows the desktop and marks no option.
    defaults.set("norvelle.appearance", "sepia");
    EXPECT_EQ(theme->chosen(), "");
    EXPECT_EQ(view().palette(), QApplication::palette());
}

TEST_F(SettingsViewTest, TheDarkThemeDrawsThePanesButtonsDarkToo)
{
    UserDefaults::standard().set("norvelle.appearance", "dark");
    show();
    click(view().sidebar()->row(SettingsPane::privacy));
    auto* privacy = static_cast<PrivacyPane*>(view().form(SettingsPane::privacy));
    QPushButton* button = privacy->privacyPolicyButton();
    const QImage image = button->grab().toImage();
    // Between the frame and the title.
    const QColor fill = image.pixelColor(4, image.height() / 2);
    EXPECT_LT(fill.lightnessF(), 0.5) << fill.name().toStdString();
    EXPECT_GT(button->palette().buttonText().color().lightnessF(), 0.5);
}

TEST_F(SettingsViewTest, GoingFromDarkBackToLightMakesTheTextsDarkAgain)
{
    UserDefaults::standard().set("norvelle.appearance", "dark");
    show();
    const auto textColor = [this](const QString& text) {
        for (TextLabel* label : view().findChildren<TextLabel*>()) {
            if (label->text() == text && label->isVisible()) {
                label->grab();
                return label->palette().color(QPalette::WindowText);
            }
        }
        ADD_FAILURE() << "no label " << text.toStdString();
        return QColor();
    };
    EXPECT_GT(textColor("Launch at login").lightnessF(), 0.5);

    click(general().themePicker()->button("light"));
    ASSERT_EQ(schemeOf(view().palette()), ColorScheme::light);
    for (const QString& text : {QStringLiteral("Launch at login"), QStringLiteral("Appearance")}) {
        EXPECT_LT(textColor(text).lightnessF(), 0.5) << text.toStdString();
    }
}

TEST_F(SettingsViewTest, LaunchAtLoginWritesAndRemovesTheAutostartEntry)
{
    show();
    ToggleSwitch* toggle = general().launchAtLoginSwitch();
    EXPECT_FALSE(toggle->isChecked());
    click(toggle);
    EXPECT_TRUE(toggle->isChecked());
    EXPECT_TRUE(QFile::exists(autostartEntry()));
    EXPECT_EQ(LoginItem::status(), LoginItem::Status::enabled);
    click(toggle);
    EXPECT_FALSE(toggle->isChecked());
    EXPECT_FALSE(QFile::exists(autostartEntry()));
}

TEST_F(SettingsViewTest, LaunchAtLoginShowsTheRealStateEachTimeTheWindowOpens)
{
    show();
    EXPECT_FALSE(general().launchAtLoginSwitch()->isChecked());
    controller.close();
    ASSERT_EQ(LoginItem::registerItem(), std::nullopt);
    show();
    EXPECT_TRUE(general().launchAtLoginSwitch()->isChecked());
}

TEST_F(SettingsViewTest, LaunchAtLoginAlreadyOnIsNotWrittenAgain)
{
    show();
    ToggleSwitch* toggle = general().launchAtLoginSwitch();
    // Turned on behind the window's back, with an entry of the user's own.
    QDir().mkpath(AppPaths::autostartDirectory());
    QFile entry(autostartEntry());
    ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
    entry.write("[Desktop Entry]\nExec=/opt/mine\n");
    entry.close();
    click(toggle);
    EXPECT_TRUE(toggle->isChecked());
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    EXPECT_EQ(entry.readAll(), "[Desktop Entry]\nExec=/opt/mine\n");
}

TEST_F(SettingsViewTest, ARefusedLaunchAtLoginPutsTheSwitchBackOff)
{
    show();
    // A file where the autostart folder belongs: the entry cannot be written.
    QDir().mkpath(QFileInfo(AppPaths::autostartDirectory()).absolutePath());
    QFile blocker(AppPaths::autostartDirectory());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ToggleSwitch* toggle = general().launchAtLoginSwitch();
    click(toggle);
    EXPECT_FALSE(toggle->isChecked());
}

TEST_F(SettingsViewTest, ClosingKeepsTheChosenPaneForTheNextOpening)
{
    show();
    click(view().sidebar()->row(SettingsPane::editor));
    controller.close();
    EXPECT_FALSE(controller.window()->isVisible());
    show();
    EXPECT_EQ(view().pane(), SettingsPane::editor);
}

} // namespace
} // namespace norvelle
