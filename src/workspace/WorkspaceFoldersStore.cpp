#include "workspace/WorkspaceFoldersStore.h"

#include "platform/StoredSettings.h"
#include "platform/SystemLog.h"
#include "platform/UserDefaults.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

namespace norvelle {

namespace {

const SystemLog& log()
{
    static const SystemLog instance(QStringLiteral("workspace"));
    return instance;
}

std::optional<QList<WorkspaceFoldersStore::UserFolder>> decodeFolders(const QByteArray& data)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(data, &error);
    if (error.error != QJsonParseError::NoError || !document.isArray()) {
        return std::nullopt;
    }
    QList<WorkspaceFoldersStore::UserFolder> folders;
    for (const QJsonValue& element : document.array()) {
        const QJsonValue slug = element.toObject().value(QStringLiteral("slug"));
        const QJsonValue name = element.toObject().value(QStringLiteral("displayName"));
        if (!slug.isString() || !name.isString()) {
            return std::nullopt;
        }
        folders.append({slug.toString(), name.toString()});
    }
    return folders;
}

QByteArray encodeFolders(const QList<WorkspaceFoldersStore::UserFolder>& folders)
{
    QJsonArray array;
    for (const auto& folder : folders) {
        array.append(QJsonObject {{QStringLiteral("slug"), folder.slug},
            {QStringLiteral("displayName"), folder.displayName}});
    }
    return QJsonDocument(array).toJson(QJsonDocument::Compact);
}

bool isAlphanumeric(char32_t scalar)
{
    switch (QChar::category(scalar)) {
    case QChar::Letter_Uppercase:
    case QChar::Letter_Lowercase:
    case QChar::Letter_Titlecase:
    case QChar::Letter_Modifier:
    case QChar::Letter_Other:
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Number_DecimalDigit:
    case QChar::Number_Letter:
    case QChar::Number_Other:
        return true;
    default:
        return false;
    }
}

// Each word's first letter in upper case, the rest in lower case.
QString capitalizedWords(const QString& text)
{
    QStringList words = text.split(u' ');
    for (QString& word : words) {
        word = word.left(1).toUpper() + word.mid(1).toLower();
    }
    return words.join(u' ');
}

} // namespace

WorkspaceFoldersStore& WorkspaceFoldersStore::shared()
{
    static WorkspaceFoldersStore instance;
    return instance;
}

const QList<WorkspaceFoldersStore::BuiltInFolder>& WorkspaceFoldersStore::builtInFolders()
{
    static const QList<BuiltInFolder> folders {
        {"all", "All folders"},
        {"inbox", "Inbox"},
        {"work", "Work"},
        {"personal", "Personal"},
        {"ideas", "Ideas"},
    };
    return folders;
}

WorkspaceFoldersStore::WorkspaceFoldersStore(QObject* parent)
    : QObject(parent)
{
    load();
}

void WorkspaceFoldersStore::load()
{
    const UserDefaults& defaults = UserDefaults::standard();
    std::optional<QList<UserFolder>> folders;
    if (const std::optional<QByteArray> data = defaults.data(storedSettings::workspaceUserFoldersKey)) {
        folders = decodeFolders(*data);
    }
    m_storedValueUnreadable = defaults.contains(storedSettings::workspaceUserFoldersKey) && !folders;
    m_userFolders.clear();
    m_indexBySlug.clear();
    // A folder no add could have made (no slug, a built-in slug, a slug taken before it) would
    // show as a second row of another folder: it is left out, and the stored list kept whole.
    for (const UserFolder& folder : folders.value_or(QList<UserFolder>())) {
        if (folder.slug.trimmed().isEmpty() || isBuiltIn(folder.slug) || m_indexBySlug.contains(folder.slug)) {
            m_storedValueUnreadable = true;
            continue;
        }
        m_indexBySlug.insert(folder.slug, m_userFolders.size());
        m_userFolders.append(folder);
    }
    if (m_storedValueUnreadable) {
        log().error(QStringLiteral("The stored folder list cannot be read whole; it is kept under %1 once a folder is added")
                        .arg(storedSettings::workspaceUserFoldersUnreadableKey));
    }
    emit userFoldersChanged();
}

void WorkspaceFoldersStore::save()
{
    UserDefaults& defaults = UserDefaults::standard();
    if (m_storedValueUnreadable) {
        defaults.set(storedSettings::workspaceUserFoldersUnreadableKey, defaults.object(storedSettings::workspaceUserFoldersKey));
        m_storedValueUnreadable = !defaults.lastSaveSucceeded();
    }
    defaults.set(storedSettings::workspaceUserFoldersKey, encodeFolders(m_userFolders));
    if (!defaults.lastSaveSucceeded()) {
        log().error(QStringLiteral("The folder list could not be saved"));
    }
}

std::optional<QString> WorkspaceFoldersStore::addFolder(const QString& name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty()) {
        return std::nullopt;
    }
    QString base = makeSlug(trimmed);
    if (base.isEmpty()) {
        base = QStringLiteral("folder");
    }
    QString candidate = base;
    for (int suffix = 2; isBuiltIn(candidate) || m_indexBySlug.contains(candidate); ++suffix) {
        candidate = base + u'-' + QString::number(suffix);
    }
    m_indexBySlug.insert(candidate, m_userFolders.size());
    m_userFolders.append({candidate, trimmed});
    emit userFoldersChanged();
    save();
    return candidate;
}

QStringList WorkspaceFoldersStore::allFolderSlugs() const
{
    QStringList slugs;
    for (const BuiltInFolder& folder : builtInFolders()) {
        slugs << QString::fromLatin1(folder.slug);
    }
    for (const UserFolder& folder : m_userFolders) {
        slugs << folder.slug;
    }
    return slugs;
}

QString WorkspaceFoldersStore::displayName(const QString& slug) const
{
    if (slug == u"all") {
        return QStringLiteral("All folders");
    }
    if (const auto user = m_indexBySlug.constFind(slug); user != m_indexBySlug.cend()) {
        return m_userFolders[*user].displayName;
    }
    for (const BuiltInFolder& folder : builtInFolders()) {
        if (slug == QLatin1String(folder.slug)) {
            return QString::fromLatin1(folder.displayName);
        }
    }
    return capitalizedWords(QString(slug).replace(u'-', u' '));
}

bool WorkspaceFoldersStore::isBuiltIn(const QString& slug)
{
    return std::any_of(builtInFolders().begin(), builtInFolders().end(),
        [&](const BuiltInFolder& folder) { return slug == QLatin1String(folder.slug); });
}

QString WorkspaceFoldersStore::makeSlug(const QString& trimmedName)
{
    QString slug;
    for (const char32_t scalar : trimmedName.toLower().toUcs4()) {
        if (isAlphanumeric(scalar)) {
            slug.append(QString::fromUcs4(&scalar, 1));
        } else if (scalar == U' ' || scalar == U'-' || scalar == U'_') {
            slug.append(u'-');
        }
    }
    // Exactly two passes: four separators in a row become one dash, five become two.
    slug.replace(QStringLiteral("---"), QStringLiteral("-"));
    slug.replace(QStringLiteral("--"), QStringLiteral("-"));
    qsizetype start = 0;
    qsizetype end = slug.size();
    while (start < end && slug[start] == u'-') {
        ++start;
    }
    while (end > start && slug[end - 1] == u'-') {
        --end;
    }
    return slug.mid(start, end - start);
}

} // namespace norvelle
