#pragma once

#include <QString>

namespace norvelle {

// The commands the toolbar pill and the format popup send to an editor, and the formatting
// state an editor sends back. A command is posted with the target editor (its `RichTextEditor*`)
// as the notification's object, so it reaches that editor only; a command posted without an
// object goes to the editor of the active window. The state is posted with the editor as object.
namespace EditorCommands {

inline const QString toggleBold = QStringLiteral("norvelle.editor.toggleBold");
inline const QString toggleItalic = QStringLiteral("norvelle.editor.toggleItalic");
inline const QString toggleUnderline = QStringLiteral("norvelle.editor.toggleUnderline");
inline const QString toggleStrikethrough = QStringLiteral("norvelle.editor.toggleStrikethrough");
inline const QString toggleHighlight = QStringLiteral("norvelle.editor.toggleHighlight");
inline const QString toggleQuote = QStringLiteral("norvelle.editor.toggleQuote");
inline const QString applyTitleStyle = QStringLiteral("norvelle.editor.applyTitleStyle");
inline const QString applyHeadingStyle = QStringLiteral("norvelle.editor.applyHeadingStyle");
inline const QString applySubheadingStyle = QStringLiteral("norvelle.editor.applySubheadingStyle");
inline const QString applyBodyStyle = QStringLiteral("norvelle.editor.applyBodyStyle");
inline const QString applyCaptionStyle = QStringLiteral("norvelle.editor.applyCaptionStyle");
inline const QString applyMonospacedStyle = QStringLiteral("norvelle.editor.applyMonospacedStyle");
// User info "size": integer points.
inline const QString setFontSize = QStringLiteral("norvelle.editor.setFontSize");
// User info "hex": "#RRGGBB".
inline const QString setTextColor = QStringLiteral("norvelle.editor.setTextColor");
inline const QString setHighlightColor = QStringLiteral("norvelle.editor.setHighlightColor");
// User info "alignment": "left", "center", "right" or "justify".
inline const QString setAlignment = QStringLiteral("norvelle.editor.setAlignment");
// User info "style": "none", "bullet", "dash" or "number".
inline const QString setListStyle = QStringLiteral("norvelle.editor.setListStyle");
inline const QString insertChecklist = QStringLiteral("norvelle.editor.insertChecklist");
inline const QString insertTable = QStringLiteral("norvelle.editor.insertTable");
// Asks for the formatting state now, for a popup that opens after the caret last moved.
inline const QString reportFormattingState = QStringLiteral("norvelle.editor.reportFormattingState");

// User info "bold", "italic", "underline", "strike", "isQuoted" (bool), "fontSize" (int),
// "textColorHex", "highlightHex" ("#RRGGBB"), "alignment", "listStyle" (text).
inline const QString formattingStateDidChange = QStringLiteral("norvelle.editor.formattingStateDidChange");

} // namespace EditorCommands

} // namespace norvelle
