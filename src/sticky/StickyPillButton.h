#pragma once

#include <QAbstractButton>
#include <QPainter>

namespace norvelle {

// A button of the sticky toolbar pill: "Aa", a drawn symbol, or the colour wheel with the
// paper's dot, in a fixed frame that is clickable all over. No bezel, no hover change.
class StickyPillButton : public QAbstractButton {
public:
    enum class Label { text,
        symbol,
        colorWheel };

    StickyPillButton(Label kind, const QString& label, qreal fontSize, QFont::Weight weight, QSize frame,
        QWidget* parent = nullptr);

    void setInk(const QColor& ink);
    QColor ink() const { return m_ink; }
    // The colour of the dot in the colour wheel.
    void setPaperHex(const QString& hex);

    QSize sizeHint() const override { return m_frame; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintColorWheel(QPainter& painter) const;

    Label m_kind;
    QString m_label;
    qreal m_fontSize;
    QFont::Weight m_weight;
    QSize m_frame;
    QColor m_ink;
    QString m_paperHex;
};

} // namespace norvelle
