#pragma once

#include <QImage>
#include <QList>
#include <QString>
#include <QUrl>

#include <optional>
#include <variant>

namespace norvelle {

// One thing offered for sharing: a text, a file (by its file URL) or an image.
using ShareItem = std::variant<QString, QUrl, QImage>;

// What one share action hands to the share menu, and the collaboration link when it made one.
struct SharePayload {
    QList<ShareItem> items;
    std::optional<QUrl> generatedLink;
};

} // namespace norvelle
