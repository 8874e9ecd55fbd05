#pragma once

#include <QString>

#include <memory>
#include <optional>

class QWidget;

namespace norvelle {

// The dialogs of note import and export, apart from the operations so that these run without a
// screen in tests.
class NoteFileDialogs {
public:
    virtual ~NoteFileDialogs() = default;

    // The file dialogs on screen, above the window of `view` and in the look of `view` (the
    // workspace may be dark in a light desktop); with no view, above the active window.
    static std::shared_ptr<NoteFileDialogs> openedFrom(QWidget* view);

    // One existing file, any file being offered (the reader decides what it can take), with
    // the plain-text and RTF files as choices; none when the user cancels.
    virtual std::optional<QString> chooseFileToImport() = 0;
    // Tells the user that `fileName` was not imported, and why.
    virtual void showImportFailure(const QString& fileName, const QString& reason) = 0;
    // Where to write a plain-text export, offering `suggestedName`; none when the user cancels.
    virtual std::optional<QString> chooseExportFile(const QString& suggestedName) = 0;
    // Tells the user that writing `fileName` failed, and why.
    virtual void showExportFailure(const QString& fileName, const QString& reason) = 0;
};

} // namespace norvelle
