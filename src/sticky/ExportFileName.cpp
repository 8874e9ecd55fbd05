#include "sticky/ExportFileName.h"

#include <QTextBoundaryFinder>

namespace norvelle {

QString ExportFileName::suggested(const std::optional<QString>& title)
{
    const QString extension = QStringLiteral(".txt");
    if (!title) {
        return QStringLiteral("norvelle-note") + extension;
    }
    QString base = *title;
    base.replace(u'/', u'-').replace(QChar(u'\0'), u'-');

    const qsizetype budget = maximumBytes - extension.toUtf8().size();
    if (base.toUtf8().size() > budget) {
        QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, base);
        qsizetype fits = 0;
        qsizetype bytes = 0;
        qsizetype start = 0;
        for (qsizetype end = characters.toNextBoundary(); end != -1; end = characters.toNextBoundary()) {
            bytes += QStringView(base).mid(start, end - start).toUtf8().size();
            if (bytes > budget) {
                break;
            }
            fits = end;
            start = end;
        }
        base.truncate(fits);
    }
    return base + extension;
}

} // namespace norvelle
