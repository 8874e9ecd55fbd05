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
            QStringLiteral("All files (*);;Text and RTF (*.txt *.TXT *.text *.md *.log *.rtf *.RTF *.Rtf);;"
                           "Plain text (*.txt *.TXT *.text *.md *.log);;RTF (*.rtf *.RTF *.Rtf)"));
        return nonEmpty(path);
    }

    void showImportFailure(const QString& fileName, const QString& reason) override
    {
        showFailure(QStringLiteral("Import Failed"), QStringLiteral("“%1” could not be imported.").arg(fileName), reason);
    }

    std::optional<QString> chooseExportFile(const QString& suggestedName) override
    {
        const QString path = QFileDialog::getSaveFileName(QApplication::activeWindow(), QString(),
            QDir(startFolder()).filePath(suggestedName), QStringLiteral("Plain text (*.txt)"));
        return nonEmpty(path);
    }

    void showExportFailure(const QString& fileName, const QString& reason) override
    {
        showFailure(QStringLiteral("Export Failed"), QStringLiteral("The note could not be exported to “%1”.").arg(fileName), reason);
    }

private:
    static void showFailure(const QString& title, const QString& text, const QString& reason)
    {
        QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, QApplication::activeWindow());
        box.setInformativeText(reason);
        box.exec();
    }

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
