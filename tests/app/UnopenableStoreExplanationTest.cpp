// What the launch explains about a note store it cannot use, with the files as a user has them:
// the launch runs in a child copy of this program that file permissions bind, as they bind a
// user (root is let through any mode).
#include "app/AppDelegate.h"
#include "app/AppServices.h"
#include "objectstore/SqliteConnection.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"
#include "support/ProgramRun.h"
#include "support/TestHome.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

using namespace norvelle;

namespace {

const char* const homeVariable = "NORVELLE_EXPLAINED_HOME";

// The child's output: the launch's explanation, and whether the launch went on.
QString launchInChild(const QString& home)
{
    qputenv(homeVariable, home.toLocal8Bit());
    QStringList command {QCoreApplication::applicationFilePath(), "--gtest_also_run_disabled_tests",
        "--gtest_filter=UnopenableStoreExplanation.DISABLED_LaunchTellingTheExplanation"};
    if (geteuid() == 0) {
        command = QStringList {"--bounding-set=-dac_override,-dac_read_search"} + command;
        command.prepend(QStandardPaths::findExecutable("setpriv"));
    }
    const QString program = command.takeFirst();
    const QString output = QString::fromUtf8(test::runProgram(program, command));
    qunsetenv(homeVariable);
    return output;
}

} // namespace

// Not a test of its own: the launch the test below runs in a child.
TEST(UnopenableStoreExplanation, DISABLED_LaunchTellingTheExplanation)
{
    const QString home = qEnvironmentVariable(homeVariable);
    if (home.isEmpty()) {
        GTEST_SKIP() << "started only by the test below";
    }
    qputenv("NORVELLE_HOME", home.toLocal8Bit());
    AppServices services = AppServices::live();
    services.startCrashTelemetry = [] {};
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&answer] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            return;
        }
        answer.stop();
        std::printf("explained: %s\n%s\n", qPrintable(box->text()), qPrintable(box->informativeText()));
        box->button(QMessageBox::Ok)->click();
    });
    answer.start(10);
    AppDelegate delegate(services);
    std::printf("launched: %s\n", delegate.applicationDidFinishLaunching() ? "yes" : "no");
}

TEST(UnopenableStoreExplanation, AFileOfTheStoreTheUserMayNotReadAndWriteIsNamedWithAdviceOnItsPermissions)
{
    if (geteuid() == 0 && QStandardPaths::findExecutable("setpriv").isEmpty()) {
        GTEST_SKIP() << "running as root without setpriv to give up the power over file modes";
    }
    const QString path = PersistenceController::storePath();
    {
        PersistenceController store;
        StickyNote::insert(store.viewContext())->setTitle("kept");
        store.save();
        store.container().mainConnection().leaveFilesAsTheyAreOnClose();
    }
    const auto modeOf = [](const QString& file) {
        struct stat status { };
        return ::stat(QFile::encodeName(file).constData(), &status) == 0 ? status.st_mode & 07777 : ~0u;
    };
    const std::vector<std::pair<QString, mode_t>> denials = {{"-shm", 0000}, {"-wal", 0400}};
    for (const auto& [suffix, mode] : denials) {
        const QString file = path + suffix;
        ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), mode), 0);

        const QString output = launchInChild(test::TestHomeListener::home());
        EXPECT_TRUE(output.contains("explained: Norvelle can't open your notes.")) << output.toStdString();
        EXPECT_TRUE(output.contains(file)) << output.toStdString();
        EXPECT_TRUE(output.contains("Norvelle needs to read and write Norvelle.sqlite" + suffix
            + ": give your user read and write access to it."))
            << output.toStdString();
        EXPECT_TRUE(output.contains("launched: no")) << output.toStdString();
        // Left as they are, for the user to put right.
        EXPECT_EQ(modeOf(file), mode) << suffix.toStdString();
        EXPECT_TRUE(QDir(PersistenceController::storeDirectory()).entryList({"*.broken-*"}, QDir::AllEntries | QDir::System).isEmpty());

        ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), 0600), 0);
    }
    PersistenceController store;
    ASSERT_FALSE(store.loadError());
    EXPECT_EQ(store.viewContext().fetch(StickyNote::fetchRequest()).at(0)->title(), "kept");
}
