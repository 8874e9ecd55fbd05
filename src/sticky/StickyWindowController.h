#pragma once

#include "account/ShareComposer.h"
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
    void togglePin();
    // A paper colour chosen (or only previewed) for the note: it stops following the theme and
    // the note records the change; a chosen one also goes first in the recent colours.
    void applyPaperColor(const QString& hex, bool commit);
    void storeFollowsTheme(bool follows);

    // The "more" menu at the pointer, and its commands.
    void showMoreMenu();
    // Archiving closes the window; unarchiving keeps it.
    void toggleArchive();
    // A new note with this one's paper, text, rich body and title (version 1, never synced),
    // opened in its own window.
    void duplicateNote();
    // Asks first; "Move to Trash" then moves the note to the Trash, which closes the window.
    void deleteNote();
    // The question "Move this note to Trash?"; true for "Move to Trash". Replaceable for tests.
    std::function<bool(QWidget* parent)> confirmMoveToTrash;

    // The share button's menu, just below `anchor`.
    void showShareMenu(QWidget* anchor);
    // The share menu for what `kind` makes of the note, below `anchor`; nothing when that is
    // nothing.
    void presentSharePicker(ShareKind kind, QWidget* anchor);
    // Nothing without a stored note.
    QList<ShareItem> shareItems(ShareKind kind);
    // Puts the note's link on the clipboard and records it on the note ("Can Edit").
    void copyCollaborativeLink();
    // The sticky card of this window as it is now.
    QImage renderShareCardImage();

    KeyablePanel* panel() const { return m_panel; }
    StickyContentView* contentView() const { return m_content; }
    StickyState& stickyState() const { return *m_state; }
    RichTextEditor* editor() const { return m_editor; }
    StickyToolbarPill* toolbarPill() const { return m_pill; }
    bool isInTableCell() const { return m_isInTableCell; }

    const std::shared_ptr<StickyNote>& note() const { return m_note; }
    QString text() const { return m_text; }
    const std::optional<QByteArray>& richBodyData() const { return m_richBodyData; }
    bool hasLoadedSavedFrame() const { return m_hasLoadedSavedFrame; }

private:
    void buildContent();
    void installAppearanceObservers();
    void observeSyncedText();
    void applyLook();
    void saveOpacity();
    // The note's title as the window's name: "Untitled" while it has none.
    void showTitle(const QString& title);
    void markNoteChanged();
    void closeOutsideTheTable();
    void windowClosing();
    // Title and body of the text as shown; an empty title reads "Untitled" where asked.
    NoteSnapshot snapshot(bool untitledWhenEmpty) const;

    KeyablePanel* m_panel; // owned by the base
    std::unique_ptr<StickyState> m_state;
    StickyContentView* m_content = nullptr;
    RichTextEditor* m_editor = nullptr;
    StickyToolbarPill* m_pill = nullptr;
    std::shared_ptr<StickyNote> m_note;
    QString m_text;
    std::optional<QByteArray> m_richBodyData;
    bool m_hasLoadedSavedFrame = false;
    bool m_isInTableCell = false;
    QTimer m_frameSave;
    QTimer m_opacitySave;
    std::array<QMetaObject::Connection, 2> m_appearanceObservers;
    QMetaObject::Connection m_syncedTextObserver;
};

} // namespace norvelle
