#include "rtf/RichTextCodec.h"

#include "platform/AtomicFile.h"
#include "rtf/RtfDocumentBuilder.h"
#include "rtf/RtfDocumentCapture.h"
#include "rtf/RtfReader.h"
#include "rtf/RtfWriter.h"

#include <QDir>
#include <QTextDocument>

namespace norvelle {

QString RichTextCodec::RtfdError::message() const
{
    switch (m_kind) {
    case Kind::FolderNotCreated:
        return QStringLiteral("The folder “%1” could not be created.").arg(QDir::toNativeSeparators(m_path));
    case Kind::FileNotWritten:
        return QStringLiteral("The file “%1” could not be written.").arg(QDir::toNativeSeparators(m_path));
    }
    return {};
}

QByteArray RichTextCodec::writeRtf(const QTextDocument& document)
{
    return RtfWriter::write(RtfDocumentCapture::capture(document));
}

std::unique_ptr<QTextDocument> RichTextCodec::readRtf(QByteArrayView rtf)
{
    const std::optional<RtfDocumentModel> model = RtfReader::read(rtf);
    if (!model || model->isEmpty())
        return nullptr;
    return RtfDocumentBuilder::build(*model);
}

std::optional<QString> RichTextCodec::plainText(QByteArrayView rtf)
{
    const std::optional<RtfDocumentModel> model = RtfReader::read(rtf);
    if (!model || model->isEmpty())
        return std::nullopt;
    return model->plainText();
}

std::optional<RichTextCodec::RtfdError> RichTextCodec::writeRtfd(const QTextDocument& document, const QString& folderPath)
{
    if (!QDir().mkpath(folderPath))
        return RtfdError(RtfdError::Kind::FolderNotCreated, folderPath);
    const QString filePath = QDir(folderPath).filePath(QStringLiteral("TXT.rtf"));
    if (AtomicFile::write(filePath, writeRtf(document)))
        return RtfdError(RtfdError::Kind::FileNotWritten, filePath);
    return std::nullopt;
}

} // namespace norvelle
