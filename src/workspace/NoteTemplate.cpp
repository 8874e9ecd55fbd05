#include "workspace/NoteTemplate.h"

#include <QStringList>

namespace norvelle {

namespace {

NoteTemplate make(const QString& name, const QStringList& lines)
{
    return {QUuid::createUuid(), name, lines.join(u'\n')};
}

} // namespace

const QList<NoteTemplate>& NoteTemplate::builtIns()
{
    static const QList<NoteTemplate> templates {
        make(QStringLiteral("Daily Plan"), {QStringLiteral("## Today"), QStringLiteral("- Top 3 priorities"), QStringLiteral("- Meetings"), QStringLiteral("- Notes")}),
        make(QStringLiteral("Standup"), {QStringLiteral("Yesterday:"), QStringLiteral("Today:"), QStringLiteral("Blockers:")}),
        make(QStringLiteral("Idea Capture"), {QStringLiteral("Problem:"), QStringLiteral("Insight:"), QStringLiteral("Next action:")}),
    };
    return templates;
}

QString NoteTemplate::makeNoteText() const
{
    return name + QStringLiteral("\n\n") + content;
}

} // namespace norvelle
