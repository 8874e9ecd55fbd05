#include "workspace/NoteDisplayText.h"

#include "store/StickyNote.h"

#include <QStringList>
#include <QTextBoundaryFinder>

namespace norvelle {

namespace {

constexpr int kPreviewCharacters = 400;

// The first `count` user-perceived characters of `line`.
QString leadingCharacters(const QString& line, int count)
{
    // No text of `count` UTF-16 units can hold more characters than that.
    if (line.size() <= count) {
        return line;
    }
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, line);
    for (int characters = 0; characters < count; ++characters) {
        if (finder.toNextBoundary() == -1) {
            return line;
        }
    }
    return line.left(finder.position());
}

QStringView firstLine(const QString& plainText)
{
    const qsizetype end = plainText.indexOf(u'\n');
    return end < 0 ? QStringView(plainText) : QStringView(plainText).left(end);
}

// The first non-empty trimmed line from position `from` on.
QString firstFilledLine(const QList<QStringView>& lines, qsizetype from)
{
    for (qsizetype i = from; i < lines.size(); ++i) {
        const QStringView line = lines[i].trimmed();
        if (!line.isEmpty()) {
            return leadingCharacters(line.toString(), kPreviewCharacters);
        }
    }
    return QString();
}

} // namespace

QString displayTitle(const QString& title, const QString& plainText)
{
    if (const QString trimmed = title.trimmed(); !trimmed.isEmpty()) {
        return trimmed;
    }
    if (const QStringView line = firstLine(plainText).trimmed(); !line.isEmpty()) {
        return line.toString();
    }
    return QStringLiteral("Empty note");
}

QString displayTitle(const StickyNote& note)
{
    return displayTitle(note.title(), note.plainText());
}

QString previewLine(const QString& title, const QString& plainText)
{
    const QString trimmedTitle = title.trimmed();
    const QList<QStringView> lines = QStringView(plainText).split(u'\n');
    if (trimmedTitle.isEmpty()) {
        // The first line is the title then: the preview starts at the second.
        return firstFilledLine(lines, 1);
    }
    for (const QStringView line : lines) {
        const QStringView trimmed = line.trimmed();
        if (trimmed.isEmpty()) {
            continue;
        }
        if (trimmed.compare(trimmedTitle, Qt::CaseInsensitive) != 0) {
            return leadingCharacters(trimmed.toString(), kPreviewCharacters);
        }
        // The text repeats the title: look again from the second line.
        return firstFilledLine(lines, 1);
    }
    return QString();
}

QString previewLine(const StickyNote& note)
{
    return previewLine(note.title(), note.plainText());
}

} // namespace norvelle
