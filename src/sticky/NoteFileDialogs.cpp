#include "sticky/NoteFileDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QStandardPaths>

namespace norvelle {

namespace {

// The dialogs belong to the window the user acted in, so the window manager keeps them above it.
class SystemNoteFileDialogs final : public NoteFileDialogs {
public:
    std::optional<QString> chooseFileToImport() override
    {
        const QString path = QFileDialog::getOpenFileName(QApplication::activeWindow(), QString(), startFolder(),
            QStringLiteral("Text and RTF (*.txt *.TXT *.text *.rtf *.RTF)"));
        return nonEmpty(path);
    }

    std::optional<QString> chooseExportFile(const QString& suggestedName) override
    {
        const QString path = QFileDialog::getSaveFileName(QApplication::activeWindow(), QString(),
            QDir(startFolder()).filePath(suggestedName), QStringLiteral("Plain text (*.txt)"));
        return nonEmpty(path);
    }

    void showExportFailure(const QString& fileName, const QString& reason) override
    {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Export Failed"),
            QStringLiteral("The note could not be exported to “%1”.").arg(fileName), QMessageBox::Ok);
        box.setInformativeText(reason);
        box.exec();
    }

private:
    static QString startFolder()
    {
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        return QDir(documents).exists() ? documents : QDir::homePath();
    }

    static std::optional<QString> nonEmpty(const QString& path)
    {
        return path.isEmpty() ? std::nullopt : std::optional(path);
    }
};

} // namespace

NoteFileDialogs& NoteFileDialogs::system()
{
    static SystemNoteFileDialogs dialogs;
    return dialogs;
}

} // namespace norvelle
