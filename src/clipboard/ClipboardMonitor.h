#pragma once

// The clipboard history: watches the general pasteboard and keeps, in memory only, the newest-
// first list of clips copied by other programs (de-duplicated by content, within the retention
// period, at most 50).
//
//   ClipboardMonitor monitor;                 // the application delegate owns the one monitor
//   monitor.start();                          // a tick on every pasteboard change from now on
//   connect(&monitor, &ClipboardMonitor::itemsChanged, view, [&] { show(monitor.items()); });
//   monitor.copyToPasteboard(entry, 0.22);    // paste-back: not captured as a new clip
//   monitor.copyText(entry.text, 0.22);       // plain text only, same guard
//   monitor.removeEntry(entry.id);            // posts historyChangedNotification
//   monitor.setItems({});                     // "Clear all": the caller then posts
//   NotificationCenter::defaultCenter().post(ClipboardMonitor::historyChangedNotification);
//
// Views follow itemsChanged (emitted whenever items() is replaced); other parts observe the
// notification, which the monitor posts when it adds, prunes or removes. Main thread only.

#include "clipboard/ClipEntry.h"

#include "platform/Pasteboard.h"
#include "platform/SerialQueue.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <deque>
#include <functional>
#include <optional>

namespace norvelle {

class ClipboardMonitor : public QObject {
    Q_OBJECT
public:
    static constexpr int maxHistoryItems = 50;
    static inline const QString historyChangedNotification = QStringLiteral("norvelle.clipboardHistoryChanged");

    // Names the application a clip came from; an empty name reads as "Unknown".
    using SourceAppName = std::function<QString()>;

    // Watches the general pasteboard; clips are credited to the frontmost application.
    explicit ClipboardMonitor(QObject* parent = nullptr);
    // For tests and benchmarks: another pasteboard and source of application names.
    ClipboardMonitor(Pasteboard& pasteboard, SourceAppName sourceAppName, QObject* parent = nullptr);
    ~ClipboardMonitor() override;

    // The history, newest first.
    const QList<ClipEntry>& items() const { return m_items; }
    // Replaces the history and emits itemsChanged; posts nothing.
    void setItems(QList<ClipEntry> items);

    // From now on ticks whenever the pasteboard changes, drops each clip as it expires and
    // prunes at once when the retention setting changes. Nothing runs while nothing happens:
    // an idle program is not woken. A second call changes nothing.
    void start();
    bool isRunning() const { return m_started; }
    // One tick: drops expired clips, then captures what another program copied since the last
    // tick. Image clips are converted off the main thread and appear a moment later.
    void poll();

    // Writes the clip to the pasteboard (image, then text) and ignores pasteboard changes for
    // `resetAfter` seconds (clamped to 0…10; not finite counts as 0).
    void copyToPasteboard(const ClipEntry& entry, double resetAfter);
    // The same for plain text only (trimmed).
    void copyText(const QString& text, double resetAfter);
    // Removes the entries with this id and posts historyChangedNotification, even when none did.
    void removeEntry(const QUuid& id);

    // "txt:" + trimmed text, or "img:" + SHA-256 of the image (64 lower-case hex digits) +
    // "|txt:" + trimmed text. Equal keys mean equal content.
    static QString contentKey(const ClipEntry& entry);

    bool isInternalCopy() const { return m_isInternalCopy; }
    // Whether a capture is still waiting for the program that copied or converting an image.
    bool hasPendingCapture() const { return m_awaitedChange || !m_captures.empty(); }

signals:
    void itemsChanged();

private:
    struct Capture {
        qint64 changeCount;
        QString text;
        QStringList imageTypes; // still to try, in order
        QString sourceApp;
        QDateTime createdAt;
    };
    struct Image {
        QByteArray png;
        QString type;
        QString digest;
    };

    void captureContents(qint64 changeCount);
    void pruneExpired();
    void scheduleExpiry();
    QList<ClipEntry> applyRetention(QList<ClipEntry> entries) const;
    QStringList imageCandidates(const QStringList& types) const;
    void continueCapture();
    void imageConverted(std::optional<Image> image);
    void finishCapture(std::optional<Image> image);
    void addEntry(const Capture& capture, std::optional<Image> image);
    QString imageDigest(const ClipEntry& entry);
    bool sameContent(const ClipEntry& a, const ClipEntry& b);
    void writeOwnContents(const PasteboardContents& contents, double resetAfter);
    void publish(QList<ClipEntry> items, bool notify);

    Pasteboard& m_pasteboard;
    SourceAppName m_sourceAppName;
    QList<ClipEntry> m_items;
    bool m_started = false;
    QTimer m_expiry; // fires when the oldest clip leaves the retention period
    qint64 m_lastChangeCount;
    bool m_isInternalCopy = false;
    std::optional<qint64> m_awaitedChange; // whose program is asked whether it answers at all
    std::deque<Capture> m_captures; // the front one is in progress
    QHash<QUuid, QString> m_digests; // image digests by entry id: entries never change
    SerialQueue m_converter {QStringLiteral("clipboard-images")}; // last: drained first
};

} // namespace norvelle
