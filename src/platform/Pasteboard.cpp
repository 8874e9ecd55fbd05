#include "platform/Pasteboard.h"

#include "platform/SelectionOwnerProbe.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPointer>

namespace norvelle {

bool PasteboardType::isImage(const QString& type)
{
    return type.startsWith(QLatin1String("image/"), Qt::CaseInsensitive) && type.size() > 6;
}

namespace {

QMimeData* makeMimeData(const PasteboardContents& contents)
{
    auto* mime = new QMimeData;
    for (const auto& [type, bytes] : contents.data) {
        mime->setData(type, bytes);
    }
    if (!contents.string.isEmpty()) {
        mime->setText(contents.string);
    }
    return mime;
}

// QClipboard reports every change of the CLIPBOARD selection (ours at once, other programs'
// through XFixes); counting those signals keeps changeCount() free of X traffic.
class ClipboardPasteboard final : public Pasteboard {
public:
    ClipboardPasteboard()
    {
        connect(clipboard(), &QClipboard::dataChanged, this, [this] {
            ++m_changeCount;
            emit changed();
        });
    }

    qint64 changeCount() const override { return m_changeCount; }

    QStringList types() const override
    {
        const QMimeData* mime = clipboard()->mimeData(QClipboard::Clipboard);
        return mime ? mime->formats() : QStringList {};
    }

    QByteArray data(const QString& type) const override
    {
        const QMimeData* mime = clipboard()->mimeData(QClipboard::Clipboard);
        return mime ? mime->data(type) : QByteArray {};
    }

    QString string() const override { return clipboard()->text(QClipboard::Clipboard); }

    // As long as Qt itself waits on a read, so nothing it would have read is passed over.
    void whenOwnerAnswers(QObject* context, std::function<void(bool)> done) override
    {
        if (clipboard()->ownsClipboard()) {
            done(true);
            return;
        }
        // Made on first use and owned by the application: it holds an X connection of its own.
        if (!m_ownerProbe) {
            m_ownerProbe = new SelectionOwnerProbe(qGuiApp);
        }
        m_ownerProbe->ask(context, std::move(done), ownerAnswerTimeoutMs);
    }

    void clearContents() override { clipboard()->clear(QClipboard::Clipboard); }

    void write(const PasteboardContents& contents) override
    {
        QClipboard* board = clipboard();
        board->setMimeData(makeMimeData(contents), QClipboard::Clipboard);
        if (board->supportsSelection()) {
            board->setMimeData(makeMimeData(contents), QClipboard::Selection);
        }
    }

private:
    static QClipboard* clipboard() { return QGuiApplication::clipboard(); }

    static constexpr int ownerAnswerTimeoutMs = 5000;

    qint64 m_changeCount = 0;
    QPointer<SelectionOwnerProbe> m_ownerProbe;
};

} // namespace

Pasteboard& Pasteboard::general()
{
    static ClipboardPasteboard pasteboard;
    return pasteboard;
}

} // namespace norvelle
