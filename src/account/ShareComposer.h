#pragma once

#include "account/NoteSnapshot.h"
#include "platform/SharePayload.h"

#include <QImage>

#include <functional>
#include <optional>

namespace norvelle {

class AnalyticsTracking;
class Pasteboard;

enum class ShareKind { text,
    richText,
    card,
    collaborationLink };

// Turns one note into what the share menu offers: its text, a rich-text document file, a card
// image file, or a collaboration link (which goes straight onto the clipboard). Files are
// written into "norvelle-shares" in the user's private temporary folder and never deleted; each
// share makes a new one. Every share records one event.
//
//     SharePayload payload = ShareComposer::shared().compose(ShareKind::text, snapshot, {});
//     ShareSheet::present(payload, point, anchor);
class ShareComposer {
public:
    ShareComposer(AnalyticsTracking& tracker, Pasteboard& pasteboard);

    // The program's composer: its analytics and the real clipboard.
    static ShareComposer& shared();
    // Empty when the private temporary folder cannot be had.
    static QString shareFolder();
    // The stem of a document's file name: "norvelle-" and the title's first 48 letters and
    // digits, each other run of characters one "-"; "norvelle-note" when nothing is left.
    static QString fileSlug(const QString& title);
    // What a card is when the window it would come from has gone: a blank 400 × 300 image.
    static QImage blankCardImage();

    // `cardImage` is asked once, and only for a card.
    SharePayload compose(ShareKind kind, const NoteSnapshot& note, const std::function<QImage()>& cardImage);
    // A card drawn by a sticky window while it is open: `renderCard` gives nothing once the
    // window has gone, and the card is blank.
    SharePayload composeForSticky(ShareKind kind, const NoteSnapshot& note,
        const std::function<std::optional<QImage>()>& renderCard);

    // The files of a share; nothing when they cannot be made or written.
    std::optional<QUrl> writeRichTextFile(const NoteSnapshot& note);
    std::optional<QUrl> writeCardImageFile(const QImage& image);

private:
    SharePayload shareText(const NoteSnapshot& note);
    void record(const QString& event, const NoteSnapshot& note);

    AnalyticsTracking& m_tracker;
    Pasteboard& m_pasteboard;
};

} // namespace norvelle
