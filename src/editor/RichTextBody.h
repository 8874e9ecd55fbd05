#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QColor>
#include <QString>

#include <memory>
#include <optional>

class QTextDocument;

namespace norvelle {

// A note's rich body: an RTF document in which every checklist box stands as its text token
// ("○ " open, "● " ticked), so no drawn object is ever stored, and no table placeholder
// (U+200B) is: the editor puts back those it needs when it takes the text in.
//
//     std::optional<QByteArray> body = encodeRichTextData(editorDocument, textColor);  // none: empty text
//     std::unique_ptr<QTextDocument> text = decodeRichTextData(body);      // none: not RTF, no text
//
// Encoding never touches its argument (boxes stay boxes on screen). Text in the editor's
// default colour is stored with no colour: that colour follows the paper and the theme, so the
// body reads the same on any of them. Decoded text still holds the tokens; the editor turns
// them into boxes when it loads.
std::optional<QByteArray> encodeRichTextData(const QTextDocument& text,
    const std::optional<QColor>& defaultTextColor = std::nullopt);
std::unique_ptr<QTextDocument> decodeRichTextData(QByteArrayView data);

// The note's plain text of the editor's text: every drawn box (with the space after it) as its
// token, as the body stores it, so sync, search, previews and sharing read the checklist too;
// the zero-width placeholders of table cells and the lines beside tables left out.
QString plainTextOf(const QTextDocument& text);

} // namespace norvelle
