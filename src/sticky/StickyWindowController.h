#pragma once

#include "platform/WindowController.h"

#include <QString>
#include <QTimer>

#include <memory>

namespace norvelle {

class StickyNote;
class StickyWindow;

// Drives the sticky window of one note: fills it from the note, writes every edit back into the
// note at once (and hands the note to synchronisation), and remembers the window's frame under
// "norvelle.sticky.frame." + stickyID. When the window closes the note is marked closed and the
// controller leaves the application delegate's table.
//
//     auto controller = new StickyWindowController;   // hidden window
//     controller->stickyID = key;
//     controller->initWithNote(note);                  // restores a saved frame
class StickyWindowController : public WindowController {
    Q_OBJECT
public:
    static QString frameKey(const QString& stickyID);

    StickyWindowController();
    ~StickyWindowController() override;

    // The note's key (the URI text of its object ID); set before initWithNote.
    QString stickyID;

    // Shows `note` in the window; the first call also restores the saved frame.
    void initWithNote(std::shared_ptr<StickyNote> note);

    // Applies the saved frame: false when no stickyID, nothing stored, a text that is no frame,
    // or a frame off every screen (then only its size is taken, for placing it elsewhere).
    bool restoreSavedFrame();
    void saveFrame();

    // Writes the window's text into the note with its title, a new date, the next version and
    // "local-device", reports the size to the reliability check, hands the note to sync and
    // saves. Runs after every edit.
    void saveNote();

    StickyWindow* stickyWindow() const { return m_window; }

    const std::shared_ptr<StickyNote>& note() const { return m_note; }
    QString text() const { return m_text; }
    bool hasLoadedSavedFrame() const { return m_hasLoadedSavedFrame; }

private:
    void textEdited(const QString& text);
    void windowClosing();

    StickyWindow* m_window; // owned by the base
    std::shared_ptr<StickyNote> m_note;
    QString m_text;
    bool m_hasLoadedSavedFrame = false;
    QTimer m_frameSave;
};

} // namespace norvelle
