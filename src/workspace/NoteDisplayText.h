#pragma once

#include <QString>

#include <functional>

namespace norvelle {

class StickyNote;

// The words every workspace view shows for a note: the name it is listed, sorted and shared
// under, and the one line of body text below that name. Lines of the plain text end at a line
// feed, so a CR LF line end ends a line too (the CR is trimmed with the line).

// The trimmed title; else the trimmed first line of the plain text; else "Empty note". Cut as
// NoteTitle::shown cuts names.
QString displayTitle(const QString& title, const QString& plainText);
QString displayTitle(const StickyNote& note);

// The first non-empty trimmed line of the text that does not repeat the title, cut to 400
// user-perceived characters; empty when there is none.
QString previewLine(const QString& title, const QString& plainText);
// The same, reading no more of the text than it needs: `leadingText(length)` gives the start of
// the text as ManagedObject::leadingText does.
QString previewLine(const QString& title, const std::function<QString(qsizetype length)>& leadingText);
QString previewLine(const StickyNote& note);

} // namespace norvelle
