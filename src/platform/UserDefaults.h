#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QObject>
#include <QString>
#include <QVariant>

#include <mutex>
#include <optional>

namespace norvelle {

// The user's settings: a typed key-value store kept in one JSON file. Values keep their type
// (bool, 64-bit integer, double, string, data, array, dictionary), so "absent" and "present
// with another type" can be told apart. Every change is written at once, atomically.
// Reads are thread-safe; writes belong to the main thread.
class UserDefaults : public QObject {
    Q_OBJECT
public:
    // Loads `filePath`. A file that cannot be read as a defaults file is moved aside (never
    // overwritten) and the store starts empty.
    explicit UserDefaults(QString filePath, QObject* parent = nullptr);

    // The process-wide store at AppPaths::configDirectory()/defaults.json.
    static UserDefaults& standard();
    // Drops the process-wide store so the next standard() reloads (tests change NORVELLE_HOME).
    static void resetStandard();

    // The stored value: invalid when absent. Its metatype is one of bool, qlonglong, double,
    // QString, QByteArray, QVariantList, QVariantMap.
    QVariant object(const QString& key) const;
    bool contains(const QString& key) const;

    // Typed reads. Numbers convert between each other and to bool; anything else reads as the
    // type's "absent" value.
    bool boolValue(const QString& key) const;
    qint64 integer(const QString& key) const;
    double doubleValue(const QString& key) const;
    std::optional<QString> string(const QString& key) const;
    std::optional<QByteArray> data(const QString& key) const;
    std::optional<QVariantList> array(const QString& key) const;
    std::optional<QVariantMap> dictionary(const QString& key) const;

    // Stores a value (ints of any width become qlonglong, floats become double). An invalid
    // QVariant removes the key. A value of an unsupported type is refused and logged.
    void set(const QString& key, const QVariant& value);
    void remove(const QString& key);

    // A settings file larger than this is not one of ours.
    static constexpr qint64 maximumFileBytes = 64 * 1024 * 1024;

    QString filePath() const { return m_filePath; }
    // Where the file that could not be read at load now lies (empty when it was read): its
    // place aside, or its own path when it could not be moved.
    QString unreadableFileKept() const { return m_unreadableFileKept; }
    // Whether the last write reached the disk.
    bool lastSaveSucceeded() const;

    // For tests and tools: the typed JSON form of a value, and back.
    static QJsonValue encode(const QVariant& value, bool* ok = nullptr);
    static QVariant decode(const QJsonValue& json, bool* ok = nullptr);

signals:
    void changed(const QString& key);

private:
    void load();
    void save();
    void setAsideUnreadableFile(const QString& reason);

    QString m_filePath;
    QString m_unreadableFileKept;
    mutable std::mutex m_mutex;
    QVariantMap m_values;
    bool m_lastSaveSucceeded = true;
};

} // namespace norvelle
