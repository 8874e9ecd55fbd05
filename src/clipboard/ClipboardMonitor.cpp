#include "clipboard/ClipboardMonitor.h"

#include "clipboard/ClipboardImageConverter.h"
#include "clipboard/ClipboardRetentionMode.h"
#include "platform/Crypto.h"
#include "platform/MainQueue.h"
#include "platform/NotificationCenter.h"
#include "platform/Pasteboard.h"
#include "platform/RunningApplication.h"
#include "platform/StoredSettings.h"
#include "platform/SystemLog.h"
#include "platform/UserDefaults.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cmath>

namespace norvelle {

namespace {

// Image types tried beyond PNG and TIFF: each try may be a slow request to the owner, and a
// list of hundreds of types must not stall a tick.
constexpr int maxOtherImageTypes = 8;
// A read that came back empty after this long was left unanswered by the owner, which will
// not answer the next type either.
constexpr qint64 unansweredReadMs = 1000;
constexpr double maxResetDelay = 10.0;
// The expiry timer runs on a clock that stops while the machine sleeps: after a suspend (or a
// change of the wall clock) expired clips go within this long.
constexpr qint64 maxExpiryWaitMs = 60'000;

const SystemLog& log()
{
    static const SystemLog logger("clipboard");
    return logger;
}

QString frontmostApplicationName()
{
    const auto app = RunningApplication::frontmost();
    return app ? app->localizedName() : QString {};
}

} // namespace

ClipboardMonitor::ClipboardMonitor(QObject* parent)
    : ClipboardMonitor(Pasteboard::general(), frontmostApplicationName, parent)
{
}

ClipboardMonitor::ClipboardMonitor(Pasteboard& pasteboard, SourceAppName sourceAppName, QObject* parent)
    : QObject(parent)
    , m_pasteboard(pasteboard)
    , m_sourceAppName(std::move(sourceAppName))
    , m_lastChangeCount(pasteboard.changeCount())
{
    m_expiry.setSingleShot(true);
    m_expiry.setTimerType(Qt::PreciseTimer);
    connect(&m_expiry, &QTimer::timeout, this, &ClipboardMonitor::pruneExpired);
}

ClipboardMonitor::~ClipboardMonitor() = default;

void ClipboardMonitor::setItems(QList<ClipEntry> items)
{
    publish(std::move(items), false);
}

// A change is taken on a later turn of the event loop, as a timer tick would, so a burst of
// changes costs one read and our own writes are never read back from inside the write.
void ClipboardMonitor::start()
{
    if (m_started)
        return;
    m_started = true;
    connect(&m_pasteboard, &Pasteboard::changed, this, &ClipboardMonitor::poll, Qt::QueuedConnection);
    connect(&UserDefaults::standard(), &UserDefaults::changed, this, [this](const QString& key) {
        if (key == storedSettings::clipboardRetentionMode.key)
            pruneExpired();
    });
    // What changed since the monitor was made is taken now.
    MainQueue::async([this] { poll(); }, this);
    scheduleExpiry();
}

void ClipboardMonitor::poll()
{
    pruneExpired();
    const qint64 changeCount = m_pasteboard.changeCount();
    if (changeCount == m_lastChangeCount) {
        return;
    }
    m_lastChangeCount = changeCount;
    if (m_isInternalCopy) {
        return;
    }
    m_awaitedChange = changeCount;
    m_pasteboard.whenOwnerAnswers(this, [this, changeCount](bool answered) {
        if (m_awaitedChange == changeCount) {
            m_awaitedChange.reset();
        }
        // A later change has its own question on the way.
        if (m_pasteboard.changeCount() != changeCount) {
            return;
        }
        if (!answered) {
            log().notice("The program holding the clipboard did not answer; what it copied is not kept");
            return;
        }
        captureContents(changeCount);
    });
}

void ClipboardMonitor::captureContents(qint64 changeCount)
{
    Capture capture {
        changeCount,
        m_pasteboard.string().trimmed(),
        imageCandidates(m_pasteboard.types()),
        {},
        QDateTime::currentDateTimeUtc(),
    };
    if (capture.text.isEmpty() && capture.imageTypes.isEmpty()) {
        return;
    }
    const QString name = m_sourceAppName ? m_sourceAppName() : QString {};
    capture.sourceApp = name.isEmpty() ? QStringLiteral("Unknown") : name;
    const bool idle = m_captures.empty();
    m_captures.push_back(std::move(capture));
    if (idle) {
        continueCapture();
    }
}

QStringList ClipboardMonitor::imageCandidates(const QStringList& types) const
{
    QStringList candidates;
    for (const QString& preferred : {PasteboardType::png, PasteboardType::tiff}) {
        if (types.contains(preferred)) {
            candidates << preferred;
        }
    }
    int others = 0;
    for (const QString& type : types) {
        if (others == maxOtherImageTypes) {
            break;
        }
        if (PasteboardType::isImage(type) && !candidates.contains(type)) {
            candidates << type;
            ++others;
        }
    }
    return candidates;
}

// Works through the queued captures in order. The image of the front capture is read only while
// the pasteboard still holds what that capture saw; its conversion runs on the converter thread.
void ClipboardMonitor::continueCapture()
{
    while (!m_captures.empty()) {
        Capture& capture = m_captures.front();
        while (!capture.imageTypes.isEmpty()) {
            if (m_pasteboard.changeCount() != capture.changeCount) {
                capture.imageTypes.clear();
                break;
            }
            const QString type = capture.imageTypes.takeFirst();
            QElapsedTimer reading;
            reading.start();
            const QByteArray bytes = m_pasteboard.data(type);
            if (bytes.isEmpty()) {
                if (reading.elapsed() >= unansweredReadMs) {
                    capture.imageTypes.clear();
                }
                continue;
            }
            m_converter.async([this, bytes, type] {
                std::optional<Image> image;
                if (auto png = ClipboardImageConverter::toPng(bytes, type)) {
                    image = Image {*png, type, Crypto::sha256Hex(*png)};
                }
                MainQueue::async([this, image = std::move(image)] { imageConverted(image); }, this);
            });
            return;
        }
        finishCapture(std::nullopt);
    }
}

void ClipboardMonitor::imageConverted(std::optional<Image> image)
{
    if (image) {
        finishCapture(std::move(image));
    }
    continueCapture();
}

void ClipboardMonitor::finishCapture(std::optional<Image> image)
{
    const Capture capture = std::move(m_captures.front());
    m_captures.pop_front();
    addEntry(capture, std::move(image));
}

void ClipboardMonitor::addEntry(const Capture& capture, std::optional<Image> image)
{
    ClipEntry entry {QUuid::createUuid(), capture.text, std::nullopt, std::nullopt, capture.sourceApp,
        capture.createdAt};
    if (image) {
        entry.imageData = image->png;
        entry.imagePasteboardType = image->type;
        m_digests.insert(entry.id, image->digest);
    }
    if (entry.text.trimmed().isEmpty() && !entry.hasImage()) {
        return;
    }
    QList<ClipEntry> next;
    next.reserve(m_items.size() + 1);
    next << entry;
    for (const ClipEntry& old : std::as_const(m_items)) {
        if (!sameContent(old, entry)) {
            next << old;
        }
    }
    publish(applyRetention(std::move(next)), true);
}

QString ClipboardMonitor::contentKey(const ClipEntry& entry)
{
    const QString text = entry.text.trimmed();
    if (!entry.hasImage()) {
        return QStringLiteral("txt:") + text;
    }
    return QStringLiteral("img:") + Crypto::sha256Hex(*entry.imageData) + QStringLiteral("|txt:") + text;
}

// The same verdict as comparing contentKey()s, without building a key (and a text copy) per
// entry or hashing every stored image again.
bool ClipboardMonitor::sameContent(const ClipEntry& a, const ClipEntry& b)
{
    return a.hasImage() == b.hasImage() && a.text.trimmed() == b.text.trimmed()
        && (!a.hasImage() || imageDigest(a) == imageDigest(b));
}

QString ClipboardMonitor::imageDigest(const ClipEntry& entry)
{
    auto cached = m_digests.constFind(entry.id);
    if (cached != m_digests.constEnd()) {
        return *cached;
    }
    const QString digest = Crypto::sha256Hex(entry.imageData.value_or(QByteArray {}));
    m_digests.insert(entry.id, digest);
    return digest;
}

void ClipboardMonitor::pruneExpired()
{
    QList<ClipEntry> kept = applyRetention(m_items);
    if (kept.size() != m_items.size()) {
        publish(std::move(kept), true);
    } else {
        scheduleExpiry();
    }
}

// Clips are kept while created at or after the cut-off: the timer fires just past the oldest
// one's last moment.
void ClipboardMonitor::scheduleExpiry()
{
    const auto seconds = ClipboardRetentionMode::current().keepSeconds();
    if (!m_started || !seconds || m_items.isEmpty()) {
        m_expiry.stop();
        return;
    }
    const auto oldest = std::min_element(m_items.cbegin(), m_items.cend(),
        [](const ClipEntry& a, const ClipEntry& b) { return a.createdAt < b.createdAt; });
    const qint64 due = QDateTime::currentDateTimeUtc().msecsTo(oldest->createdAt.addSecs(*seconds)) + 1;
    m_expiry.start(int(std::clamp<qint64>(due, 0, maxExpiryWaitMs)));
}

QList<ClipEntry> ClipboardMonitor::applyRetention(QList<ClipEntry> entries) const
{
    if (const auto seconds = ClipboardRetentionMode::current().keepSeconds()) {
        const QDateTime cutoff = QDateTime::currentDateTimeUtc().addSecs(-*seconds);
        const bool anyExpired = std::any_of(entries.cbegin(), entries.cend(),
            [&](const ClipEntry& entry) { return entry.createdAt < cutoff; });
        if (anyExpired) {
            entries.removeIf([&](const ClipEntry& entry) { return entry.createdAt < cutoff; });
        }
    }
    if (entries.size() > maxHistoryItems) {
        entries.resize(maxHistoryItems);
    }
    return entries;
}

void ClipboardMonitor::copyToPasteboard(const ClipEntry& entry, double resetAfter)
{
    PasteboardContents contents;
    if (entry.imageData && !entry.imageData->isEmpty()) {
        const QString type = entry.imagePasteboardType.value_or(PasteboardType::png);
        const auto tiff = type == PasteboardType::tiff ? ClipboardImageConverter::pngToTiff(*entry.imageData)
                                                       : std::nullopt;
        if (tiff) {
            contents.data.append({PasteboardType::tiff, *tiff});
        } else {
            contents.data.append({PasteboardType::png, *entry.imageData});
        }
    }
    contents.string = entry.text.trimmed();
    writeOwnContents(contents, resetAfter);
}

void ClipboardMonitor::copyText(const QString& text, double resetAfter)
{
    PasteboardContents contents;
    contents.string = text.trimmed();
    writeOwnContents(contents, resetAfter);
}

// Our own write: the change count it causes is taken as seen, and every change until the
// delay has passed (another program racing us included) is ignored. Each write schedules its
// own reset; the first to come clears the guard.
void ClipboardMonitor::writeOwnContents(const PasteboardContents& contents, double resetAfter)
{
    m_isInternalCopy = true;
    m_pasteboard.clearContents();
    if (!contents.isEmpty()) {
        m_pasteboard.write(contents);
    }
    m_lastChangeCount = m_pasteboard.changeCount();
    const double delay = std::isfinite(resetAfter) ? std::clamp(resetAfter, 0.0, maxResetDelay) : 0.0;
    MainQueue::asyncAfter(
        delay, [this] { m_isInternalCopy = false; }, this);
}

void ClipboardMonitor::removeEntry(const QUuid& id)
{
    QList<ClipEntry> kept = m_items;
    kept.removeIf([&](const ClipEntry& entry) { return entry.id == id; });
    publish(std::move(kept), true);
}

void ClipboardMonitor::publish(QList<ClipEntry> items, bool notify)
{
    m_items = std::move(items);
    for (auto it = m_digests.begin(); it != m_digests.end();) {
        const QUuid id = it.key();
        const bool present = std::any_of(m_items.cbegin(), m_items.cend(),
            [&](const ClipEntry& entry) { return entry.id == id; });
        it = present ? std::next(it) : m_digests.erase(it);
    }
    scheduleExpiry();
    emit itemsChanged();
    if (notify) {
        NotificationCenter::defaultCenter().post(historyChangedNotification);
    }
}

} // namespace norvelle
