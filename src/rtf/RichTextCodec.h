#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <memory>
#include <optional>

class QTextDocument;

namespace norvelle {

// Rich text on disk: our own RTF writer and reader over QTextDocument (Qt has neither).
//
//   QByteArray rtf = RichTextCodec::writeRtf(document);      // same document, same bytes
//   std::unique_ptr<QTextDocument> doc = RichTextCodec::readRtf(rtf);
//   if (!doc) { /* not RTF, or RTF with no text */ }
//   std::optional<QString> text = RichTextCodec::plainText(fileBytes); // importing .rtf files
//   if (auto error = RichTextCodec::writeRtfd(document, folder + "/Note.rtfd"))
//       show(error->message());
//
// Reading accepts our own output and RTF from other programs (word processors, text
// editors) and is safe on any bytes. Fonts: "System" and "System Mono" in the file stand for
// the desktop's regular and monospaced fonts. readRtf needs a QGuiApplication (fonts);
// plainText does not and may run on any thread.
class RichTextCodec {
public:
    class RtfdError {
    public:
        enum class Kind { FolderNotCreated,
            FileNotWritten };

        RtfdError(Kind kind, QString path)
            : m_kind(kind)
            , m_path(std::move(path))
        {
        }
        Kind kind() const { return m_kind; }
        QString path() const { return m_path; }
        QString message() const;

    private:
        Kind m_kind;
        QString m_path;
    };

    static QByteArray writeRtf(const QTextDocument& document);
    // Nothing when the data is not RTF or its text is empty.
    static std::unique_ptr<QTextDocument> readRtf(QByteArrayView rtf);
    // The text only: paragraphs and line breaks as "\n", every table cell paragraph on its
    // own line. Nothing when the data is not RTF or its text is empty.
    static std::optional<QString> plainText(QByteArrayView rtf);
    // Writes `folderPath` (a "<name>.rtfd" folder, made when missing) holding TXT.rtf.
    static std::optional<RtfdError> writeRtfd(const QTextDocument& document, const QString& folderPath);
};

} // namespace norvelle
