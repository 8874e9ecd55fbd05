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

// Every object character the writer will see, in document order: a box (ticked or not), or
// none for any other U+FFFC. Images are left out, as the writer leaves them out.
std::vector<std::optional<bool>> objectCharacters(const QTextDocument& document, bool& anyBox)
{
    std::vector<std::optional<bool>> objects;
    anyBox = false;
    const QString text = document.toRawText();
    ObjectFragments(document, text).forEach([&](ObjectFragments::Kind kind, int, int length, QStringView fragmentText) {
        switch (kind) {
        case ObjectFragments::Kind::Image:
            break;
        case ObjectFragments::Kind::OpenBox:
        case ObjectFragments::Kind::TickedBox:
            anyBox = true;
            objects.insert(objects.end(), size_t(length), kind == ObjectFragments::Kind::TickedBox);
            break;
        case ObjectFragments::Kind::Other:
            for (qsizetype n = fragmentText.count(QChar::ObjectReplacementCharacter); n > 0; --n)
                objects.emplace_back(std::nullopt);
            break;
        }
    });
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

std::optional<QByteArray> encodeRichTextData(const QTextDocument& text, const std::optional<QColor>& defaultTextColor)
{
    if (text.characterCount() <= 1)
        return std::nullopt;
    bool anyBox = false;
    const std::vector<std::optional<bool>> objects = objectCharacters(text, anyBox);
    // Text typed in the editor's own font has no size of its own: it keeps the size it shows at.
    RtfDocumentModel model = RtfDocumentCapture::capture(text, EditorFonts::size(text.defaultFont()));
    if (anyBox)
        checklistMarkersToText(model, objects);
    if (defaultTextColor)
        defaultColorToNone(model, *defaultTextColor);
    return RtfWriter::write(model);
}

QString plainTextOf(QTextDocument& text)
{
    const QString shown = TextStorage(text).string();
    if (!shown.contains(QChar::ObjectReplacementCharacter))
        return shown;
    QString plain;
    plain.reserve(shown.size() + 8);
    qsizetype from = 0;
    ObjectFragments(text, shown).forEach([&](ObjectFragments::Kind kind, int position, int length, QStringView) {
        if (kind != ObjectFragments::Kind::OpenBox && kind != ObjectFragments::Kind::TickedBox)
            return;
        const bool checked = kind == ObjectFragments::Kind::TickedBox;
        for (int box = position; box < position + length; ++box) {
            if (box < from)
                continue;
            plain += QStringView(shown).mid(from, box - from);
            plain += checked ? ChecklistMarkerAttachment::checkedToken : ChecklistMarkerAttachment::uncheckedToken;
            from = box + 1;
            // The token brings its own space.
            if (from < shown.size() && shown[from] == u' ')
                ++from;
        }
    });
    plain += QStringView(shown).mid(from);
    return plain;
}

std::unique_ptr<QTextDocument> decodeRichTextData(QByteArrayView data)
{
    if (data.isEmpty())
        return nullptr;
    return RichTextCodec::readRtf(data);
}

} // namespace norvelle
