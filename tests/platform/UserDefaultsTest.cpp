#include "platform/UserDefaults.h"
#include "support/LogCapture.h"
#include "support/TestHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPoint>
#include <QSignalSpy>

#include <atomic>
#include <limits>
#include <thread>
#include <vector>

#include <sys/stat.h>

using namespace norvelle;

namespace {

QString defaultsPath()
{
    return test::TestHomeListener::home() + "/defaults.json";
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QStringList asideFiles()
{
    return QDir(test::TestHomeListener::home()).entryList({"defaults.json.unreadable-*"}, QDir::Files);
}

} // namespace

TEST(UserDefaults, EveryTypeSurvivesAReload)
{
    const QVariantMap nested {{"flag", true}, {"list", QVariantList {1, "two", 3.5}}};
    {
        UserDefaults defaults(defaultsPath());
        defaults.set("bool", false);
        defaults.set("int", qint64(9007199254740993)); // not representable as a double
        defaults.set("negative", -42);
        defaults.set("double", 0.1);
        defaults.set("string", QString("é ü \"quoted\"\n"));
        defaults.set("data", QByteArray("\x00\xff\x10", 3));
        defaults.set("array", QVariantList {QVariant(1), QVariant("a"), QVariant(QByteArray("b"))});
        defaults.set("dict", nested);
    }
    UserDefaults reloaded(defaultsPath());
    EXPECT_EQ(reloaded.object("bool").typeId(), QMetaType::Bool);
    EXPECT_FALSE(reloaded.boolValue("bool"));
    EXPECT_EQ(reloaded.object("int").typeId(), QMetaType::LongLong);
    EXPECT_EQ(reloaded.integer("int"), qint64(9007199254740993));
    EXPECT_EQ(reloaded.integer("negative"), -42);
    EXPECT_EQ(reloaded.object("double").typeId(), QMetaType::Double);
    EXPECT_DOUBLE_EQ(reloaded.doubleValue("double"), 0.1);
    EXPECT_EQ(reloaded.string("string"), QString("é ü \"quoted\"\n"));
    EXPECT_EQ(reloaded.data("data"), QByteArray("\x00\xff\x10", 3));
    const QVariantList array = *reloaded.array("array");
    ASSERT_EQ(array.size(), 3);
    EXPECT_EQ(array[0].typeId(), QMetaType::LongLong);
    EXPECT_EQ(array[2].typeId(), QMetaType::QByteArray);
    EXPECT_EQ(reloaded.dictionary("dict")->value("list").toList().size(), 3);
    EXPECT_EQ(reloaded.dictionary("dict")->value("flag").typeId(), QMetaType::Bool);
}

TEST(UserDefaults, AbsentIsToldApartFromWrongType)
{
    UserDefaults defaults(defaultsPath());
    EXPECT_FALSE(defaults.object("missing").isValid());
    EXPECT_FALSE(defaults.string("missing").has_value());

    defaults.set("flag", QString("true"));
    EXPECT_TRUE(defaults.object("flag").isValid());
    EXPECT_EQ(defaults.object("flag").typeId(), QMetaType::QString);
    EXPECT_FALSE(defaults.boolValue("flag"));
    EXPECT_FALSE(defaults.data("flag").has_value());
    EXPECT_EQ(defaults.integer("flag"), 0);

    defaults.set("number", 2);
    EXPECT_TRUE(defaults.boolValue("number"));
    EXPECT_FALSE(defaults.string("number").has_value());
}

TEST(UserDefaults, ChangeSignalNamesTheKeyAndRemovalOfAbsentKeyIsSilent)
{
    UserDefaults defaults(defaultsPath());
    QSignalSpy spy(&defaults, &UserDefaults::changed);
    defaults.set("a", 1);
    defaults.remove("a");
    defaults.remove("a");
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy[0][0].toString(), "a");
    EXPECT_FALSE(defaults.contains("a"));
}

TEST(UserDefaults, UnsupportedValuesAreRefused)
{
    UserDefaults defaults(defaultsPath());
    defaults.set("point", QPoint(1, 2));
    EXPECT_FALSE(defaults.contains("point"));
}

TEST(UserDefaults, NumbersTheFileCannotHoldAreRefused)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    {
        UserDefaults defaults(defaultsPath());
        defaults.set("kept", 1.5);
        defaults.set("nan", nan);
        defaults.set("infinity", -infinity);
        defaults.set("float", std::numeric_limits<float>::infinity());
        defaults.set("list", QVariantList {1, infinity});
        defaults.set("dict", QVariantMap {{"x", nan}});
        EXPECT_FALSE(defaults.contains("nan"));
        EXPECT_FALSE(defaults.contains("infinity"));
        EXPECT_FALSE(defaults.contains("float"));
        EXPECT_FALSE(defaults.contains("list"));
        EXPECT_FALSE(defaults.contains("dict"));
        EXPECT_TRUE(defaults.lastSaveSucceeded());
    }
    UserDefaults reloaded(defaultsPath());
    EXPECT_DOUBLE_EQ(reloaded.doubleValue("kept"), 1.5);
    EXPECT_TRUE(asideFiles().isEmpty());
}

TEST(UserDefaults, CorruptFilesAreSetAsideAndNeverOverwritten)
{
    const QList<QByteArray> corrupt {
        "not json at all",
        "{\"a\": {\"bool\": tr", // truncated
        "[1, 2, 3]",
        "{\"a\": {\"int\": 5}}", // integers are stored as text
        "{\"a\": {\"data\": \"***\"}}",
        "{\"a\": {\"bool\": true, \"int\": \"1\"}}",
        QByteArray("\x00\x01\x02", 3),
    };
    for (const QByteArray& bytes : corrupt) {
        for (const QString& old : asideFiles()) {
            QFile::remove(test::TestHomeListener::home() + "/" + old);
        }
        writeFile(defaultsPath(), bytes);
        test::LogCapture log;
        UserDefaults defaults(defaultsPath());
        EXPECT_FALSE(defaults.contains("a")) << bytes.constData();
        const QStringList aside = asideFiles();
        ASSERT_EQ(aside.size(), 1) << bytes.constData();
        QFile kept(test::TestHomeListener::home() + "/" + aside.first());
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), bytes);
        EXPECT_EQ(log.messages().size(), 1);

        defaults.set("b", true);
        defaults.synchronize();
        UserDefaults reloaded(defaultsPath());
        EXPECT_TRUE(reloaded.boolValue("b"));
    }
}

TEST(UserDefaults, APipeOrADeviceInTheFilesPlaceIsSetAsideWithoutWaiting)
{
    for (const QString& kind : {QString("pipe"), QString("endless device")}) {
        QFile::remove(defaultsPath());
        if (kind == "pipe") {
            ASSERT_EQ(::mkfifo(QFile::encodeName(defaultsPath()).constData(), 0600), 0);
        } else {
            ASSERT_TRUE(QFile::link("/dev/zero", defaultsPath()));
        }
        test::LogCapture log;
        UserDefaults defaults(defaultsPath());
        EXPECT_EQ(log.messages().size(), 1) << kind.toStdString();
        EXPECT_FALSE(QFileInfo::exists(defaultsPath())) << kind.toStdString();
        defaults.set("b", true);
        defaults.synchronize();
        EXPECT_TRUE(UserDefaults(defaultsPath()).boolValue("b")) << kind.toStdString();
    }
}

TEST(UserDefaults, ReadableKeysSurviveBesideBadOnes)
{
    writeFile(defaultsPath(), "{\"good\": {\"string\": \"x\"}, \"bad\": {\"mystery\": 1}}");
    UserDefaults defaults(defaultsPath());
    EXPECT_EQ(defaults.string("good"), QString("x"));
    EXPECT_FALSE(defaults.contains("bad"));
    EXPECT_EQ(asideFiles().size(), 1);
}

TEST(UserDefaults, ConcurrentReadersSeeWholeValues)
{
    UserDefaults defaults(defaultsPath());
    defaults.set("text", QString("start"));
    std::atomic<bool> stop = false;
    std::atomic<int> torn = 0;
    std::vector<std::thread> readers;
    for (int i = 0; i < 4; ++i) {
        readers.emplace_back([&] {
            while (!stop) {
                const auto value = defaults.string("text");
                if (!value || (!value->startsWith("start") && !value->startsWith("value-"))) {
                    ++torn;
                }
            }
        });
    }
    for (int i = 0; i < 200; ++i) {
        defaults.set("text", QString("value-%1").arg(i));
    }
    stop = true;
    for (auto& reader : readers) {
        reader.join();
    }
    EXPECT_EQ(torn, 0);
}

TEST(UserDefaults, ChangesReachTheDiskOnTheirOwnWithoutTheCallerWaiting)
{
    UserDefaults defaults(defaultsPath());
    for (int i = 0; i < 100; ++i) {
        defaults.set(QString("key%1").arg(i), i);
    }
    defaults.remove(QStringList {"key1", "key2", "absent"});
    // Nothing asks for the write: the writer thread takes the changes as they come.
    EXPECT_TRUE(test::waitUntil([] {
        QFile file(defaultsPath());
        return file.open(QIODevice::ReadOnly) && file.readAll().contains("\"key99\"");
    },
        5000));
    defaults.synchronize();
    UserDefaults reloaded(defaultsPath());
    EXPECT_EQ(reloaded.integer("key99"), 99);
    EXPECT_FALSE(reloaded.contains("key1"));
    EXPECT_FALSE(reloaded.contains("key2"));
    EXPECT_EQ(reloaded.keys("key").size(), 98);
}

TEST(UserDefaults, StandardLivesInTheConfigFolderOfTheHome)
{
    UserDefaults::standard().set("k", 1);
    UserDefaults::standard().synchronize();
    EXPECT_TRUE(QFile::exists(test::TestHomeListener::home() + "/config/norvelle/defaults.json"));
}
