#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <optional>

namespace norvelle {

// The target of a browser's redirect to the sign-in listener: a "GET" request head whose path is
// `path` and whose "state" query item equals `expectedState` (never empty). Nothing for any other
// head: another program on this computer may send anything.
std::optional<QUrl> redirectTarget(const QByteArray& head, const QString& path, const QString& expectedState);

} // namespace norvelle
