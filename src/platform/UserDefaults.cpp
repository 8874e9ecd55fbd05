#include "platform/UserDefaults.h"

#include "platform/AppPaths.h"
#include "platform/AtomicFile.h"
#include "platform/RegularFile.h"
#include "platform/SerialQueue.h"
#include "platform/SystemLog.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <limits>
#include <memory>
#include <utility>

namespace norvelle {

namespace {

const SystemLog log("defaults");

// How soon a write the disk refused is tried again, with no change to set it off.
constexpr int retryMs = 5000;

std::mutex standardMutex;
std::unique_ptr<UserDefaults>& standardInstance()
{
    static std::unique_ptr<UserDefaults> instance;
    return instance;
}

// Each value is written as a one-member object naming its type: {"int": "42"}. 64-bit
// integers travel as decimal text because JSON numbers are doubles.
const QString boolTag = "bool";
const QString intTag = "int";
const QString doubleTag = "double";
const QString stringTag = "string";
const QString dataTag = "data";
const QString arrayTag = "array";
const QString dictionaryTag = "dict";

QVariant normalized(const QVariant& value, bool* ok)
{
    *ok = true;
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::LongLong:
    case QMetaType::QString:
    case QMetaType::QByteArray:
        return value;
    case QMetaType::Double:
    case QMetaType::Float:
        // JSON has no NaN or infinity: written as null, the value would not read back.
        if (!std::isfinite(value.toDouble())) {
            *ok = false;
            return {};
        }
        return QVariant(value.toDouble());
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::Short:
        return QVariant(value.toLongLong());
    case QMetaType::ULongLong:
    case QMetaType::ULong:
        if (value.toULongLong() > quint64(std::numeric_limits<qint64>::max())) {
            *ok = false;
            return {};
        }
        return QVariant(value.toLongLong());
    case QMetaType::QStringList:
    case QMetaType::QVariantList: {
        QVariantList out;
        for (const QVariant& item : value.toList()) {
            bool itemOk = false;
            out.append(normalized(item, &itemOk));
            if (!itemOk) {
                *ok = false;
                return {};
            }
        }
        return out;
    }
    case QMetaType::QVariantMap: {
        QVariantMap out;
        const QVariantMap in = value.toMap();
        for (auto it = in.begin(); it != in.end(); ++it) {
            bool itemOk = false;
            out.insert(it.key(), normalized(it.value(), &itemOk));
            if (!itemOk) {
                *ok = false;
                return {};
            }
        }
        return out;
    }
    default:
        *ok = false;
        return {};
    }
}

} // namespace

UserDefaults::UserDefaults(QString filePath, QObject* parent)
    : QObject(parent)
    , m_filePath(std::move(filePath))
    , m_writer(std::make_unique<SerialQueue>(QStringLiteral("norvelle.defaults.writer")))
{
    m_retry.setSingleShot(true);
    m_retry.setInterval(retryMs);
    connect(&m_retry, &QTimer::timeout, this, &UserDefaults::retryFailedSave);
    load();
}

UserDefaults::~UserDefaults()
{
    m_writer.reset();
}

UserDefaults& UserDefaults::standard()
{
    std::lock_guard lock(standardMutex);
    auto& instance = standardInstance();
    if (!instance) {
        instance = std::make_unique<UserDefaults>(AppPaths::configDirectory() + "/defaults.json");
    }
    return *instance;
}

void UserDefaults::resetStandard()
{
    std::lock_guard lock(standardMutex);
    standardInstance().reset();
}

QJsonValue UserDefaults::encode(const QVariant& value, bool* ok)
{
    bool valid = true;
    const QVariant v = normalized(value, &valid);
    if (ok) {
        *ok = valid;
    }
    if (!valid) {
        return {};
    }
    switch (v.typeId()) {
    case QMetaType::Bool:
        return QJsonObject {{boolTag, v.toBool()}};
    case QMetaType::LongLong:
        return QJsonObject {{intTag, QString::number(v.toLongLong())}};
    case QMetaType::Double:
        return QJsonObject {{doubleTag, v.toDouble()}};
    case QMetaType::QString:
        return QJsonObject {{stringTag, v.toString()}};
    case QMetaType::QByteArray:
        return QJsonObject {{dataTag, QString::fromLatin1(v.toByteArray().toBase64())}};
    case QMetaType::QVariantList: {
        QJsonArray items;
        for (const QVariant& item : v.toList()) {
            items.append(encode(item));
        }
        return QJsonObject {{arrayTag, items}};
    }
    default: {
        QJsonObject members;
        const QVariantMap map = v.toMap();
        for (auto it = map.begin(); it != map.end(); ++it) {
            members.insert(it.key(), encode(it.value()));
        }
        return QJsonObject {{dictionaryTag, members}};
    }
    }
}

QVariant UserDefaults::decode(const QJsonValue& json, bool* ok)
{
    bool dummy = true;
    bool& valid = ok ? *ok : dummy;
    valid = false;
    if (!json.isObject() || json.toObject().size() != 1) {
        return {};
    }
    const QJsonObject object = json.toObject();
    const QString type = object.begin().key();
    const QJsonValue payload = object.begin().value();
    if (type == boolTag && payload.isBool()) {
        valid = true;
        return payload.toBool();
    }
    if (type == intTag && payload.isString()) {
        qint64 number = payload.toString().toLongLong(&valid);
        return valid ? QVariant(number) : QVariant();
    }
    if (type == doubleTag && payload.isDouble()) {
        valid = true;
        return payload.toDouble();
    }
    if (type == stringTag && payload.isString()) {
        valid = true;
        return payload.toString();
    }
    if (type == dataTag && payload.isString()) {
        const auto result = QByteArray::fromBase64Encoding(payload.toString().toLatin1(),
            QByteArray::AbortOnBase64DecodingErrors);
        valid = bool(result);
        return valid ? QVariant(*result) : QVariant();
    }
    if (type == arrayTag && payload.isArray()) {
        QVariantList items;
        for (const QJsonValue& item : payload.toArray()) {
            bool itemOk = false;
            items.append(decode(item, &itemOk));
            if (!itemOk) {
                return {};
            }
        }
        valid = true;
        return items;
    }
    if (type == dictionaryTag && payload.isObject()) {
        QVariantMap members;
        const QJsonObject in = payload.toObject();
        for (auto it = in.begin(); it != in.end(); ++it) {
            bool itemOk = false;
            members.insert(it.key(), decode(it.value(), &itemOk));
            if (!itemOk) {
                return {};
            }
        }
        valid = true;
        return members;
    }
    return {};
}

void UserDefaults::load()
{
    const RegularFile::Result file = RegularFile::read(m_filePath, maximumFileBytes);
    if (file.outcome == RegularFile::Outcome::missing) {
        return;
    }
    if (!file.ok()) {
        setAsideUnreadableFile(file.reason);
        return;
    }
    QJsonParseError error {};
    const QJsonDocument document = QJsonDocument::fromJson(file.bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        setAsideUnreadableFile(error.error != QJsonParseError::NoError ? error.errorString() : "not an object");
        return;
    }
    QJsonObject root = document.object();
    QVariantMap values;
    QStringList badKeys;
    for (auto it = root.begin(); it != root.end(); ++it) {
        bool ok = false;
        QVariant value = decode(it.value(), &ok);
        if (ok) {
            values.insert(it.key(), value);
        } else {
            badKeys.append(it.key());
        }
    }
    if (!badKeys.isEmpty()) {
        // The readable keys are kept; the file itself goes aside so the next save cannot
        // destroy what could not be read.
        setAsideUnreadableFile("unreadable values for " + badKeys.join(", "));
        for (const QString& key : std::as_const(badKeys)) {
            root.remove(key);
        }
    }
    m_written = std::move(root);
    std::lock_guard lock(m_mutex);
    m_values = std::move(values);
}

void UserDefaults::setAsideUnreadableFile(const QString& reason)
{
    const QString stamp = QDateTime::currentDateTimeUtc().toString("yyyyMMdd'T'HHmmss'Z'");
    QString aside = m_filePath + ".unreadable-" + stamp;
    for (int n = 2; QFileInfo::exists(aside); ++n) {
        aside = m_filePath + ".unreadable-" + stamp + "-" + QString::number(n);
    }
    const bool movedAside = QFile::rename(m_filePath, aside);
    m_unreadableFileKept = movedAside ? aside : m_filePath;
    log.error(QString("settings file %1 could not be read (%2); %3").arg(m_filePath, reason, movedAside ? "kept as " + aside : QString("it could not be moved and is left as it is")));
    if (!movedAside) {
        // Never write over a file we could not read: save beside it instead.
        m_filePath += ".recovered";
    }
}

void UserDefaults::scheduleSave()
{
    {
        std::lock_guard lock(m_mutex);
        if (m_writeQueued) {
            return;
        }
        m_writeQueued = true;
    }
    m_writer->async([this] { writeSnapshot(); });
}

// On the writer thread: everything changed until now goes in this write. Only the changed
// keys are handed over, so a change never copies the whole store on the main thread.
void UserDefaults::writeSnapshot()
{
    QHash<QString, QVariant> changes;
    QString path;
    {
        std::lock_guard lock(m_mutex);
        changes.swap(m_pending);
        path = m_filePath;
        m_writeQueued = false;
    }
    for (auto it = changes.cbegin(); it != changes.cend(); ++it) {
        if (it.value().isValid()) {
            m_written.insert(it.key(), encode(it.value()));
        } else {
            m_written.remove(it.key());
        }
    }
    const QJsonObject& root = m_written;
    AppPaths::ensureDirectory(QFileInfo(path).absolutePath());
    const std::optional<QString> failure = AtomicFile::write(path, QJsonDocument(root).toJson(QJsonDocument::Indented));
    std::optional<QString> previousFailure;
    {
        std::lock_guard lock(m_mutex);
        previousFailure = std::exchange(m_lastSaveFailure, failure);
    }
    if (failure) {
        // Told once for each run of refused writes, not at every try.
        if (failure != previousFailure) {
            log.error(QString("settings could not be saved to %1: %2").arg(path, *failure));
        }
        QMetaObject::invokeMethod(&m_retry, qOverload<>(&QTimer::start), Qt::QueuedConnection);
    } else if (previousFailure) {
        log.notice(QString("settings saved again to %1").arg(path));
    }
}

// Settings a full disk refused are still held here: they go once it takes them.
void UserDefaults::retryFailedSave()
{
    bool lastFailed = false;
    {
        std::lock_guard lock(m_mutex);
        lastFailed = m_lastSaveFailure.has_value();
    }
    if (lastFailed) {
        scheduleSave();
    }
}

void UserDefaults::synchronize()
{
    retryFailedSave();
    m_writer->sync([] {});
}

std::optional<QString> UserDefaults::lastSaveFailure()
{
    synchronize();
    std::lock_guard lock(m_mutex);
    return m_lastSaveFailure;
}

QStringList UserDefaults::keys(const QString& prefix) const
{
    std::lock_guard lock(m_mutex);
    QStringList found;
    for (auto it = m_values.lowerBound(prefix); it != m_values.cend() && it.key().startsWith(prefix); ++it) {
        found << it.key();
    }
    return found;
}

QVariant UserDefaults::object(const QString& key) const
{
    std::lock_guard lock(m_mutex);
    return m_values.value(key);
}

bool UserDefaults::contains(const QString& key) const
{
    std::lock_guard lock(m_mutex);
    return m_values.contains(key);
}

bool UserDefaults::boolValue(const QString& key) const
{
    const QVariant value = object(key);
    switch (value.typeId()) {
    case QMetaType::Bool: return value.toBool();
    case QMetaType::LongLong: return value.toLongLong() != 0;
    case QMetaType::Double: return value.toDouble() != 0.0;
    default: return false;
    }
}

qint64 UserDefaults::integer(const QString& key) const
{
    const QVariant value = object(key);
    switch (value.typeId()) {
    case QMetaType::Bool: return value.toBool() ? 1 : 0;
    case QMetaType::LongLong: return value.toLongLong();
    case QMetaType::Double: {
        const double d = value.toDouble();
        if (!std::isfinite(d) || d >= 9.2e18 || d <= -9.2e18) {
            return 0;
        }
        return qint64(d);
    }
    default: return 0;
    }
}

double UserDefaults::doubleValue(const QString& key) const
{
    const QVariant value = object(key);
    switch (value.typeId()) {
    case QMetaType::Bool: return value.toBool() ? 1.0 : 0.0;
    case QMetaType::LongLong: return double(value.toLongLong());
    case QMetaType::Double: return value.toDouble();
    default: return 0.0;
    }
}

std::optional<QString> UserDefaults::string(const QString& key) const
{
    const QVariant value = object(key);
    if (value.typeId() == QMetaType::QString) {
        return value.toString();
    }
    return std::nullopt;
}

std::optional<QByteArray> UserDefaults::data(const QString& key) const
{
    const QVariant value = object(key);
    if (value.typeId() == QMetaType::QByteArray) {
        return value.toByteArray();
    }
    return std::nullopt;
}

std::optional<QVariantList> UserDefaults::array(const QString& key) const
{
    const QVariant value = object(key);
    if (value.typeId() == QMetaType::QVariantList) {
        return value.toList();
    }
    return std::nullopt;
}

std::optional<QVariantMap> UserDefaults::dictionary(const QString& key) const
{
    const QVariant value = object(key);
    if (value.typeId() == QMetaType::QVariantMap) {
        return value.toMap();
    }
    return std::nullopt;
}

void UserDefaults::set(const QString& key, const QVariant& value)
{
    if (!value.isValid()) {
        remove(key);
        return;
    }
    bool ok = false;
    const QVariant stored = normalized(value, &ok);
    if (!ok) {
        log.error(QString("refused to store a value of type %1 under %2").arg(value.typeName(), key));
        return;
    }
    {
        std::lock_guard lock(m_mutex);
        m_values.insert(key, stored);
        m_pending.insert(key, stored);
    }
    scheduleSave();
    emit changed(key);
}

void UserDefaults::remove(const QString& key)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_values.remove(key) == 0) {
            return;
        }
        m_pending.insert(key, QVariant());
    }
    scheduleSave();
    emit changed(key);
}

void UserDefaults::remove(const QStringList& keys)
{
    QStringList removed;
    {
        std::lock_guard lock(m_mutex);
        for (const QString& key : keys) {
            if (m_values.remove(key) > 0) {
                m_pending.insert(key, QVariant());
                removed << key;
            }
        }
    }
    if (removed.isEmpty()) {
        return;
    }
    scheduleSave();
    for (const QString& key : std::as_const(removed)) {
        emit changed(key);
    }
}

} // namespace norvelle
