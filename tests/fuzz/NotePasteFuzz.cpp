// Feeds any bytes as HTML on the clipboard to a note's paste: it must neither crash nor hang,
// and every letter and digit of the HTML, as Qt reads it, must be in the note after the paste,
// in the same order (a paste may add list numbers, never lose text).
#include "FuzzInput.h"

#include "editor/StickyTextView.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTextDocument>

using namespace norvelle;

namespace {

// Qt's reading of HTML, never reaching for the files or addresses it names.
class HtmlAsRead : public QTextDocument {
protected:
    QVariant loadResource(int, const QUrl&) override { return {}; }
};

// Whether the letters and digits of `part` are all in `whole`, in order.
bool lettersKept(const QString& part, const QString& whole)
{
    auto at = whole.begin();
    for (const QChar c : part) {
        if (!c.isLetterOrNumber()) {
            continue;
        }
        at = std::find(at, whole.end(), c);
        if (at == whole.end()) {
            return false;
        }
        ++at;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::makeApplication<QApplication>();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString html = QString::fromUtf8(fuzz::bytes(data, size));
    HtmlAsRead read;
    read.setHtml(html);
    auto* clip = new QMimeData;
    clip->setHtml(html);
    QGuiApplication::clipboard()->setMimeData(clip);
    StickyTextView note;
    note.paste();
    fuzz::require(lettersKept(read.toPlainText(), note.document()->toPlainText()));
    return 0;
}
