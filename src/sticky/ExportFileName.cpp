#include "sticky/ExportFileName.h"

#include "platform/GraphemeWalker.h"

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
        GraphemeWalker characters(base);
        qsizetype fits = 0;
        qsizetype bytes = 0;
        while (characters.advance()) {
            bytes += characters.current().toUtf8().size();
            if (bytes > budget) {
                break;
            }
            fits = characters.position();
        }
        base.truncate(fits);
    }
    return base + extension;
}

} // namespace norvelle
