#pragma once

#include <QByteArray>
#include <QHash>
#include <QJsonObject>
#include <QJsonValue>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariant>

#include <memory>
#include <mutex>
#include <optional>

namespace norvelle {

class SerialQueue;

// The user's settings: a typed key-value store kept in one JSON file. Values keep their type
// (bool, 64-bit integer, double, string, data, array, dictionary), so "absent" and "present
// with another type" can be told apart. A change is in memory at once and goes to the disk
// atomically on a writer thread that starts on it straight away; changes made while a write
// is under way go together in the next one, so the caller never waits for the disk. A write the
// disk refuses is tried again every few seconds until it goes through.
// Reads are thread-safe; writes belong to the main thread.
class UserDefaults : public QObject {
    Q_OBJECT
public:
    // Loads `filePath`. A file that cannot be read as a defaults file is moved aside (never
    // overwritten) and the store starts empty.
    explicit UserDefaults(QString filePath, QObject* parent = nullptr);
    // Writes what is still pending.
    ~UserDefaults() override;

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
    // Removes every key of `keys` there is, in one write.
    void remove(const QStringList& keys);
    // The stored keys that start with `prefix`.
    QStringList keys(const QString& prefix) const;
    // Waits until every change made so far is on the disk (or failed to get there); settings
    // whose last write failed are written again first.
    void synchronize();

    // A settings file larger than this is not one of ours.
    static constexpr qint64 maximumFileBytes = 64 * 1024 * 1024;

    QString filePath() const { return m_filePath; }
    // Where the file that could not be read at load now lies (empty when it was read): its
    // place aside, or its own path when it could not be moved.
    QString unreadableFileKept() const { return m_unreadableFileKept; }
    // Why the last write did not reach the disk, none when it did (waits for the pending one,
    // and tries a refused one again first).
    std::optional<QString> lastSaveFailure();
    bool lastSaveSucceeded() { return !lastSaveFailure(); }

    // For tests and tools: the typed JSON form of a value, and back.
    static QJsonValue encode(const QVariant& value, bool* ok = nullptr);
    static QVariant decode(const QJsonValue& json, bool* ok = nullptr);

signals:
    void changed(const QString& key);

private:
    void load();
    void scheduleSave();
    void retryFailedSave();
    void writeSnapshot();
    void setAsideUnreadableFile(const QString& reason);

    QString m_filePath;
    QString m_unreadableFileKept;
    mutable std::mutex m_mutex;
    QVariantMap m_values;
    std::optional<QString> m_lastSaveFailure;
    // Started from the writer thread after a refused write.
    QTimer m_retry;
    bool m_writeQueued = false;
    // Changes not yet written: the new value, or an invalid one for a removal.
    QHash<QString, QVariant> m_pending;
    // The file's contents as they are meant to be, kept after a failed write for the next one;
    // the writer thread's alone once loading is over.
    QJsonObject m_written;
    // Last, so it finishes its queued writes before anything else goes.
    std::unique_ptr<SerialQueue> m_writer;
};

} // namespace norvelle
