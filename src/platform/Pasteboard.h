#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

namespace norvelle {

// Pasteboard types are MIME types.
namespace PasteboardType {
inline const QString plainText = QStringLiteral("text/plain;charset=utf-8");
inline const QString png = QStringLiteral("image/png");
inline const QString tiff = QStringLiteral("image/tiff");

// Whether `type` names an image MIME type ("image/...").
bool isImage(const QString& type);
} // namespace PasteboardType

// What one write puts on the pasteboard: data under each type, and optionally a plain string.
struct PasteboardContents {
    QList<QPair<QString, QByteArray>> data;
    QString string; // written only when not empty
    bool isEmpty() const { return data.isEmpty() && string.isEmpty(); }
};

// The general pasteboard (the X11 CLIPBOARD selection). The change count rises on every change
// of its contents, ours and other programs', and changed() says so as it happens: reading the
// count never talks to the X server, and nothing needs to ask it on a timer. Main thread only.
class Pasteboard : public QObject {
    Q_OBJECT
public:
    ~Pasteboard() override = default;

    // The real one, over QClipboard.
    static Pasteboard& general();

    virtual qint64 changeCount() const = 0;
    // Offered types, in the owner's order.
    virtual QStringList types() const = 0;
    // The bytes offered for `type`; empty when absent.
    virtual QByteArray data(const QString& type) const = 0;
    // The plain text; empty when there is none.
    virtual QString string() const = 0;
    // Calls `done` with whether the program holding the contents answers at all, without
    // waiting for it (never once `context` has gone): the reads above wait seconds on one that
    // does not. Here it always answers, at once.
    virtual void whenOwnerAnswers(QObject* context, std::function<void(bool answered)> done)
    {
        Q_UNUSED(context);
        done(true);
    }

    // Gives up the contents (the change count rises).
    virtual void clearContents() = 0;
    // Replaces the contents with `contents` (the change count rises). On X11 the primary
    // selection gets the same contents, so programs that paste either selection see it.
    virtual void write(const PasteboardContents& contents) = 0;

signals:
    // The change count rose.
    void changed();
};

} // namespace norvelle
