#pragma once

class QWidget;

namespace norvelle::test {

// The grid of basic colour cells in a colour dialog (Qt gives it no name), or null.
QWidget* colorWells(const QWidget* dialog);

} // namespace norvelle::test
