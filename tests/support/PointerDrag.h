#pragma once

#include <QPoint>
#include <QRect>
#include <QStringList>

#include <functional>

class QWidget;

namespace norvelle::test {

// Runs xdotool with `arguments`; returns whether it succeeded.
bool xdotool(const QStringList& arguments);
// Runs xdotool with `arguments` while this process's event loop keeps running; returns what it
// printed, trimmed.
QString xdotoolOutput(const QStringList& arguments);

// Moves the real pointer to `to` and waits until the X server has it there.
void movePointer(QPoint to);
// Clicks the left button at `point` on the screen, or at the middle of `widget`.
void clickAt(QPoint point);
void clickOn(const QWidget* widget);

// Presses and releases at once at `at`, then clicks at `elsewhere`: a window move begun only
// after the first release would carry the window to the second click.
void quickClickThenClickElsewhere(QPoint at, QPoint elsewhere);

// Where the X server has the window and how big: the window manager tells the program only
// once a move or resize ends.
QRect serverGeometry(const QWidget* window);
QPoint serverPosition(const QWidget* window);
// The same with the window manager's title bar and borders; empty until it has framed the window.
QRect serverFrame(const QWidget* window);
// Waits until the window manager has framed `window` and the X server has it where the program
// last put it, so that points mapped to the screen land on it; false when that never comes.
bool waitUntilPlaced(const QWidget* window);

// Presses the left button at `where()` until `target`'s window has the press; a pointer that a
// window manager still settling in leaves elsewhere gets another try.
bool pressOn(QWidget* target, const std::function<QPoint()>& where);

// Drags with the real pointer from `where()` by `offset` and lets go once `arrived()` holds or
// the tries run out; returns whether it held. The window manager follows the pointer only from
// when it has taken the move request, so the pointer is nudged at the end until it has.
bool drag(QWidget* pressed, const std::function<QPoint()>& where, QPoint offset, const std::function<bool()>& arrived);

} // namespace norvelle::test
