#include "editor/RichTextBody.h"

#include "editor/ChecklistMarkerAttachment.h"
#include "editor/EditorColors.h"
#include "editor/EditorFonts.h"
#include "editor/TextStorage.h"
#include "rtf/RichTextCodec.h"
#include "rtf/RtfDocumentCapture.h"
#include "rtf/RtfWriter.h"

#include <QTextBlock>
#include <QTextDocument>

#include <unordered_map>
#include <utility>
#include <vector>

namespace norvelle {

namespace {

// The fragments of the blocks that hold an object character, each with its position and its
// text in `text` (the document's characters, position for position). Blocks without one, most
// of a large note, are passed over, and each format is classified once.
class ObjectFragments {
public:
    enum class Kind { Image, OpenBox, TickedBox, Other };

    ObjectFragments(const QTextDocument& document, QStringView text) : m_document(document), m_text(text) {}

    // visit(kind, position, length, text)
    template <typename Visit>
    void forEach(const Visit& visit)
    {
        // Blocks follow each other without a gap, table cells and frame edges included.
        int next = 0;
        for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
            const int length = block.length();
            int position = std::exchange(next, next + length);
            if (!m_text.mid(position, length - 1).contains(QChar::ObjectReplacementCharacter))
                continue;
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                const int size = fragment.length();
                visit(kind(fragment), position, size, m_text.mid(position, size));
                position += size;
            }
        }
    }

private:
    Kind kind(const QTextFragment& fragment)
    {
        const auto [found, added] = m_kinds.try_emplace(fragment.charFormatIndex(), Kind::Other);
        if (added) {
            const QTextCharFormat format = fragment.charFormat();
            if (format.isImageFormat())
                found->second = Kind::Image;
            else if (ChecklistMarkerAttachment::isMarker(format))
                found->second = ChecklistMarkerAttachment::isChecked(format) ? Kind::TickedBox : Kind::OpenBox;
        }
        return found->second;
    }

    const QTextDocument& m_document;
    QStringView m_text;
    std::unordered_map<int, Kind> m_kinds;
};

struct ObjectFragment {
    ObjectFragments::Kind kind;
    int position;
    int length;
};

// The document's object fragments in order; `text` holds its characters position for position.
std::vector<ObjectFragment> objectFragments(const QTextDocument& document, QStringView text)
{
    std::vector<ObjectFragment> fragments;
    if (!text.contains(QChar::ObjectReplacementCharacter))
        return fragments;
    ObjectFragments(document, text).forEach([&fragments](ObjectFragments::Kind kind, int position, int length, QStringView) {
        fragments.push_back({kind, position, length});
    });
    return fragments;
}

// Every object character the writer will see, in document order: a box (ticked or not), or
// none for any other U+FFFC. Images are left out, as the writer leaves them out.
std::vector<std::optional<bool>> objectCharacters(const std::vector<ObjectFragment>& fragments, QStringView text, bool& anyBox)
{
    std::vector<std::optional<bool>> objects;
    anyBox = false;
    for (const ObjectFragment& fragment : fragments) {
        switch (fragment.kind) {
        case ObjectFragments::Kind::Image:
            break;
        case ObjectFragments::Kind::OpenBox:
        case ObjectFragments::Kind::TickedBox:
            anyBox = true;
            objects.insert(objects.end(), size_t(fragment.length), fragment.kind == ObjectFragments::Kind::TickedBox);
            break;
        case ObjectFragments::Kind::Other:
            for (qsizetype n = text.mid(fragment.position, fragment.length).count(QChar::ObjectReplacementCharacter); n > 0; --n)
                objects.emplace_back(std::nullopt);
            break;
        }
    }
    return objects;
}

class MarkerText {
public:
    explicit MarkerText(const std::vector<std::optional<bool>>& objects) : m_objects(objects) {}

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

// Every paragraph of the model in text order, table cells included.
template <typename Visit>
void forEachParagraph(RtfDocumentModel& model, const Visit& visit)
{
    for (auto& item : model.items) {
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

void defaultColorToNone(RtfDocumentModel& model, const QColor& color)
{
    const auto clear = [&color](RtfCharacterStyle& style) {
        if (style.foreground && EditorColors::colorsMatch(QColor::fromRgba(*style.foreground), color))
            style.foreground.reset();
    };
    forEachParagraph(model, [&clear](RtfParagraph& paragraph) {
        clear(paragraph.markStyle);
        for (RtfRun& run : paragraph.runs)
            clear(run.style);
    });
}

} // namespace

void checklistMarkersToText(RtfDocumentModel& model, const std::vector<std::optional<bool>>& objects)
{
    MarkerText markers(objects);
    forEachParagraph(model, [&markers](RtfParagraph& paragraph) { markers.paragraph(paragraph); });
}

namespace {

std::optional<QByteArray> encode(const QTextDocument& text, const std::optional<QColor>& defaultTextColor,
    const std::vector<ObjectFragment>& fragments, QStringView characters)
{
    if (text.characterCount() <= 1)
        return std::nullopt;
    bool anyBox = false;
    const std::vector<std::optional<bool>> objects = objectCharacters(fragments, characters, anyBox);
    // Text typed in the editor's own font has no size of its own: it keeps the size it shows at.
    RtfDocumentModel model = RtfDocumentCapture::capture(text, EditorFonts::size(text.defaultFont()));
    if (anyBox)
        checklistMarkersToText(model, objects);
    if (defaultTextColor)
        defaultColorToNone(model, *defaultTextColor);
    return RtfWriter::write(model);
}

QString plainText(const QString& shown, const std::vector<ObjectFragment>& fragments)
{
    if (!shown.contains(QChar::ObjectReplacementCharacter))
        return shown;
    QString plain;
    plain.reserve(shown.size() + 8);
    qsizetype from = 0;
    for (const ObjectFragment& fragment : fragments) {
        if (fragment.kind != ObjectFragments::Kind::OpenBox && fragment.kind != ObjectFragments::Kind::TickedBox)
            continue;
        const bool checked = fragment.kind == ObjectFragments::Kind::TickedBox;
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

} // namespace

std::optional<QByteArray> encodeRichTextData(const QTextDocument& text, const std::optional<QColor>& defaultTextColor)
{
    const QString characters = text.toRawText();
    return encode(text, defaultTextColor, objectFragments(text, characters), characters);
}

QString plainTextOf(QTextDocument& text)
{
    const QString shown = TextStorage(text).string();
    return plainText(shown, objectFragments(text, shown));
}

EncodedNote encodeNote(QTextDocument& text, const std::optional<QColor>& defaultTextColor)
{
    const QString shown = TextStorage(text).string();
    const std::vector<ObjectFragment> fragments = objectFragments(text, shown);
    return {encode(text, defaultTextColor, fragments, shown), plainText(shown, fragments)};
}

std::unique_ptr<QTextDocument> decodeRichTextData(QByteArrayView data)
{
    if (data.isEmpty())
        return nullptr;
    return RichTextCodec::readRtf(data);
}

} // namespace norvelle
