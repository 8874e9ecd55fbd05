#include "store/NoteFileText.h"
#include "support/TestHome.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace norvelle;

namespace {

QString writeFile(const QString& name, const QByteArray& bytes)
{
    const QString path = test::TestHomeListener::home() + "/" + name;
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

QByteArray utf16(const QString& text, QStringEncoder::Encoding encoding, bool mark)
{
    QStringEncoder encoder(encoding, mark ? QStringEncoder::Flag::WriteBom : QStringEncoder::Flag::Default);
    return encoder.encode(text);
}

} // namespace

TEST(NoteFileText, ReadsUtf8WithOrWithoutAMark)
{
    const QString text = QString::fromUtf8("Grüße\r\nline two ✓ 𝄞");
    EXPECT_EQ(NoteFileText::decodeText(text.toUtf8()), text);
    EXPECT_EQ(NoteFileText::decodeText("\xEF\xBB\xBF" + text.toUtf8()), text);
    EXPECT_EQ(NoteFileText::decodeText({}), QString());
}

TEST(NoteFileText, ReadsUtf16InEitherByteOrder)
{
    const QString text = QString::fromUtf8("Shopping list\n- Äpfel 🍎\n- 牛乳");
    EXPECT_EQ(NoteFileText::decodeText(utf16(text, QStringEncoder::Utf16LE, true)), text);
    EXPECT_EQ(NoteFileText::decodeText(utf16(text, QStringEncoder::Utf16BE, true)), text);
    // Without a mark the byte order comes from where the zero bytes of the Latin text fall.
    EXPECT_EQ(NoteFileText::decodeText(utf16(text, QStringEncoder::Utf16LE, false)), text);
    EXPECT_EQ(NoteFileText::decodeText(utf16(text, QStringEncoder::Utf16BE, false)), text);
}

TEST(NoteFileText, ReadsUnmarkedUtf16OfPlainAsciiAsUtf16NotAsUtf8WithNuls)
{
    // Every byte below 0x80: valid UTF-8 as well, but with a NUL beside each letter.
    const QString text = QStringLiteral("Call Anna\r\nBuy milk\tand bread");
    EXPECT_EQ(NoteFileText::decodeText(utf16(text, QStringEncoder::Utf16LE, false)), text);
    EXPECT_EQ(NoteFileText::decodeText(utf16(text, QStringEncoder::Utf16BE, false)), text);
    // Bytes with NULs that are no UTF-16 text either are refused.
    EXPECT_EQ(NoteFileText::decodeText(QByteArray("\x00\x01\x02", 3)), std::nullopt);
    EXPECT_EQ(NoteFileText::decodeText(QByteArray("AB\x00\x01", 4)), std::nullopt);
}

TEST(NoteFileText, RefusesBytesThatAreNoText)
{
    // Odd length, a lone surrogate behind a mark, control bytes, typical binary headers.
    EXPECT_EQ(NoteFileText::decodeText(QByteArray("\xFF\xFE\x41\x00\x42", 5)), std::nullopt);
    EXPECT_EQ(NoteFileText::decodeText(QByteArray("\xFF\xFE\x00\xD8\x41\x00", 6)), std::nullopt);
    EXPECT_EQ(NoteFileText::decodeUtf16(QByteArray("\x00\x01\x00\x41", 4)), std::nullopt);
    EXPECT_EQ(NoteFileText::decodeText(QByteArray("\x89PNG\r\n\x1A\n\x00\x00\x00\x0DIHDR", 16)), std::nullopt);
    EXPECT_EQ(NoteFileText::decodeText(QByteArray("\x7F"
                                                  "ELF\x02\x01\x01\x00\x00\x00\xC0\x10",
                  12)),
        std::nullopt);

    // Pseudo-random bytes of every kind never come out as text.
    QByteArray noise;
    quint32 state = 12345;
    for (int i = 0; i < 4096; ++i) {
        state = state * 1664525u + 1013904223u;
        noise.append(char(state >> 24));
    }
    EXPECT_EQ(NoteFileText::decodeText(noise), std::nullopt);
}

TEST(NoteFileText, ReadsFilesAndSaysWhyItRefusesWhatIsNoTextFile)
{
    EXPECT_EQ(NoteFileText::read(writeFile("plain.txt", "hello\n")).text, "hello\n");
    EXPECT_EQ(NoteFileText::read(writeFile("empty.txt", {})).text, QString());
    const QString home = test::TestHomeListener::home();
    // A pipe with no writer would hold the reader forever.
    ASSERT_EQ(::mkfifo(QFile::encodeName(home + "/pipe.txt").constData(), 0600), 0);
    const QList<QPair<QString, QString>> refused {
        {home, "a folder, a device or a pipe"},
        {home + "/pipe.txt", "a folder, a device or a pipe"},
        {"/dev/zero", "a folder, a device or a pipe"},
        {home + "/gone.txt", "no longer there"},
        {writeFile("picture.txt", QByteArray("\x89PNG\r\n\x1A\n\x00\x00\x00\x0DIHDR", 16)), "no plain text or RTF"},
    };
    for (const auto& [path, reason] : refused) {
        const NoteFileText::Reading reading = NoteFileText::read(path);
        EXPECT_EQ(reading.text, std::nullopt) << path.toStdString();
        EXPECT_TRUE(reading.failure.contains(reason)) << reading.failure.toStdString();
    }

    // Beyond the limit nothing is read (the file is sparse: no time or disk is spent on it).
    QFile huge(home + "/huge.txt");
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    ASSERT_TRUE(huge.resize(NoteFileText::maximumFileBytes + 1));
    huge.close();
    EXPECT_EQ(NoteFileText::read(huge.fileName()).failure, "It is larger than 256 MB.");

    if (::geteuid() != 0) {
        const QString locked = writeFile("locked.txt", "secret");
        QFile::setPermissions(locked, {});
        EXPECT_TRUE(NoteFileText::read(locked).failure.startsWith("It cannot be read: "));
    }
}

TEST(NoteFileText, SplitsTheExtensionOffTheFileName)
{
    EXPECT_EQ(NoteFileText::pathExtension("/a/b/Report.final.RTF"), "RTF");
    EXPECT_EQ(NoteFileText::nameWithoutExtension("/a/b/Report.final.RTF"), "Report.final");
    EXPECT_EQ(NoteFileText::pathExtension("/a/.profile"), "");
    EXPECT_EQ(NoteFileText::nameWithoutExtension("/a/.profile"), ".profile");
    EXPECT_EQ(NoteFileText::nameWithoutExtension("/a/README"), "README");
}
