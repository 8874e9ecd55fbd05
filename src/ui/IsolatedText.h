#pragma once

#include <QString>

namespace norvelle {

// Text from elsewhere (a note's title or preview, a folder's name) as it is drawn among other
// text: its direction controls that open or close nothing are dropped and the rest sits in a
// first-strong isolate, so no override in it reaches what is drawn around it. Text without
// direction controls comes back as it is. Only for drawing: the stored text stays as it is.
QString isolatedText(const QString& text);

} // namespace norvelle
