#include "sticky/StickyWindowController.h"

#include "core/AppDelegating.h"
#include "core/OSLogAnalyticsTracker.h"
#include "core/ReliabilityService.h"
#include "editor/RichTextEditor.h"
#include "editor/StickyTextView.h"
#include "editor/TableEditing.h"
#include "objectstore/ObjectContext.h"
#include "platform/ColorPanel.h"
#include "platform/GraphemeTally.h"
#include "platform/UserDefaults.h"
#include "sticky/BackgroundStyleControls.h"
#include "sticky/KeyablePanel.h"
#include "sticky/NoteSyncHandoff.h"
#include "sticky/PaperColorLists.h"
#include "sticky/PaperTheme.h"
#include "sticky/StickyContentView.h"
#include "sticky/StickyFrameString.h"
#include "sticky/StickyHeaderBar.h"
#include "sticky/StickyNoteActions.h"
#include "sticky/StickyPlacement.h"
#include "sticky/StickySharing.h"
#include "sticky/StickyState.h"
#include "sticky/StickyToolbarPill.h"
#include "store/NoteTitle.h"
#include "store/StickyNote.h"
#include "store/StickyWindowKeys.h"
#include "ui/IsolatedText.h"

#include <QAction>
#include <QCursor>
#include <QDateTime>
#include <QGuiApplication>
#include <QScreen>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace norvelle {

namespace {

// A frame written at most this long after the last move or resize of a drag.
constexpr int frameSaveDelayMs = 200;

QList<QRect> screenAreas()
{
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens()) {
        areas.append(screen->availableGeometry());
    }
    return areas;
}

// A stored opacity of 0 (never set) opens opaque, and so does one that is no number.
double openingOpacity(double stored)
{
    return stored == 0.0 || !std::isfinite(stored) ? 1.0 : stored;
}

} // namespace

QString StickyWindowController::frameKey(const QString& stickyID)
{
    return StickyWindowKeys::frame(stickyID);
}

QString StickyWindowController::followThemeKey(const QString& stickyID)
{
    return StickyWindowKeys::followTheme(stickyID);
}

StickyWindowController::StickyWindowController()
    : WindowController(std::make_unique<KeyablePanel>())
    , m_panel(static_cast<KeyablePanel*>(window()))
    , m_state(std::make_unique<StickyState>())
    , m_actions(std::make_unique<StickyNoteActions>(*this))
    , m_sharing(std::make_unique<StickySharing>(*this))
{
    m_frameSave.setSingleShot(true);
    m_frameSave.setInterval(frameSaveDelayMs);
    connect(&m_frameSave, &QTimer::timeout, this, &StickyWindowController::saveFrame);
    const auto frameChanged = [this] {
        if (m_panel->isVisible()) {
            m_frameSave.start();
        }
    };
    connect(m_panel, &KeyablePanel::moved, this, frameChanged);
    connect(m_panel, &KeyablePanel::resized, this, frameChanged);
    m_opacitySave.setSingleShot(true);
    m_opacitySave.setInterval(opacitySaveDelayMs);
    connect(&m_opacitySave, &QTimer::timeout, this, &StickyWindowController::saveOpacity);
    connect(this, &WindowController::windowWillClose, this, &StickyWindowController::windowClosing);
    auto* duplicate = new QAction(m_panel);
    duplicate->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    duplicate->setShortcutContext(Qt::WindowShortcut);
    connect(duplicate, &QAction::triggered, this, [this] { m_actions->duplicateNote(); });
    m_panel->addAction(duplicate);
}

StickyWindowController::~StickyWindowController()
{
    if (m_opacitySave.isActive()) {
        saveOpacity();
    }
    if (m_panel->isVisible()) {
        flushEditorContents();
        saveFrame();
    } else if (m_frameSave.isActive()) {
        saveFrame();
    }
}

void StickyWindowController::initWithNote(std::shared_ptr<StickyNote> note)
{
    m_note = std::move(note);
    StickyState& state = *m_state;
    if (m_note) {
        const QString paper = m_note->paperColor();
        const QString texture = m_note->textureName();
        state.setPaperHex(paper.isNull() ? PaperTheme::lightPaper : paper);
        state.setTextureName(texture.isNull() ? QStringLiteral("lined") : texture);
        state.setOpacity(openingOpacity(m_note->opacity()));
        state.setFollowsSystemTheme(resolveFollowsSystemTheme(*m_note));
        state.setIsDark(PaperTheme::isDarkPaperHexSRGB(state.paperHex()));
        state.setIsPinned(m_note->isPinned());
        const QByteArray content = m_note->content();
        m_richBodyData = content.isEmpty() ? std::nullopt : std::optional(content);
        m_text = m_note->plainText();
        showTitle(m_note->title());
    }
    installAppearanceObservers();
    observeNoteChanges();
    buildContent();

    if (!m_hasLoadedSavedFrame) {
        m_hasLoadedSavedFrame = restoreSavedFrame();
    }
}

bool StickyWindowController::resolveFollowsSystemTheme(const StickyNote& note) const
{
    if (!stickyID.isEmpty()) {
        const QVariant stored = UserDefaults::standard().object(followThemeKey(stickyID));
        if (stored.isValid()) {
            return UserDefaults::standard().boolValue(followThemeKey(stickyID));
        }
    }
    return PaperTheme::paperFollowsThemeByDefault(note.paperColor());
}

void StickyWindowController::installAppearanceObservers()
{
    for (const QMetaObject::Connection& observer : m_appearanceObservers) {
        disconnect(observer);
    }
    m_appearanceObservers[0] = connect(m_state.get(), &StickyState::textureNameChanged, this, [this](const QString& name) {
        if (m_note) {
            m_note->setTextureName(name);
            StickyNoteActions::save(*m_note);
        }
    });
    // The transparency control changes the opacity many times a second; the note is written
    // once it stands still.
    m_appearanceObservers[1] = connect(m_state.get(), &StickyState::opacityChanged, this, [this] { m_opacitySave.start(); });
}

// The note also changes outside this window: the workspace pins it, sync brings newer text.
void StickyWindowController::observeNoteChanges()
{
    disconnect(m_syncedTextObserver);
    disconnect(m_pinObserver);
    if (!m_note || !m_note->managedObjectContext()) {
        return;
    }
    // The star shows what the note holds, so the next click on it takes back a pin made on the
    // workspace card instead of pinning again.
    m_pinObserver = connect(m_note->managedObjectContext(), &ObjectContext::objectsDidChange, this, [this] {
        if (m_note) {
            m_state->setIsPinned(m_note->isPinned());
        }
    });
    // The window shows newer synced text, so the next keystroke adds to it instead of writing
    // the old text back over it.
    m_syncedTextObserver = connect(m_note->managedObjectContext(), &ObjectContext::objectChanged, this, [this](const ObjectID& id) {
        if (!m_note || id != m_note->objectID() || m_note->updatedBy() != QLatin1String("sync")
            || m_note->plainText() == m_text) {
            return;
        }
        m_text = m_note->plainText();
        const QByteArray content = m_note->content();
        m_richBodyData = content.isEmpty() ? std::nullopt : std::optional(content);
        showTitle(m_note->title());
        if (m_editor) {
            // The caret stays where the user was typing, not at the start of the new text.
            const int caret = m_editor->textView().textCursor().position();
            m_editor->update(m_text, m_richBodyData);
            QTextCursor cursor = m_editor->textView().textCursor();
            cursor.setPosition(std::min(caret, m_editor->textView().document()->characterCount() - 1));
            m_editor->textView().setTextCursor(cursor);
        }
    });
}

void StickyWindowController::saveOpacity()
{
    m_opacitySave.stop();
    if (m_note) {
        m_note->setOpacity(m_state->opacity());
        StickyNoteActions::save(*m_note);
    }
}

void StickyWindowController::buildContent()
{
    if (m_content) {
        m_editor->update(m_text, m_richBodyData);
        return;
    }
    m_editor = new RichTextEditor(Qt::black, m_state->paperHex());
    m_editor->load(m_text, m_richBodyData);
    // The editor reports the rich body first and the plain text second: one save takes both.
    connect(m_editor, &RichTextEditor::richDataChanged, this, [this](const std::optional<QByteArray>& rich) {
        m_richBodyData = rich;
    });
    connect(m_editor, &RichTextEditor::textChanged, this, [this](const QString& text) {
        m_text = text;
        saveNote();
    });

    m_pill = new StickyToolbarPill(m_editor);
    connect(m_editor, &RichTextEditor::selectionTableStateChanged, this, [this](bool inTable) {
        m_pill->setInTableCell(inTable);
    });
    connect(m_pill, &StickyToolbarPill::opacityEdited, m_state.get(), &StickyState::setOpacity);
    m_pill->setColorsContentFactory([this] {
        return new BackgroundStyleControls(
            *m_state, [this](const QString& hex) { applyPaperColor(hex, false); },
            [this](const QString& hex) { applyPaperColor(hex, true); });
    });

    m_content = new StickyContentView(*m_state, m_editor);
    m_content->setToolbar(m_pill);
    m_content->setTranslucent(m_panel->isTranslucent());
    auto* layout = new QVBoxLayout(m_panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_content);
    m_panel->setFocusProxy(m_editor);

    StickyHeaderBar& header = m_content->headerBar();
    connect(&header, &StickyHeaderBar::closeClicked, this, &WindowController::close);
    connect(&header, &StickyHeaderBar::minimizeClicked, m_panel, &QWidget::showMinimized);
    connect(&header, &StickyHeaderBar::togglePinClicked, this, [this] { m_actions->togglePin(); });
    connect(&header, &StickyHeaderBar::moreClicked, this, [this] { m_actions->showMoreMenu(); });
    connect(&header, &StickyHeaderBar::shareOptionsRequested, this, [this](QWidget* anchor) { m_sharing->showShareMenu(anchor); });
    connect(m_content, &StickyContentView::appearanceChanged, this, &StickyWindowController::applyLook);
    applyLook();
}

void StickyWindowController::applyLook()
{
    const QString paper = m_content->effectivePaperHex();
    const QColor text = m_content->editorTextColor().value_or(m_content->palette().color(QPalette::WindowText));
    if (text != m_editor->textColor() || paper != m_editor->paperHex()) {
        m_editor->setAppearance(text, paper);
    }
    m_pill->setPaper(paper, PaperTheme::isDarkPaperHex(paper));
    m_pill->setOpacity(m_state->opacity());
}

bool StickyWindowController::restoreSavedFrame()
{
    if (stickyID.isEmpty()) {
        return false;
    }
    const std::optional<QString> stored = UserDefaults::standard().string(frameKey(stickyID));
    const std::optional<QRect> frame = stored ? StickyFrameString::parse(*stored) : std::nullopt;
    if (!frame) {
        return false;
    }
    m_panel->resize(frame->size());
    if (StickyFrameString::isOnAnyScreen(*frame, screenAreas())) {
        m_panel->move(frame->topLeft());
        return true;
    }
    // A screen that has gone: the note comes back where the user is looking.
    const QPoint pointer = QCursor::pos();
    QScreen* screen = QGuiApplication::screenAt(pointer);
    if (!screen) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen) {
        m_panel->move(StickyPlacement::originNearPointer(pointer, screen->availableGeometry(), m_panel->size(), 0));
    }
    return true;
}

void StickyWindowController::saveFrame()
{
    m_frameSave.stop();
    if (stickyID.isEmpty()) {
        return;
    }
    const QRect frame(m_panel->pos(), m_panel->size());
    UserDefaults::standard().set(frameKey(stickyID), StickyFrameString::format(frame));
}

void StickyWindowController::showTitle(const QString& title)
{
    // A window with no name would vanish from the window list.
    m_panel->setWindowTitle(NoteTitle::trimmed(title).isEmpty() ? QStringLiteral("Untitled")
                                                                : isolatedText(NoteTitle::shown(title)));
}

void StickyWindowController::saveNote()
{
    const QString title = NoteTitle::firstNonBlankLine(m_text);
    if (m_note) {
        m_note->setPlainText(m_text);
        m_note->setContent(m_richBodyData.value_or(QByteArray()));
        m_note->setTitle(title);
        m_note->setUpdatedAt(QDateTime::currentDateTimeUtc());
        m_note->setVersion(m_note->version() + 1);
        m_note->setUpdatedBy(QStringLiteral("local-device"));
        showTitle(title);
    }
    const qsizetype characters = m_characters.count(m_text);
    ReliabilityService::shared().reportLargeNote(characters);
    if (m_note) {
        // An edit that could not be saved is not handed on nor counted: the next edit saves it.
        if (!StickyNoteActions::save(*m_note)) {
            return;
        }
        NoteSyncHandoff::handOff(*m_note);
    }
    OSLogAnalyticsTracker::shared().track(QStringLiteral("note_updated"),
        {{QStringLiteral("length"), QString::number(characters)}});
}

void StickyWindowController::flushEditorContents()
{
    if (!m_editor) {
        return;
    }
    m_editor->flushPendingReport();
    // Only an edit is saved. Showing a note is none: a stored body the editor could not read
    // whole (pictures, a cut-off file) stays as it is until the user changes the note.
    if (std::optional<RichTextEditor::Contents> edit = m_editor->takeUnreportedEdit()) {
        m_richBodyData = std::move(edit->richData);
        m_text = std::move(edit->text);
        saveNote();
    }
}

void StickyWindowController::applyPaperColor(const QString& hex, bool commit)
{
    m_state->setFollowsSystemTheme(false);
    storeFollowsTheme(false);
    m_state->setPaperHex(hex);
    m_state->setIsDark(PaperTheme::isDarkPaperHexSRGB(hex));
    if (m_note) {
        m_note->setPaperColor(hex);
        m_note->setUpdatedAt(QDateTime::currentDateTimeUtc());
        m_note->setVersion(m_note->version() + 1);
        m_note->setUpdatedBy(QStringLiteral("local-device"));
        NoteSyncHandoff::handOff(*m_note);
        StickyNoteActions::save(*m_note);
    }
    if (commit) {
        PaperColorLists::rememberRecentPaperColor(hex);
    }
}

void StickyWindowController::storeFollowsTheme(bool follows)
{
    if (!stickyID.isEmpty()) {
        UserDefaults::standard().set(followThemeKey(stickyID), follows);
    }
}

void StickyWindowController::windowClosing()
{
    flushEditorContents();
    saveFrame();
    // A colour panel left open for this note would go on colouring nothing.
    if (ColorPanel::shared().isVisible()) {
        ColorPanel::shared().close();
    }
    // A pending opacity belongs to the note; after the close nothing may write it any more.
    if (m_opacitySave.isActive()) {
        saveOpacity();
    }
    for (const QMetaObject::Connection& observer : m_appearanceObservers) {
        disconnect(observer);
    }
    if (m_note) {
        m_note->setIsWindowOpen(false);
        StickyNoteActions::save(*m_note);
    }
    // The delegate lets go of this controller here; nothing below may touch it.
    if (auto* app = AppDelegating::current()) {
        app->forgetStickyWindow(stickyID);
    }
}

} // namespace norvelle
