#include "sticky/StickyWindowController.h"

#include "core/AppDelegating.h"
#include "core/ReliabilityService.h"
#include "platform/GraphemeWalker.h"
#include "platform/ObjectContext.h"
#include "platform/UserDefaults.h"
#include "sticky/NoteSyncHandoff.h"
#include "sticky/StickyFrameString.h"
#include "sticky/StickyWindow.h"
#include "store/NoteTitle.h"
#include "store/StickyNote.h"

#include <QDateTime>
#include <QGuiApplication>
#include <QScreen>

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

} // namespace

QString StickyWindowController::frameKey(const QString& stickyID)
{
    return QStringLiteral("norvelle.sticky.frame.") + stickyID;
}

StickyWindowController::StickyWindowController()
    : WindowController(std::make_unique<StickyWindow>())
    , m_window(static_cast<StickyWindow*>(window()))
{
    m_frameSave.setSingleShot(true);
    m_frameSave.setInterval(frameSaveDelayMs);
    connect(&m_frameSave, &QTimer::timeout, this, &StickyWindowController::saveFrame);
    connect(m_window, &StickyWindow::frameChanged, this, [this] {
        if (m_window->isVisible()) {
            m_frameSave.start();
        }
    });
    connect(m_window, &StickyWindow::textEdited, this, &StickyWindowController::textEdited);
    connect(this, &WindowController::windowWillClose, this, &StickyWindowController::windowClosing);
}

StickyWindowController::~StickyWindowController()
{
    // Quitting right after a move must not lose the frame still waiting for its delayed write.
    if (m_frameSave.isActive()) {
        saveFrame();
    }
}

void StickyWindowController::initWithNote(std::shared_ptr<StickyNote> note)
{
    m_note = std::move(note);
    m_text = m_note ? m_note->plainText() : QString();

    m_window->setPaperColor(m_note ? m_note->paperColor() : QString());
    m_window->setText(m_text);
    m_window->setWindowTitle(m_note ? m_note->title() : QString());

    if (!m_hasLoadedSavedFrame) {
        m_hasLoadedSavedFrame = restoreSavedFrame();
    }
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
    m_window->resize(frame->size());
    if (!StickyFrameString::isOnAnyScreen(*frame, screenAreas())) {
        return false;
    }
    m_window->move(frame->topLeft());
    return true;
}

void StickyWindowController::saveFrame()
{
    m_frameSave.stop();
    if (stickyID.isEmpty()) {
        return;
    }
    const QRect frame(m_window->pos(), m_window->size());
    UserDefaults::standard().set(frameKey(stickyID), StickyFrameString::format(frame));
}

void StickyWindowController::textEdited(const QString& text)
{
    m_text = text;
    saveNote();
}

void StickyWindowController::saveNote()
{
    const QString title = NoteTitle::firstNonBlankLine(m_text);
    if (m_note) {
        m_note->setPlainText(m_text);
        m_note->setTitle(title);
        m_note->setUpdatedAt(QDateTime::currentDateTimeUtc());
        m_note->setVersion(m_note->version() + 1);
        m_note->setUpdatedBy(QStringLiteral("local-device"));
        m_window->setWindowTitle(title);
    }
    ReliabilityService::shared().reportLargeNote(GraphemeWalker::count(m_text));
    if (m_note) {
        NoteSyncHandoff::handOff(*m_note);
        if (ObjectContext* context = m_note->managedObjectContext()) {
            context->save();
        }
    }
}

void StickyWindowController::windowClosing()
{
    saveFrame();
    if (m_note) {
        m_note->setIsWindowOpen(false);
        if (ObjectContext* context = m_note->managedObjectContext()) {
            context->save();
        }
    }
    // The delegate may let go of this controller here; nothing below may touch it.
    if (auto* app = AppDelegating::current()) {
        app->forgetStickyWindow(stickyID);
    }
}

} // namespace norvelle
