#include "platform/ShareSheet.h"

#include "platform/DesktopLauncher.h"
#include "platform/Pasteboard.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>

namespace norvelle {

namespace {

QByteArray pngBytes(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, "PNG") ? bytes : QByteArray();
}

// What a file contributes to the clipboard as a picture: the bytes of a PNG file.
QByteArray pngFileBytes(const QList<QUrl>& files)
{
    for (const QUrl& url : files) {
        if (QFileInfo(url.toLocalFile()).suffix().compare(QLatin1String("png"), Qt::CaseInsensitive) == 0) {
            QFile file(url.toLocalFile());
            if (file.open(QIODevice::ReadOnly)) {
                return file.readAll();
            }
        }
    }
    return {};
}

// Word processors and mailers here know RTF files, not document folders: an RTFD folder stands
// for the RTF file inside it.
QStringList documentPaths(const QList<QUrl>& files)
{
    QStringList paths;
    for (const QUrl& url : files) {
        const QFileInfo info(url.toLocalFile());
        const QString rtf = info.filePath() + QStringLiteral("/TXT.rtf");
        const bool rtfd = info.isDir() && info.suffix().compare(QLatin1String("rtfd"), Qt::CaseInsensitive) == 0;
        paths << (rtfd && QFileInfo(rtf).isFile() ? rtf : info.filePath());
    }
    return paths;
}

} // namespace

ShareSheet* ShareSheet::present(const SharePayload& payload, const QPoint& globalPos, QWidget* parent)
{
    if (payload.items.isEmpty()) {
        return nullptr;
    }
    auto* sheet = new ShareSheet(payload.items, Pasteboard::general(), DesktopLauncher::system(), parent);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->popup(globalPos);
    return sheet;
}

ShareSheet::ShareSheet(QList<ShareItem> items, Pasteboard& pasteboard, DesktopLauncher& launcher, QWidget* parent)
    : QMenu(parent)
    , m_items(std::move(items))
    , m_pasteboard(pasteboard)
    , m_launcher(launcher)
{
    m_copy = addAction(QStringLiteral("Copy"), this, &ShareSheet::copy);
    m_open = addAction(QStringLiteral("Open"), this, &ShareSheet::open);
    m_showInFolder = addAction(QStringLiteral("Show in Folder"), this, &ShareSheet::showInFolder);
    addSeparator();
    m_email = addAction(QStringLiteral("E-mail…"), this, &ShareSheet::email);
    const bool hasFiles = !files().isEmpty();
    m_copy->setEnabled(!m_items.isEmpty());
    m_open->setEnabled(hasFiles);
    m_showInFolder->setEnabled(hasFiles);
    m_email->setEnabled(hasFiles || !texts().isEmpty());
}

QStringList ShareSheet::texts() const
{
    QStringList texts;
    for (const ShareItem& item : m_items) {
        if (const auto* text = std::get_if<QString>(&item); text && !text->isEmpty()) {
            texts << *text;
        }
    }
    return texts;
}

QList<QUrl> ShareSheet::files() const
{
    QList<QUrl> files;
    for (const ShareItem& item : m_items) {
        if (const auto* url = std::get_if<QUrl>(&item); url && url->isLocalFile()) {
            files << *url;
        }
    }
    return files;
}

QList<QImage> ShareSheet::images() const
{
    QList<QImage> images;
    for (const ShareItem& item : m_items) {
        if (const auto* image = std::get_if<QImage>(&item); image && !image->isNull()) {
            images << *image;
        }
    }
    return images;
}

void ShareSheet::copy()
{
    PasteboardContents contents;
    QStringList strings = texts();
    const QList<QUrl> urls = files();
    if (!urls.isEmpty()) {
        // File managers paste files from either list.
        QByteArray uriList;
        QByteArray copiedFiles = "copy";
        for (const QUrl& url : urls) {
            uriList += url.toEncoded() + "\r\n";
            copiedFiles += "\n" + url.toEncoded();
        }
        contents.data.append({QStringLiteral("text/uri-list"), uriList});
        contents.data.append({QStringLiteral("x-special/gnome-copied-files"), copiedFiles});
        if (strings.isEmpty()) {
            for (const QUrl& url : urls) {
                strings << url.toLocalFile();
            }
        }
    }
    const QList<QImage> pictures = images();
    const QByteArray png = pictures.isEmpty() ? pngFileBytes(urls) : pngBytes(pictures.first());
    if (!png.isEmpty()) {
        contents.data.append({PasteboardType::png, png});
    }
    contents.string = strings.join(QStringLiteral("\n\n"));
    if (!contents.isEmpty()) {
        m_pasteboard.write(contents);
    }
}

void ShareSheet::open()
{
    for (const QString& path : documentPaths(files())) {
        if (!m_launcher.openUrl(QUrl::fromLocalFile(path))) {
            reportFailure(QStringLiteral("No program could open “%1”.").arg(QFileInfo(path).fileName()),
                QStringLiteral("The desktop has no program set for this kind of file."));
        }
    }
}

void ShareSheet::showInFolder()
{
    QStringList folders;
    for (const QUrl& url : files()) {
        const QString folder = QFileInfo(url.toLocalFile()).absolutePath();
        if (!folders.contains(folder)) {
            folders << folder;
        }
    }
    for (const QString& folder : folders) {
        if (!m_launcher.openUrl(QUrl::fromLocalFile(folder))) {
            reportFailure(QStringLiteral("The folder “%1” could not be shown.").arg(folder),
                QStringLiteral("The desktop has no file manager set for folders."));
        }
    }
}

void ShareSheet::email()
{
    QStringList arguments;
    for (const QString& path : documentPaths(files())) {
        arguments << QStringLiteral("--attach") << path;
    }
    const QStringList body = texts();
    if (!body.isEmpty()) {
        arguments << QStringLiteral("--body") << body.join(QStringLiteral("\n\n"));
    }
    if (!m_launcher.startDetached(QStringLiteral("xdg-email"), arguments)) {
        reportFailure(QStringLiteral("The e-mail program could not be started."),
            QStringLiteral("Norvelle writes e-mails through xdg-email (the xdg-utils package); "
                           "it is missing or did not start."));
    }
}

void ShareSheet::reportFailure(const QString& what, const QString& detail) const
{
    auto* alert = new QMessageBox(QMessageBox::Warning, QStringLiteral("Norvelle"), what, QMessageBox::Ok, parentWidget());
    alert->setInformativeText(detail);
    alert->setAttribute(Qt::WA_DeleteOnClose);
    alert->show();
}

} // namespace norvelle
