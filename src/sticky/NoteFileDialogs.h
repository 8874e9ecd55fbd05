#pragma once

#include <QString>

#include <optional>

namespace norvelle {

// The dialogs of note import and export, apart from the operations so that these run without a
// screen in tests.
class NoteFileDialogs {
public:
    virtual ~NoteFileDialogs() = default;

    // The file dialogs on screen.
    static NoteFileDialogs& system();

    // One existing plain-text or RTF file; none when the user cancels.
    virtual std::optional<QString> chooseFileToImport() = 0;
    // Where to write a plain-text export, offering `suggestedName`; none when the user cancels.
    virtual std::optional<QString> chooseExportFile(const QString& suggestedName) = 0;
    // Tells the user that writing `fileName` failed, and why.
    virtual void showExportFailure(const QString& fileName, const QString& reason) = 0;
};

} // namespace norvelle
