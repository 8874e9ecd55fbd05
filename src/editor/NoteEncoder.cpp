#include "editor/NoteEncoder.h"

#include "editor/ChecklistMarkerAttachment.h"
#include "editor/EditorColors.h"
#include "editor/EditorFonts.h"
#include "editor/TableEditing.h"
#include "editor/TextStorage.h"
#include "platform/HugePages.h"
#include "rtf/ParagraphContinuation.h"
#include "rtf/RtfDocumentCapture.h"
#include "rtf/RtfWriter.h"

#include <QHash>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>

#include <algorithm>
#include <span>
#include <unordered_map>
#include <utility>

namespace norvelle {

size_t qHash(const RtfCharacterStyle& style, size_t seed)
{
    return qHashMulti(seed, int(style.fontKind), style.family, style.halfPoints, style.weight, style.italic, style.underline,
        style.strikethrough, style.foreground.value_or(0), style.foreground.has_value(), style.background.value_or(0),
        style.background.has_value());
}

namespace {

enum class ObjectKind { Image,
    OpenBox,
    TickedBox,
    Other };

struct ObjectFragment {
    ObjectKind kind;
    int position; // in the text read with it
    int length;
};

// The characters of a stretch of blocks as the note's plain text has them before its boxes
// become tokens (every block separator a line break, none after the document's last block),
// and the fragments of the blocks that hold an object character. Each format is classified once.
class TextReader {
public:
    explicit TextReader(const QTextDocument& document)
        : m_document(document)
    {
    }

    void read(int start, int end, QString& text, std::vector<ObjectFragment>& objects)
    {
        const int last = m_document.characterCount() - 1;
        QTextBlock block = m_document.findBlock(start);
        // Blocks follow each other without a gap, table cells and frame edges included.
        for (int next = block.position(); block.isValid() && next < end; block = block.next()) {
            next += block.length();
            const int offset = int(text.size());
            const QString blockText = block.text();
            text += blockText;
            // A long paragraph shown in pieces reads as one.
            if (next - 1 < last && !ParagraphContinuation::continues(block.next()))
                text += u'\n';
            if (!blockText.contains(QChar::ObjectReplacementCharacter))
                continue;
            int position = offset;
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                objects.push_back({kind(fragment), position, fragment.length()});
                position += fragment.length();
            }
        }
        for (QChar& c : text) {
            if (TextStorage::isSeparator(c))
                c = u'\n';
        }
    }

private:
    ObjectKind kind(const QTextFragment& fragment)
    {
        const auto [found, added] = m_kinds.try_emplace(fragment.charFormatIndex(), ObjectKind::Other);
        if (added) {
            const QTextCharFormat format = fragment.charFormat();
            if (format.isImageFormat())
                found->second = ObjectKind::Image;
            else if (ChecklistMarkerAttachment::isMarker(format))
                found->second = ChecklistMarkerAttachment::isChecked(format) ? ObjectKind::TickedBox : ObjectKind::OpenBox;
        }
        return found->second;
    }

    const QTextDocument& m_document;
    std::unordered_map<int, ObjectKind> m_kinds;
};

bool isBox(ObjectKind kind)
{
    return kind == ObjectKind::OpenBox || kind == ObjectKind::TickedBox;
}

// Every object character the writer will see, in text order: a box (ticked or not), or none
// for any other U+FFFC. Images are left out, as the writer leaves them out.
std::vector<std::optional<bool>> objectCharacters(const std::vector<ObjectFragment>& fragments, QStringView text)
{
    std::vector<std::optional<bool>> objects;
    for (const ObjectFragment& fragment : fragments) {
        if (isBox(fragment.kind)) {
            objects.insert(objects.end(), size_t(fragment.length), fragment.kind == ObjectKind::TickedBox);
        } else if (fragment.kind == ObjectKind::Other) {
            for (qsizetype n = text.mid(fragment.position, fragment.length).count(QChar::ObjectReplacementCharacter); n > 0; --n)
                objects.emplace_back(std::nullopt);
        }
    }
    return objects;
}

// In captured text, each box (with the space after it) becomes its token in the box's own
// attributes.
class MarkerText {
public:
    explicit MarkerText(const std::vector<std::optional<bool>>& objects)
        : m_objects(objects)
    {
    }

    void paragraph(RtfParagraph& paragraph)
    {
        bool dropSpace = false;
        for (RtfRun& run : paragraph.runs) {
            if (!dropSpace && !run.text.contains(QChar::ObjectReplacementCharacter))
                continue;
            QString text;
            text.reserve(run.text.size() + 4);
            for (const QChar c : std::as_const(run.text)) {
                if (std::exchange(dropSpace, false) && c == u' ')
                    continue;
                if (c == QChar::ObjectReplacementCharacter && m_next < m_objects.size()) {
                    if (const std::optional<bool> checked = m_objects[m_next++]) {
                        // The token brings its own space; the one after the box goes.
                        text += *checked ? ChecklistMarkerAttachment::checkedToken : ChecklistMarkerAttachment::uncheckedToken;
                        dropSpace = true;
                        continue;
                    }
                }
                text += c;
            }
            run.text = std::move(text);
        }
    }

private:
    const std::vector<std::optional<bool>>& m_objects;
    size_t m_next = 0;
};

// Every paragraph of the items in text order, table cells included.
template <typename Visit>
void forEachParagraph(std::vector<RtfDocumentModel::Item>& items, const Visit& visit)
{
    for (auto& item : items) {
        if (auto* paragraph = std::get_if<RtfParagraph>(&item)) {
            visit(*paragraph);
            continue;
        }
        for (auto& row : std::get<RtfTable>(item).rows) {
            for (RtfCell& cell : row) {
                for (RtfParagraph& paragraph : cell.paragraphs)
                    visit(paragraph);
            }
        }
    }
}

void defaultColorToNone(std::vector<RtfDocumentModel::Item>& items, const QColor& color)
{
    const auto clear = [&color](RtfCharacterStyle& style) {
        if (style.foreground && EditorColors::colorsMatch(QColor::fromRgba(*style.foreground), color))
            style.foreground.reset();
    };
    forEachParagraph(items, [&clear](RtfParagraph& paragraph) {
        clear(paragraph.markStyle);
        for (RtfRun& run : paragraph.runs)
            clear(run.style);
    });
}

// The plain text of `shown`: every box, with the space after it, as its token.
QString withTokens(const QString& shown, const std::vector<ObjectFragment>& fragments)
{
    if (std::none_of(fragments.begin(), fragments.end(), [](const ObjectFragment& f) { return isBox(f.kind); }))
        return shown;
    QString plain;
    plain.reserve(shown.size() + 8);
    qsizetype from = 0;
    for (const ObjectFragment& fragment : fragments) {
        if (!isBox(fragment.kind))
            continue;
        const bool checked = fragment.kind == ObjectKind::TickedBox;
        for (int box = fragment.position; box < fragment.position + fragment.length; ++box) {
            if (box < from)
                continue;
            plain += QStringView(shown).mid(from, box - from);
            plain += checked ? ChecklistMarkerAttachment::checkedToken : ChecklistMarkerAttachment::uncheckedToken;
            from = box + 1;
            // The token brings its own space.
            if (from < shown.size() && shown[from] == u' ')
                ++from;
        }
    }
    plain += QStringView(shown).mid(from);
    return plain;
}

// The plain text of a stretch read with its fragments.
QString plainTextFrom(const QString& shown, const std::vector<ObjectFragment>& fragments)
{
    return TableEditing::withoutSeeds(withTokens(shown, fragments));
}

// Whether `block` starts a part of its own when the paragraph it is in is written in parts:
// where a paragraph starts, or where it was cut for display after a piece that has text and
// does not end in an object, so that no part but a last one is without text and no box is
// parted from the space after it.
bool startsPart(const QTextBlock& block)
{
    if (!ParagraphContinuation::continues(block))
        return true;
    const QTextBlock before = block.previous();
    return before.length() > 1
        && block.document()->characterAt(before.position() + before.length() - 2) != QChar::ObjectReplacementCharacter;
}

template <typename List>
bool startsLike(const List& list, const List& earlier, qsizetype count)
{
    return list.size() == count && std::equal(list.begin(), list.end(), earlier.begin());
}

// The items' boxes as tokens, without the table placeholders, and their default colour as
// none, as the body stores them.
void prepareItems(std::vector<RtfDocumentModel::Item>& items, const std::vector<ObjectFragment>& fragments, QStringView shown,
    const std::optional<QColor>& defaultTextColor)
{
    if (shown.contains(TableEditing::seed)) {
        forEachParagraph(items, [](RtfParagraph& paragraph) {
            for (RtfRun& run : paragraph.runs)
                run.text = TableEditing::withoutSeeds(std::move(run.text));
        });
    }
    const std::vector<std::optional<bool>> objects = objectCharacters(fragments, shown);
    if (std::any_of(objects.begin(), objects.end(), [](const std::optional<bool>& object) { return object.has_value(); })) {
        MarkerText markers(objects);
        forEachParagraph(items, [&markers](RtfParagraph& paragraph) { markers.paragraph(paragraph); });
    }
    if (defaultTextColor)
        defaultColorToNone(items, *defaultTextColor);
}

} // namespace

NoteEncoder::NoteEncoder() = default;
NoteEncoder::~NoteEncoder() = default;

void NoteEncoder::forget(int length)
{
    m_pieces.assign(1, Piece {.length = length});
    m_styles.clear();
    m_styleIndexes.clear();
}

void NoteEncoder::textChanged(const QTextDocument& document, int position, int removed, int)
{
    const int count = document.characterCount();
    int total = 0;
    for (const Piece& piece : m_pieces)
        total += piece.length;
    if (m_pieces.empty() || total <= 0) {
        forget(count);
        return;
    }
    // The pieces either side change too: a paragraph takes its mark's format from the
    // separator before it, and a table cell keeps its format there.
    const int first = std::clamp(position - 1, 0, total - 1);
    const int last = std::clamp(position + removed, first, total - 1);
    size_t from = 0;
    int start = 0;
    while (start + m_pieces[from].length <= first)
        start += m_pieces[from++].length;
    size_t to = from;
    int end = start + m_pieces[to].length;
    while (end <= last)
        end += m_pieces[++to].length;
    Piece merged = m_pieces[to];
    merged.changed = true;
    merged.length = end - start + count - total;
    merged.bytes = 0;
    merged.characters = 0;
    for (size_t i = from; i <= to; ++i) {
        merged.bytes += m_pieces[i].bytes;
        merged.characters += m_pieces[i].characters;
    }
    if (merged.length < 0) {
        forget(count);
        return;
    }
    m_pieces[from] = merged;
    m_pieces.erase(m_pieces.begin() + qsizetype(from) + 1, m_pieces.begin() + qsizetype(to) + 1);
}

int NoteEncoder::styleIndex(const RtfCharacterStyle& style)
{
    if (const auto found = m_styleIndexes.constFind(style); found != m_styleIndexes.cend())
        return *found;
    m_styleIndexes.insert(style, int(m_styles.size()));
    m_styles.push_back(style);
    return int(m_styles.size()) - 1;
}

EncodedNote NoteEncoder::encodeWhole(const QTextDocument& document, std::optional<qreal> unsizedPointSize,
    const std::optional<QColor>& defaultTextColor)
{
    forget(document.characterCount());
    QString shown;
    std::vector<ObjectFragment> fragments;
    TextReader(document).read(0, document.characterCount(), shown, fragments);
    RtfDocumentModel model = RtfDocumentCapture::capture(document, unsizedPointSize);
    prepareItems(model.items, fragments, shown, defaultTextColor);
    return {RtfWriter::write(model), plainTextFrom(shown, fragments)};
}

QString NoteEncoder::plainText(const QTextDocument& document)
{
    QString shown;
    std::vector<ObjectFragment> fragments;
    TextReader(document).read(0, document.characterCount(), shown, fragments);
    return plainTextFrom(shown, fragments);
}

EncodedNote NoteEncoder::encode(const QTextDocument& document, const std::optional<QColor>& defaultTextColor)
{
    const int count = document.characterCount();
    // Text typed in the editor's own font has no size of its own: it keeps the size it shows at.
    const std::optional<qreal> unsizedPointSize = EditorFonts::size(document.defaultFont());
    int total = 0;
    for (const Piece& piece : m_pieces)
        total += piece.length;
    // Old bytes are only worth keeping while the styles they were written with are few.
    if (total != count || m_unsizedPointSize != unsizedPointSize || m_defaultTextColor != defaultTextColor
        || m_styles.size() > m_pieces.size() + 1024)
        forget(count);
    m_unsizedPointSize = unsizedPointSize;
    m_defaultTextColor = defaultTextColor;
    if (count <= 1) {
        m_writer.reset();
        m_plainText.clear();
        return {std::nullopt, QString()};
    }

    static const QStringList noFonts;
    static const QList<QRgb> noColors;
    const std::string_view oldBody = m_writer ? std::string_view(m_writer->body()) : std::string_view();
    const QStringList& oldFonts = m_writer ? m_writer->fonts() : noFonts;
    const QList<QRgb>& oldColors = m_writer ? m_writer->colors() : noColors;

    // Room for what a text of letters takes, so a large one is not copied as it grows.
    auto writer = std::make_unique<RtfItemWriter>();
    writer->reserve(std::max(oldBody.size(), size_t(count)) + size_t(count / 8) + 256);
    QString plainText;
    plainText.reserve(std::max(m_plainText.size(), qsizetype(count)) + 64);
    preferHugePages(plainText.data(), size_t(plainText.capacity()) * sizeof(QChar));
    std::vector<Piece> pieces;
    pieces.reserve(m_pieces.size() + 8);
    RtfDocumentCapture capture(unsizedPointSize);
    TextReader reader(document);

    // Where the pieces of the last encoding start and where its bytes and text for them are.
    size_t next = 0;
    int oldPosition = 0;
    qsizetype oldBytes = 0;
    qsizetype oldCharacters = 0;
    // A run of pieces whose bytes and text are copied as they are.
    const Piece* runEnd = nullptr;
    qsizetype runBytes = 0;
    qsizetype runCharacters = 0;
    const auto copyRun = [&] {
        if (!runEnd)
            return;
        const qsizetype fonts = writer->fonts().size();
        const qsizetype colors = writer->colors().size();
        writer->append(oldBody.substr(size_t(runBytes), size_t(oldBytes - runBytes)), m_styles[size_t(runEnd->style)],
            runEnd->afterWord, std::span(oldFonts.begin() + fonts, oldFonts.begin() + runEnd->fonts),
            std::span(oldColors.begin() + colors, oldColors.begin() + runEnd->colors));
        plainText += QStringView(m_plainText).mid(runCharacters, oldCharacters - runCharacters);
        runEnd = nullptr;
    };
    // Whether writing from here on starts where the last encoding did.
    bool inStep = true;
    int position = 0;
    while (position < count) {
        if (inStep && next < m_pieces.size() && oldPosition == position && !m_pieces[next].changed) {
            const Piece& piece = m_pieces[next++];
            if (!runEnd) {
                runBytes = oldBytes;
                runCharacters = oldCharacters;
            }
            runEnd = &piece;
            pieces.push_back(piece);
            position += piece.length;
            oldPosition += piece.length;
            oldBytes += piece.bytes;
            oldCharacters += piece.characters;
            continue;
        }
        copyRun();

        // One frame of the top level, or a paragraph or part of one.
        std::vector<RtfDocumentModel::Item> items;
        const QTextBlock block = document.findBlock(position);
        QTextFrame* frame = document.frameAt(position);
        int end = 0;
        std::optional<std::pair<bool, bool>> opensCloses;
        if (frame && frame != document.rootFrame()) {
            while (frame->parentFrame() && frame->parentFrame() != document.rootFrame())
                frame = frame->parentFrame();
            if (frame->firstPosition() != position)
                break;
            capture.captureFrame(*frame, items);
            end = frame->lastPosition() + 1;
        } else {
            if (block.position() != position)
                break;
            QTextBlock last = block;
            capture.captureBlock(block, items);
            for (QTextBlock next = block.next(); next.isValid() && !startsPart(next); next = next.next())
                capture.captureBlock(last = next, items);
            end = last.position() + last.length();
            opensCloses = {!ParagraphContinuation::continues(block), !ParagraphContinuation::continues(last.next())};
        }
        QString shown;
        std::vector<ObjectFragment> fragments;
        reader.read(position, end, shown, fragments);
        prepareItems(items, fragments, shown, defaultTextColor);
        const qsizetype bytesBefore = qsizetype(writer->body().size());
        if (opensCloses) {
            writer->writePart(std::get<RtfParagraph>(items.front()), opensCloses->first, opensCloses->second);
        } else {
            for (const RtfDocumentModel::Item& item : items)
                writer->write(item);
        }
        const QString piece = plainTextFrom(shown, fragments);
        plainText += piece;
        pieces.push_back({.length = end - position,
            .changed = false,
            .bytes = qsizetype(writer->body().size()) - bytesBefore,
            .characters = piece.size(),
            .style = styleIndex(writer->style()),
            .afterWord = writer->afterWord(),
            .fonts = writer->fonts().size(),
            .colors = writer->colors().size()});
        position = end;

        const Piece* covered = nullptr;
        while (next < m_pieces.size() && oldPosition + m_pieces[next].length <= position) {
            covered = &m_pieces[next++];
            oldPosition += covered->length;
            oldBytes += covered->bytes;
            oldCharacters += covered->characters;
        }
        inStep = covered && oldPosition == position && covered->style >= 0 && writer->style() == m_styles[size_t(covered->style)]
            && writer->afterWord() == covered->afterWord && startsLike(writer->fonts(), oldFonts, covered->fonts) && startsLike(writer->colors(), oldColors, covered->colors);
    }
    if (position < count) {
        // The pieces no longer start where the text's paragraphs do: everything is written anew.
        if (std::exchange(m_retrying, true))
            return encodeWhole(document, unsizedPointSize, defaultTextColor);
        forget(count);
        EncodedNote note = encode(document, defaultTextColor);
        m_retrying = false;
        return note;
    }
    copyRun();
    m_pieces = std::move(pieces);
    m_writer = std::move(writer);
    m_plainText = std::move(plainText);
    return {m_writer->document(), m_plainText};
}

} // namespace norvelle
