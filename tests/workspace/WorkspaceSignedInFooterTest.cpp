// The sidebar's profile footer over a session file stored as the account code stores it.
#include "workspace/WorkspaceProfileFooter.h"

#include "WorkspaceApp.h"
#include "WorkspaceNotesFixture.h"
#include "account/AccountDisplayName.h"
#include "account/SyncCredentialStore.h"
#include "ui/PlainButton.h"
#include "workspace/WorkspaceFoldersStore.h"
#include "workspace/WorkspaceView.h"

#include <QAbstractButton>
#include <QFile>
#include <QMenu>
#include <QTest>

using namespace norvelle;

namespace {

class WorkspaceSignedInFooterTest : public test::WorkspaceNotesFixture {
protected:
    WorkspaceSignedInFooterTest()
    {
        // Written by a store of its own, so the footer has to read the file.
        EXPECT_FALSE(SyncCredentialStore(SyncCredentialStore::defaultFolder())
                         .save({"user-1", "access-1", "refresh-1", QDateTime::currentDateTimeUtc().addDays(1)},
                             QUrl("https://sync.example")));
        setStoredAccountDisplayName(QStringLiteral("Ada Lovelace"));
        context().save();
        m_view = std::make_unique<WorkspaceView>(
            context(), m_folders, [] { return false; },
            [] { return std::optional<QString>(); });
        m_view->resize(1100, 680);
        m_view->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(m_view.get()));
    }

    WorkspaceProfileFooter& footer() { return *m_view->findChild<WorkspaceProfileFooter*>(); }

    test::WorkspaceApp m_app;
    WorkspaceFoldersStore m_folders;
    std::unique_ptr<WorkspaceView> m_view;
};

} // namespace

TEST_F(WorkspaceSignedInFooterTest, AStoredSessionShowsTheNameAndTheWholeMenu)
{
    EXPECT_TRUE(footer().isSignedIn());
    EXPECT_TRUE(footer().profileButton()->isVisible());
    EXPECT_FALSE(footer().signInButton()->isVisible());
    EXPECT_EQ(static_cast<QAbstractButton*>(footer().profileButton())->text(), "Ada Lovelace");

    QTest::mouseClick(footer().profileButton(), Qt::LeftButton);
    QMenu* menu = footer().profileMenu();
    QStringList items;
    for (QAction* action : menu->actions()) {
        // As the menu shows it, shortcut marks taken out.
        items << (action->isSeparator() ? QStringLiteral("-") : action->iconText());
    }
    EXPECT_EQ(items, QStringList({"Profile & Settings", "Appearance", "Help", "-", "Log Out"}));
    menu->close();
}

TEST_F(WorkspaceSignedInFooterTest, LogOutRemovesTheSessionFile)
{
    const QString file = SyncCredentialStore::shared().sessionFilePath();
    ASSERT_TRUE(QFile::exists(file));
    QMenu* menu = footer().profileMenu();
    menu->actions().last()->trigger();
    EXPECT_FALSE(QFile::exists(file));
    footer().refresh();
    EXPECT_FALSE(footer().isSignedIn());
    EXPECT_TRUE(footer().signInButton()->isVisible());
}

TEST_F(WorkspaceSignedInFooterTest, ADirectionOverrideInTheServersNameTurnsNothingAround)
{
    QWidget& button = *footer().profileButton();
    const auto drawnWithName = [&](const QString& name) {
        setStoredAccountDisplayName(name);
        footer().refresh();
        return button.grab().toImage();
    };
    const QImage plain = drawnWithName(QStringLiteral("Alice Martin"));
    EXPECT_EQ(drawnWithName(QString(QChar(0x202E)) + QStringLiteral("Alice Martin")), plain) << "an override left open";
    EXPECT_NE(drawnWithName(QStringLiteral("Alice Marten")), plain) << "the name is drawn at all";
}
