#pragma once

#include "ui/SchemeColors.h"

#include <QLabel>

namespace norvelle {

// A text in a view font and a colour of the current scheme.
class TextLabel : public QLabel {
public:
    TextLabel(const QString& text, const QFont& font, SchemeColorRole color, QWidget* parent = nullptr);

    // A title after its symbol, both in one colour (the label colour unless told), as headers
    // show them.
    static QWidget* withSymbol(const QString& symbol, const QString& title, const QFont& font, int spacing,
        QWidget* parent, const SchemeColorRole& color = &SchemeColors::label);

    // Keeps the text on one line, shrinking its font down to `minimumScale` of its size to fit
    // the width it is given.
    void setShrinkToFit(qreal minimumScale);

    // Keeps the text on one line, cut with an ellipsis to the width it is given; the whole text
    // stays in the tooltip. Set the text before.
    void setElided(Qt::TextElideMode mode);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitFont();
    void fitText();

    SchemeColorRole m_color;
    QFont m_font;
    qreal m_minimumScale = 1.0;
    Qt::TextElideMode m_elide = Qt::ElideNone;
    QString m_fullText;
};

} // namespace norvelle
