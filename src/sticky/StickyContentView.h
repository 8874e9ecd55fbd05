#pragma once

#include "ui/ColorScheme.h"

#include <QColor>
#include <QPainterPath>
#include <QWidget>

#include <optional>

class QVBoxLayout;

namespace norvelle {

class StickyHeaderBar;
class StickyState;
class PaperTextureView;

// Everything inside a sticky window: the paper (colour at the note's opacity, texture, rounded
// corners and border) under a column of the header bar (36 points), the editor (the rest) and
// the toolbar's place (52 points). All of its look is read from the window's StickyState, so a
// change there redraws it at once. It only reports what the user does.
class StickyContentView : public QWidget {
    Q_OBJECT
public:
    static constexpr int toolbarHeight = 52;
    static constexpr double cornerRadius = 16.0;

    StickyContentView(const StickyState& state, QWidget* editor, QWidget* parent = nullptr);

    StickyHeaderBar& headerBar() const { return *m_header; }
    QWidget* editor() const { return m_editor; }
    // Puts the toolbar into the 52-point place at the foot.
    void setToolbar(QWidget* toolbar);
    QWidget* toolbar() const { return m_toolbar; }
    // Without a compositor nothing behind the window can show: the paper is drawn opaque, and
    // the text and the icons take the colours that opaque paper asks for.
    void setTranslucent(bool translucent);
    // The note's opacity where the paper is drawn see-through, else 1: what decides whether
    // the paper counts as dark.
    double shownOpacity() const;

    ColorScheme colorScheme() const;
    // The theme's paper while the note follows it, else its own.
    QString effectivePaperHex() const;
    // Whether the paper shown counts as dark (never below 0.35 opacity).
    bool isPaperDark() const;
    // None where the desktop's own text colour applies (a very transparent note).
    std::optional<QColor> editorTextColor() const;

    static double paperFillOpacity(double opacity);
    static double textureOpacity(double opacity);
    static std::optional<QColor> editorTextColor(double opacity, bool paperDark);
    // The border's colour and width; a transparent colour when there is none to see.
    static QColor borderColor(bool pinned, double opacity, const QColor& primary);
    static double borderWidth(bool pinned) { return pinned ? 1.5 : 1.0; }

signals:
    // The paper, its darkness or the text colour may have changed.
    void appearanceChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void refresh();
    QPainterPath paperPath() const;

    const StickyState& m_state;
    StickyHeaderBar* m_header;
    QWidget* m_editor;
    QWidget* m_toolbarPlace;
    QWidget* m_toolbar = nullptr;
    PaperTextureView* m_texture;
    QWidget* m_border;
    bool m_translucent = true;
};

} // namespace norvelle
