#include "sticky/NoteFileOperations.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"
#include "support/LogCapture.h"
#include "support/RecordingTracker.h"
#include "support/TestHome.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QUuid>

#include <gtest/gtest.h>

#include <algorithm>

using namespace norvelle;

namespace {

class FakeNoteFileDialogs : public NoteFileDialogs {
public:
    std::optional<QString> importChoice;
    std::optional<QString> exportChoice;
    QStringList offeredNames;
    QList<QPair<QString, QString>> failures;
    QList<QPair<QString, QString>> importFailures;

    std::optional<QString> chooseFileToImport() override { return importChoice; }
    void showImportFailure(const QString& fileName, const QString& reason) override
    {
        importFailures.append({fileName, reason});
    }
    std::optional<QString> chooseExportFile(const QString& suggestedName) override
    {
        offeredNames << suggestedName;
        return exportChoice;
    }
    void showExportFailure(const QString& fileName, const QString& reason) override
    {
        failures.append({fileName, reason});
    }
};

class NoteFileOperationsTest : public testing::Test {
protected:
    PersistenceController store {true};
    ObjectContext& context = store.viewContext();
    std::shared_ptr<FakeNoteFileDialogs> sharedDialogs = std::make_shared<FakeNoteFileDialogs>();
    FakeNoteFileDialogs& dialogs = *sharedDialogs;
    test::RecordingTracker tracker;

    static QString pathFor(const QString& name) { return test::TestHomeListener::home() + "/" + name; }

    static QString writeFile(const QString& name, const QByteArray& bytes)
    {
        QFile file(pathFor(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        EXPECT_EQ(file.write(bytes), bytes.size());
        return file.fileName();
    }

    std::vector<std::shared_ptr<StickyNote>> notes() { return context.fetch(StickyNote::fetchRequest()); }

    // Imports `path` and returns the one new note, or null when none was made.
    std::shared_ptr<StickyNote> import(const std::optional<QString>& path)
    {
        const auto before = notes();
        const auto failuresBefore = dialogs.importFailures.size();
        dialogs.importChoice = path;
        std::optional<ObjectID> imported;
        NoteFileOperations::importNoteFromFile(sharedDialogs, context, tracker, [&imported](const ObjectID& id) { imported = id; });
        // The file is read on a worker thread: the note or the failure comes later.
        if (path) {
            EXPECT_TRUE(test::waitUntil([&] { return imported || dialogs.importFailures.size() > failuresBefore; }, 20000));
        }
        const auto after = notes();
        EXPECT_EQ(imported.has_value(), after.size() == before.size() + 1);
        EXPECT_LE(after.size(), before.size() + 1);
        for (const auto& note : after) {
            if (std::find(before.begin(), before.end(), note) == before.end()) {
                return note;
            }
        }
        return nullptr;
    }
};

} // namespace

TEST_F(NoteFileOperationsTest, ImportsUtf8TextAsASavedNoteAndHandsItToSync)
{
    test::LogCapture log;
    const auto note = import(writeFile("Plan.txt", "\n\n  Trip to Lyon \nday one\n"));
    ASSERT_TRUE(note);
    EXPECT_FALSE(context.hasChanges());
    EXPECT_TRUE(note->id().has_value());
    EXPECT_EQ(note->title(), "  Trip to Lyon ");
    EXPECT_EQ(note->plainText(), "\n\n  Trip to Lyon \nday one\n");
    EXPECT_EQ(note->paperColor(), "#FDFDF8");
    EXPECT_EQ(note->textureName(), "lined");
    EXPECT_EQ(note->version(), 1);
    EXPECT_EQ(note->lastSyncedVersion(), 0);
    EXPECT_EQ(note->permissions(), "Private");
    EXPECT_FALSE(note->isArchived());
    EXPECT_TRUE(note->content().isEmpty());
    EXPECT_TRUE(note->workspaceId().isEmpty());
    EXPECT_LE(note->createdAt(), note->updatedAt());

    ASSERT_EQ(tracker.events().size(), 1);
    EXPECT_EQ(tracker.events()[0].first, "note_imported");
    EXPECT_EQ(tracker.events()[0].second, AnalyticsMetadata({{"extension", "txt"}}));
    EXPECT_TRUE(test::waitUntil([&] { return log.messages().join('\n').contains("event=sync_enqueued"); }, 5000));
}

TEST_F(NoteFileOperationsTest, ImportsUtf16WithAByteOrderMark)
{
    QStringEncoder encoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    const QString text = QString::fromUtf8("Einkauf – Käse\r\nBrot");
    const auto note = import(writeFile("list.text", encoder.encode(text)));
    ASSERT_TRUE(note);
    EXPECT_EQ(note->plainText(), text);
    // Windows line ends split the title off like plain line feeds.
    EXPECT_EQ(note->title(), QString::fromUtf8("Einkauf – Käse"));
}

TEST_F(NoteFileOperationsTest, AnEmptyFileIsTitledWithItsName)
{
    const auto note = import(writeFile("Meeting notes.v2.txt", {}));
    ASSERT_TRUE(note);
    EXPECT_EQ(note->title(), "Meeting notes.v2");
    EXPECT_EQ(note->plainText(), "");
    EXPECT_EQ(tracker.events()[0].second.value("extension"), "txt");
}

TEST_F(NoteFileOperationsTest, ReadsRtfByItsExtensionInAnyCase)
{
    const auto note = import(writeFile("Report.RTF", "{\\rtf1\\ansi{\\fonttbl\\f0 Helvetica;}\\f0 Hello \\b world\\b0\\par second line}"));
    ASSERT_TRUE(note);
    EXPECT_EQ(note->title(), "Hello world");
    EXPECT_TRUE(note->plainText().startsWith("Hello world\nsecond line"));
    EXPECT_TRUE(note->content().isEmpty());
    EXPECT_EQ(tracker.events()[0].second.value("extension"), "RTF");
}

TEST_F(NoteFileOperationsTest, AnotherProgramsEmptyLineBeforeATableIsImported)
{
    const auto note = import(QDir(QStringLiteral(NORVELLE_RTF_FIXTURES)).filePath("latex-converter-style.rtf"));
    ASSERT_TRUE(note);
    EXPECT_EQ(note->title(), "1 Shopping");
    EXPECT_EQ(note->plainText(), "1 Shopping\nThe list for the week, in a table.\n\nItem\nCount\nMilk\n2\nBread\n1\n"
                                 "Nothing else this week.\n");
}

TEST_F(NoteFileOperationsTest, RtfWithoutTextFallsBackToReadingTheBytesAsText)
{
    const QByteArray truncated("{\\rtf1\\ansi{\\fonttbl\\f0 Helvetica;}");
    const auto note = import(writeFile("cut.rtf", truncated));
    ASSERT_TRUE(note);
    EXPECT_EQ(note->plainText(), QString::fromUtf8(truncated));
}

TEST_F(NoteFileOperationsTest, AnRtfFileThatIsNoRtfIsReadAsText)
{
    const auto note = import(writeFile("Draft.rtf", "just words\n"));
    ASSERT_TRUE(note);
    EXPECT_EQ(note->plainText(), "just words\n");
    EXPECT_EQ(tracker.events()[0].second.value("extension"), "rtf");
}

TEST_F(NoteFileOperationsTest, WhatCannotBeReadMakesNoNoteRecordsNothingAndIsShownWithTheReason)
{
    EXPECT_FALSE(import(std::nullopt));
    EXPECT_TRUE(dialogs.importFailures.isEmpty()) << "a cancelled dialog is no failure";
    EXPECT_FALSE(import(test::TestHomeListener::home()));
    EXPECT_FALSE(import(pathFor("vanished.txt")));
    QByteArray binary("\x89PNG\r\n\x1A\n\x00\x00\x00\x0DIHDR\x00\x00\x01\x00", 20);
    for (int i = 0; i < 2000; ++i) {
        binary.append(char((i * 131) % 256));
    }
    EXPECT_FALSE(import(writeFile("picture.txt", binary)));
    EXPECT_FALSE(import(writeFile("broken.rtf", QByteArray("\x00\x01\x02\xC0\xC1{\\rtf1", 11))));
    QStringList shown;
    for (const auto& [fileName, reason] : std::as_const(dialogs.importFailures)) {
        shown << fileName + ": " + reason.section(u':', 0, 0);
    }
    EXPECT_EQ(shown, QStringList({QDir(test::TestHomeListener::home()).dirName() + ": It is a folder, a device or a pipe, not a file.", "vanished.txt: The file is no longer there.", "picture.txt: It holds no plain text or RTF", "broken.rtf: It holds no plain text or RTF"}));
    EXPECT_TRUE(notes().empty());
    EXPECT_TRUE(tracker.events().isEmpty());
    EXPECT_FALSE(context.hasChanges());
}

TEST_F(NoteFileOperationsTest, AHugeTextFileBecomesOneWholeNote)
{
    QByteArray line("0123456789 abcdefghijklmnopqrstuvwxyz ÄÖÜ äöü\n");
    QByteArray huge;
    huge.reserve(100 * 1024 * 1024 + line.size());
    while (huge.size() < 100 * 1024 * 1024) {
        huge.append(line);
    }
    const auto note = import(writeFile("huge.txt", huge));
    ASSERT_TRUE(note);
    EXPECT_EQ(note->plainText().toUtf8().size(), huge.size());
    EXPECT_EQ(note->title(), QString::fromUtf8(line).chopped(1));
}

TEST_F(NoteFileOperationsTest, ExportWritesThePlainTextInUtf8AndReplacesTheFileWhole)
{
    const auto note = StickyNote::insert(context);
    note->setTitle("Ideas / maybe");
    note->setPlainText(QString::fromUtf8("Ideas / maybe\nnaïve café 🍎"));
    const QString target = pathFor("export.txt");
    writeFile("export.txt", QByteArray(4096, 'x'));
    dialogs.exportChoice = target;

    NoteFileOperations::exportNoteAsPlainText(*note, dialogs, tracker);
    EXPECT_EQ(dialogs.offeredNames, QStringList({"Ideas - maybe.txt"}));
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QString::fromUtf8("Ideas / maybe\nnaïve café 🍎").toUtf8());
    EXPECT_TRUE(dialogs.failures.isEmpty());
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(test::TestHomeListener::home()).entryList({"export*"}, QDir::Files),
        QStringList({"export.txt"}));
    ASSERT_EQ(tracker.events().size(), 1);
    EXPECT_EQ(tracker.events()[0].first, "note_exported");
    EXPECT_EQ(tracker.events()[0].second, AnalyticsMetadata({{"target", "txt"}}));
}

TEST_F(NoteFileOperationsTest, ExportOffersAFallbackNameAndStopsWhenCancelled)
{
    const auto untitled = StickyNote::insert(context);
    NoteFileOperations::exportNoteAsPlainText(*untitled, dialogs, tracker);
    EXPECT_EQ(dialogs.offeredNames, QStringList({"norvelle-note.txt"}));
    EXPECT_TRUE(tracker.events().isEmpty());
    EXPECT_TRUE(dialogs.failures.isEmpty());
}

TEST_F(NoteFileOperationsTest, AFailedExportIsShownNamingTheFileAndIsNotRecorded)
{
    const auto note = StickyNote::insert(context);
    note->setPlainText("text");
    QDir(test::TestHomeListener::home()).mkdir("taken.txt");
    dialogs.exportChoice = pathFor("missing-folder/out.txt");
    NoteFileOperations::exportNoteAsPlainText(*note, dialogs, tracker);
    dialogs.exportChoice = pathFor("taken.txt");
    NoteFileOperations::exportNoteAsPlainText(*note, dialogs, tracker);

    ASSERT_EQ(dialogs.failures.size(), 2);
    EXPECT_EQ(dialogs.failures[0].first, "out.txt");
    EXPECT_FALSE(dialogs.failures[0].second.isEmpty());
    EXPECT_EQ(dialogs.failures[1].first, "taken.txt");
    EXPECT_FALSE(dialogs.failures[1].second.isEmpty());
    EXPECT_TRUE(tracker.events().isEmpty());
    EXPECT_TRUE(QFileInfo(pathFor("taken.txt")).isDir());
}
