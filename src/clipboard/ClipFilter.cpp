#include "clipboard/ClipFilter.h"

#include <QSet>

namespace norvelle {

namespace {

QString fold(const QString& text)
{
    return text.normalized(QString::NormalizationForm_C).toLower();
}

} // namespace

QString ClipFilter::foldedQuery(const QString& searchText)
{
    return fold(searchText.trimmed());
}

QString ClipFilter::noMatchMessage(const QString& searchText)
{
    return QStringLiteral("No clips match “") + searchText + QStringLiteral("”");
}

const ClipFilter::Folded& ClipFilter::folded(const ClipEntry& entry)
{
    auto found = m_folded.find(entry.id);
    if (found == m_folded.end())
        found = m_folded.insert(entry.id, {fold(entry.displayTitle()), fold(entry.text), fold(entry.sourceApp)});
    return *found;
}

QList<ClipEntry> ClipFilter::filtered(const QList<ClipEntry>& items, const QString& searchText)
{
    QSet<QUuid> listed;
    for (const ClipEntry& entry : items)
        listed.insert(entry.id);
    m_folded.removeIf([&](const auto& cached) { return !listed.contains(cached.key()); });

    const QString query = foldedQuery(searchText);
    if (query.isEmpty())
        return items;
    QList<ClipEntry> kept;
    for (const ClipEntry& entry : items) {
        const Folded& texts = folded(entry);
        if (texts.title.contains(query) || texts.text.contains(query) || texts.source.contains(query))
            kept.append(entry);
    }
    return kept;
}

} // namespace norvelle
