#include "platform/RedirectRequest.h"

#include <QList>
#include <QUrlQuery>

namespace norvelle {

std::optional<QUrl> redirectTarget(const QByteArray& head, const QString& path, const QString& expectedState)
{
    const QList<QByteArray> line = head.left(head.indexOf("\r\n")).split(' ');
    const QUrl target(QString::fromUtf8(line.value(1)));
    const bool matches = line.value(0) == "GET" && target.path() == path && !expectedState.isEmpty()
        && QUrlQuery(target).queryItemValue(QStringLiteral("state"), QUrl::FullyDecoded) == expectedState;
    if (!matches) {
        return std::nullopt;
    }
    return target;
}

} // namespace norvelle
