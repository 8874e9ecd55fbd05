#pragma once

#include "platform/GraphemeTally.h"
#include "platform/WindowController.h"

#include <QByteArray>
#include <QString>
#include <QTimer>

#include <array>
#include <functional>
#include <memory>
#include <optional>

namespace norvelle {

class KeyablePanel;
class RichTextEditor;
class StickyContentView;
class StickyNote;
class StickyNoteActions;
class StickySharing;
class StickyState;
class StickyToolbarPill;

// Drives the floating window of one note. It fills the window's look (StickyState) and editor
// from the note, writes every edit back into the note at once (and hands the note to sync),
// stores texture and opacity changes, and remembers the window's frame under
// "norvelle.sticky.frame." + stickyID. Closing the window marks the note closed and takes the
// controller out of the application delegate's table, which then lets it go.
//
//     auto controller = new StickyWindowController;   // hidden window
//     controller->stickyID = key;
//     controller->initWithNote(note);                  // restores a saved frame
class StickyWindowController : public WindowController {
    Q_OBJECT
public:
    static QString frameKey(const QString& stickyID);
    static QString followThemeKey(const QString& stickyID);
    // Opacity changes reach the note once they have stood this long.
    static constexpr int opacitySaveDelayMs = 250;

    StickyWindowController();
    // A controller that goes while its window is open (the program quits) keeps the note open
    // and its last text and frame saved.
    ~StickyWindowController() override;

    // The note's key (the URI text of its object ID); set before initWithNote.
    QString stickyID;

    // Shows `note` in the window; the first call also restores the saved frame.
    void initWithNote(std::shared_ptr<StickyNote> note);

    // Applies the saved frame. False when there is no stickyID, nothing stored, or a text that
    // is no frame with a positive size. A frame lying off every screen is moved onto the screen
    // under the pointer with its size kept, and counts as restored.
    bool restoreSavedFrame();
    void saveFrame();

    // Writes text, rich body, title, a new date, the next version and "local-device" into the
    // note, reports its size, hands it to sync, logs "note_updated" and saves. Runs after every
    // edit.
    void saveNote();
    // Saves once an edit the editor has not reported yet; nothing when there is none.
    void flushEditorContents();

    // Whether the note follows the desktop's light or dark theme: the stored choice for this
    // note, else whether its paper is one of the theme colours.
    bool resolveFollowsSystemTheme(const StickyNote& note) const;
    // A paper colour chosen (or only previewed) for the note: it stops following the theme and
    // the note records the change; a chosen one also goes first in the recent colours.
    void applyPaperColor(const QString& hex, bool commit);
    void storeFollowsTheme(bool follows);

    KeyablePanel* panel() const { return m_panel; }
    StickyContentView* contentView() const { return m_content; }
    StickyState& stickyState() const { return *m_state; }
    // Pin, archive, duplicate and trash the note, and the "more" menu.
    StickyNoteActions& actions() const { return *m_actions; }
    // The share menu, share pickers and the collaborative link.
    StickySharing& sharing() const { return *m_sharing; }
    RichTextEditor* editor() const { return m_editor; }
    StickyToolbarPill* toolbarPill() const { return m_pill; }

    const std::shared_ptr<StickyNote>& note() const { return m_note; }
    QString text() const { return m_text; }
    bool hasLoadedSavedFrame() const { return m_hasLoadedSavedFrame; }

private:
    void buildContent();
    void installAppearanceObservers();
    void observeNoteChanges();
    void applyLook();
    void saveOpacity();
    // The note's title as the window's name: "Untitled" while it has none.
    void showTitle(const QString& title);
    void windowClosing();

    KeyablePanel* m_panel; // owned by the base
    std::unique_ptr<StickyState> m_state;
    std::unique_ptr<StickyNoteActions> m_actions;
    std::unique_ptr<StickySharing> m_sharing;
    StickyContentView* m_content = nullptr;
    RichTextEditor* m_editor = nullptr;
    StickyToolbarPill* m_pill = nullptr;
    std::shared_ptr<StickyNote> m_note;
    QString m_text;
    // The length of m_text as saves report it.
    GraphemeTally m_characters;
    std::optional<QByteArray> m_richBodyData;
    bool m_hasLoadedSavedFrame = false;
    QTimer m_frameSave;
    QTimer m_opacitySave;
    std::array<QMetaObject::Connection, 2> m_appearanceObservers;
    QMetaObject::Connection m_syncedTextObserver;
    QMetaObject::Connection m_pinObserver;
};

} // namespace norvelle
