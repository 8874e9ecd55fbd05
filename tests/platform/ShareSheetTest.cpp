#include "platform/ShareSheet.h"

#include "support/FakePasteboard.h"
#include "support/RecordingLauncher.h"
#include "support/TestHome.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace norvelle;

namespace {

class ShareSheetTest : public testing::Test {
protected:
    test::FakePasteboard pasteboard;
    test::RecordingLauncher launcher;
    QTemporaryDir folder;

    ShareSheet& show(QList<ShareItem> items)
    {
        m_sheet = std::make_unique<ShareSheet>(std::move(items), pasteboard, launcher);
        m_sheet->popup(QPoint(100, 100));
        EXPECT_TRUE(QTest::qWaitForWindowExposed(m_sheet.get()));
        return *m_sheet;
    }

    // The user clicking an entry of the shown menu.
    void click(QAction* action)
    {
        ASSERT_TRUE(m_sheet->isVisible());
        QTest::mouseClick(m_sheet.get(), Qt::LeftButton, {}, m_sheet->actionGeometry(action).center());
    }

    QString writeFile(const QString& name, const QByteArray& bytes)
    {
        const QString path = folder.filePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    std::unique_ptr<ShareSheet> m_sheet;
};

QStringList entryTitles(const QMenu& menu)
{
    QStringList titles;
    for (const QAction* action : menu.actions()) {
        if (!action->isSeparator()) {
            titles << action->text();
        }
    }
    return titles;
}

} // namespace

TEST_F(ShareSheetTest, TextIsCopiedAndMailedAsTheBodyButCannotBeOpened)
{
    ShareSheet& sheet = show({QStringLiteral("Groceries\n\nmilk, eggs")});
    EXPECT_EQ(entryTitles(sheet), QStringList({"Copy", "Open", "Show in Folder", "E-mail…"}));
    EXPECT_FALSE(sheet.openAction()->isEnabled());
    EXPECT_FALSE(sheet.showInFolderAction()->isEnabled());

    click(sheet.copyAction());
    EXPECT_EQ(pasteboard.string(), "Groceries\n\nmilk, eggs");
    EXPECT_FALSE(pasteboard.types().contains("text/uri-list"));

    show({QStringLiteral("Groceries")});
    click(m_sheet->emailAction());
    ASSERT_EQ(launcher.started.size(), 1);
    EXPECT_EQ(launcher.started[0].first, "xdg-email");
    EXPECT_EQ(launcher.started[0].second, QStringList({"--body", "Groceries"}));
}

TEST_F(ShareSheetTest, FilesAreOpenedShownAttachedAndCopiedForFileManagers)
{
    const QString rtf = writeFile("shares/note.rtfd/TXT.rtf", "{\\rtf1 hi}");
    const QByteArray pngBytes = [] {
        QImage image(8, 8, QImage::Format_ARGB32);
        image.fill(Qt::red);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        return bytes;
    }();
    const QString png = writeFile("shares/card.png", pngBytes);
    const QUrl document = QUrl::fromLocalFile(folder.filePath("shares/note.rtfd"));
    const QList<ShareItem> items {document, QUrl::fromLocalFile(png)};

    click(show(items).openAction());
    // A document folder opens in a word processor through the RTF file inside it.
    EXPECT_EQ(launcher.opened, QList<QUrl>({QUrl::fromLocalFile(rtf), QUrl::fromLocalFile(png)}));

    launcher.opened.clear();
    click(show(items).showInFolderAction());
    // Both live in one folder: it opens once.
    EXPECT_EQ(launcher.opened, QList<QUrl>({QUrl::fromLocalFile(folder.filePath("shares"))}));

    click(show(items).emailAction());
    ASSERT_EQ(launcher.started.size(), 1);
    EXPECT_EQ(launcher.started[0].second, QStringList({"--attach", rtf, "--attach", png}));

    click(show(items).copyAction());
    EXPECT_EQ(pasteboard.data("text/uri-list"), document.toEncoded() + "\r\n" + QUrl::fromLocalFile(png).toEncoded() + "\r\n");
    EXPECT_EQ(pasteboard.data("x-special/gnome-copied-files"),
        "copy\n" + document.toEncoded() + "\n" + QUrl::fromLocalFile(png).toEncoded());
    EXPECT_EQ(pasteboard.data("image/png"), pngBytes);
    EXPECT_EQ(pasteboard.string(), document.toLocalFile() + "\n\n" + png);
}

TEST_F(ShareSheetTest, AnImageIsCopiedAsPngAndOfferedNothingElse)
{
    QImage card(40, 30, QImage::Format_ARGB32);
    card.fill(Qt::blue);
    ShareSheet& sheet = show({card});
    EXPECT_TRUE(sheet.copyAction()->isEnabled());
    EXPECT_FALSE(sheet.openAction()->isEnabled());
    EXPECT_FALSE(sheet.emailAction()->isEnabled());
    click(sheet.copyAction());
    QImage pasted;
    ASSERT_TRUE(pasted.loadFromData(pasteboard.data("image/png"), "PNG"));
    EXPECT_EQ(pasted.size(), QSize(40, 30));
    EXPECT_EQ(pasted.pixelColor(5, 5), QColor(Qt::blue));
}

TEST_F(ShareSheetTest, AMissingMailProgramIsSaidNotSwallowed)
{
    launcher.succeeds = false;
    click(show({QStringLiteral("text")}).emailAction());
    QMessageBox* alert = nullptr;
    ASSERT_TRUE(test::waitUntil([&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) {
                alert = box;
            }
        }
        return alert != nullptr;
    }));
    EXPECT_EQ(alert->text(), "The e-mail program could not be started.");
    EXPECT_TRUE(alert->informativeText().contains("xdg-email"));
    alert->close();
}

TEST(ShareSheetPresent, NothingToShareShowsNoMenu)
{
    EXPECT_EQ(ShareSheet::present(SharePayload {}, QPoint(10, 10)), nullptr);
}
