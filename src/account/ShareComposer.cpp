#include "account/ShareComposer.h"

#include "account/APIConfig.h"
#include "core/AnalyticsTracking.h"
#include "core/OSLogAnalyticsTracker.h"
#include "platform/AppPaths.h"
#include "platform/AtomicFile.h"
#include "platform/Pasteboard.h"
#include "rtf/RichTextCodec.h"

#include <QBuffer>
#include <QFile>
#include <QFontDatabase>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocument>

namespace norvelle {

namespace {

QString uuidText(const QUuid& id)
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}

QTextCharFormat systemFormat(qreal pointSize, QFont::Weight weight)
{
    QTextCharFormat format;
    format.setFontFamilies({QFontDatabase::systemFont(QFontDatabase::GeneralFont).family()});
    format.setFontPointSize(pointSize);
    format.setFontWeight(weight);
    return format;
}

// Documents are read on white pages, whatever the desktop's scheme.
QTextCharFormat labelFormat(qreal pointSize, QFont::Weight weight)
{
    QTextCharFormat format = systemFormat(pointSize, weight);
    format.setForeground(QColor(Qt::black));
    return format;
}

} // namespace

ShareComposer::ShareComposer(AnalyticsTracking& tracker, Pasteboard& pasteboard)
    : m_tracker(tracker)
    , m_pasteboard(pasteboard)
{
}

ShareComposer& ShareComposer::shared()
{
    static ShareComposer composer(OSLogAnalyticsTracker::shared(), Pasteboard::general());
    return composer;
}

QString ShareComposer::shareFolder()
{
    const QString temporary = AppPaths::temporaryDirectory();
    if (temporary.isEmpty()) {
        return {};
    }
    const QString folder = temporary + QStringLiteral("/norvelle-shares");
    if (AppPaths::ensureDirectory(folder)) {
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    return folder;
}

QString ShareComposer::fileSlug(const QString& title)
{
    static const QRegularExpression separators(QStringLiteral("[^a-z0-9]+"));
    QString slug = title.toLower();
    slug.replace(separators, QStringLiteral("-"));
    while (slug.startsWith(u'-')) {
        slug.remove(0, 1);
    }
    while (slug.endsWith(u'-')) {
        slug.chop(1);
    }
    return slug.isEmpty() ? QStringLiteral("norvelle-note") : QStringLiteral("norvelle-") + slug.left(48);
}

QImage ShareComposer::blankCardImage()
{
    QImage image(400, 300, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

SharePayload ShareComposer::compose(ShareKind kind, const NoteSnapshot& note, const std::function<QImage()>& cardImage)
{
    switch (kind) {
    case ShareKind::text:
        return shareText(note);
    case ShareKind::richText: {
        const std::optional<QUrl> file = writeRichTextFile(note);
        if (!file) {
            return shareText(note);
        }
        record(QStringLiteral("share_rtf"), note);
        return {.items = {*file}, .generatedLink = std::nullopt};
    }
    case ShareKind::card: {
        const QImage image = cardImage();
        const std::optional<QUrl> file = writeCardImageFile(image);
        if (!file) {
            return {.items = {image}, .generatedLink = std::nullopt};
        }
        record(QStringLiteral("share_card"), note);
        return {.items = {*file}, .generatedLink = std::nullopt};
    }
    case ShareKind::collaborationLink: {
        const QString token = uuidText(note.id.value_or(QUuid::createUuid())).toLower();
        const QUrl link(APIConfig::shareLinkBase() + token);
        m_pasteboard.clearContents();
        m_pasteboard.write({.data = {}, .string = link.toString(QUrl::FullyEncoded)});
        record(QStringLiteral("share_collab_link"), note);
        return {.items = {}, .generatedLink = link};
    }
    }
    return {};
}

SharePayload ShareComposer::composeForSticky(ShareKind kind, const NoteSnapshot& note,
    const std::function<std::optional<QImage>()>& renderCard)
{
    return compose(kind, note, [&renderCard] { return renderCard().value_or(blankCardImage()); });
}

SharePayload ShareComposer::shareText(const NoteSnapshot& note)
{
    const QString text = note.body.isEmpty() ? note.title : note.title + QStringLiteral("\n\n") + note.body;
    record(QStringLiteral("share_note_text"), note);
    return {.items = {text}, .generatedLink = std::nullopt};
}

void ShareComposer::record(const QString& event, const NoteSnapshot& note)
{
    m_tracker.track(event, {{QStringLiteral("noteId"), note.id ? uuidText(*note.id) : QStringLiteral("unknown")}});
}

std::optional<QUrl> ShareComposer::writeRichTextFile(const NoteSnapshot& note)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.insertText(note.title, labelFormat(17, QFont::Bold));
    if (!note.body.isEmpty()) {
        cursor.insertText(QStringLiteral("\n\n"), systemFormat(14, QFont::Normal));
        cursor.insertText(note.body, labelFormat(14, QFont::Normal));
    }
    const QString folder = shareFolder();
    if (folder.isEmpty()) {
        return std::nullopt;
    }
    const QString path = folder + u'/' + fileSlug(note.title) + u'-' + uuidText(QUuid::createUuid()) + QStringLiteral(".rtfd");
    if (RichTextCodec::writeRtfd(document, path)) {
        return std::nullopt;
    }
    return QUrl::fromLocalFile(path);
}

std::optional<QUrl> ShareComposer::writeCardImageFile(const QImage& image)
{
    const QString folder = shareFolder();
    if (image.isNull() || folder.isEmpty()) {
        return std::nullopt;
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    const QString path = folder + QStringLiteral("/norvelle-share-") + uuidText(QUuid::createUuid()) + QStringLiteral(".png");
    if (!image.save(&buffer, "PNG") || AtomicFile::write(path, png)) {
        return std::nullopt;
    }
    return QUrl::fromLocalFile(path);
}

} // namespace norvelle
