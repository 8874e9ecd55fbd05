#include "sticky/NoteFileDialogs.h"

#include "ui/SchemePalette.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QStandardPaths>

namespace norvelle {

namespace {

// The dialogs belong to the window the user acted in, so the window manager keeps them above it,
// and draw in the look of the view they were opened from.
class SystemNoteFileDialogs final : public NoteFileDialogs {
public:
    explicit SystemNoteFileDialogs(QWidget* view)
        : m_view(view)
    {
    }

    std::optional<QString> chooseFileToImport() override
    {
        QFileDialog dialog(owner(), QString(), startFolder(),
            QStringLiteral("All files (*);;Text and RTF (*.txt *.TXT *.text *.md *.log *.rtf *.RTF *.Rtf);;"
                           "Plain text (*.txt *.TXT *.text *.md *.log);;RTF (*.rtf *.RTF *.Rtf)"));
        dialog.setFileMode(QFileDialog::ExistingFile);
        return chosenPath(dialog);
    }

    void showImportFailure(const QString& fileName, const QString& reason) override
    {
        showFailure(QStringLiteral("Import Failed"), QStringLiteral("“%1” could not be imported.").arg(fileName), reason);
    }

    std::optional<QString> chooseExportFile(const QString& suggestedName) override
    {
        QFileDialog dialog(owner(), QString(), startFolder(), QStringLiteral("Plain text (*.txt)"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.selectFile(suggestedName);
        return chosenPath(dialog);
    }

    void showExportFailure(const QString& fileName, const QString& reason) override
    {
        showFailure(QStringLiteral("Export Failed"), QStringLiteral("The note could not be exported to “%1”.").arg(fileName), reason);
    }

private:
    // The view may be gone by the time a file read on a worker thread fails.
    QWidget* owner() const { return m_view ? m_view->window() : QApplication::activeWindow(); }

    void takeTheViewsLook(QWidget& dialog) const
    {
        if (m_view) {
            followSchemeOf(dialog, *m_view);
        }
    }

    std::optional<QString> chosenPath(QFileDialog& dialog) const
    {
        takeTheViewsLook(dialog);
        if (dialog.exec() != QDialog::Accepted) {
            return std::nullopt;
        }
        const QString path = dialog.selectedFiles().value(0);
        return path.isEmpty() ? std::nullopt : std::optional(path);
    }

    void showFailure(const QString& title, const QString& text, const QString& reason) const
    {
        QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, owner());
        box.setInformativeText(reason);
        takeTheViewsLook(box);
        box.exec();
    }

    static QString startFolder()
    {
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        return QDir(documents).exists() ? documents : QDir::homePath();
    }

    QPointer<QWidget> m_view;
};

} // namespace

std::shared_ptr<NoteFileDialogs> NoteFileDialogs::openedFrom(QWidget* view)
{
    return std::make_shared<SystemNoteFileDialogs>(view);
}

} // namespace norvelle
