#include "platform/LoginItem.h"

#include "platform/AppPaths.h"
#include "support/TestHome.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

using namespace norvelle;

namespace {

QString readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The Exec line as a launcher reads it: string escapes first, then "%%", then the quoting,
// which follows the shell's double-quote rules.
QString execCommand(const QString& entry)
{
    const QRegularExpressionMatch match = QRegularExpression("^Exec=(.*)$", QRegularExpression::MultilineOption).match(entry);
    QString value = match.captured(1);
    QString unescaped;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            const QChar next = value[++i];
            unescaped += next == 'n' ? QChar('\n') : next == 't' ? QChar('\t')
                : next == 'r'                                    ? QChar('\r')
                                                                 : next;
        } else {
            unescaped += value[i];
        }
    }
    return unescaped.replace(QStringLiteral("%%"), QStringLiteral("%"));
}

} // namespace

TEST(LoginItem, RegisterWritesAnEntryThatStartsThisProgramAndUnregisterRemovesIt)
{
    EXPECT_EQ(LoginItem::status(), LoginItem::Status::notRegistered);
    EXPECT_EQ(LoginItem::filePath(), AppPaths::autostartDirectory() + "/norvelle.desktop");

    EXPECT_EQ(LoginItem::registerItem(), std::nullopt);
    EXPECT_EQ(LoginItem::status(), LoginItem::Status::enabled);
    const QString entry = readAll(LoginItem::filePath());
    EXPECT_TRUE(entry.startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(entry.contains("\nType=Application\n"));
    EXPECT_TRUE(entry.contains("\nName=Norvelle\n"));
    EXPECT_EQ(execCommand(entry), QCoreApplication::applicationFilePath());

    // Registering again replaces the entry rather than failing or adding a second one.
    EXPECT_EQ(LoginItem::registerItem(), std::nullopt);
    EXPECT_EQ(QDir(AppPaths::autostartDirectory()).entryList(QDir::Files), QStringList {"norvelle.desktop"});

    EXPECT_EQ(LoginItem::unregisterItem(), std::nullopt);
    EXPECT_FALSE(QFile::exists(LoginItem::filePath()));
    EXPECT_EQ(LoginItem::status(), LoginItem::Status::notRegistered);
    // Nothing to remove is no failure.
    EXPECT_EQ(LoginItem::unregisterItem(), std::nullopt);
}

TEST(LoginItem, AnEntrySwitchedOffByTheDesktopCountsAsNotRegistered)
{
    writeFile(LoginItem::filePath(), "[Desktop Entry]\nType=Application\nExec=norvelle\nHidden=true\n");
    EXPECT_EQ(LoginItem::status(), LoginItem::Status::notRegistered);
    writeFile(LoginItem::filePath(), "[Desktop Entry]\nExec=norvelle\nX-GNOME-Autostart-enabled=false\n");
    EXPECT_EQ(LoginItem::status(), LoginItem::Status::notRegistered);
    // The same keys in another group are not the entry's.
    writeFile(LoginItem::filePath(), "[Desktop Entry]\nExec=norvelle\n[Desktop Action x]\nHidden=true\n");
    EXPECT_EQ(LoginItem::status(), LoginItem::Status::enabled);

    // Turning it on again writes a fresh entry that is on.
    EXPECT_EQ(LoginItem::registerItem(), std::nullopt);
    EXPECT_EQ(LoginItem::status(), LoginItem::Status::enabled);
}

TEST(LoginItem, AProgramPathWithSpacesQuotesAndPercentSignsStillStartsThatProgram)
{
    const QString folder = test::TestHomeListener::home() + "/My \"odd\" $HOME `x` 100% \\ folder";
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString marker = test::TestHomeListener::home() + "/started";
    const QString program = folder + "/norvelle";
    writeFile(program, QStringLiteral("#!/bin/sh\ntouch '%1'\n").arg(marker).toUtf8());
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    const QString command = execCommand(LoginItem::desktopEntry(program));
    EXPECT_NE(command, program); // it had to be quoted
    QProcess shell;
    shell.start("/bin/sh", {"-c", command});
    ASSERT_TRUE(shell.waitForFinished(5000));
    EXPECT_EQ(shell.exitCode(), 0) << shell.readAllStandardError().toStdString();
    EXPECT_TRUE(QFile::exists(marker));
}

TEST(LoginItem, AFolderThatCannotBeMadeReportsTheFailureAndLeavesItOff)
{
    // A file where the autostart folder belongs: nothing can be written below it.
    writeFile(AppPaths::autostartDirectory(), "not a folder");
    const std::optional<QString> error = LoginItem::registerItem();
    ASSERT_TRUE(error.has_value());
    EXPECT_FALSE(error->isEmpty());
    EXPECT_EQ(LoginItem::status(), LoginItem::Status::notRegistered);
}
