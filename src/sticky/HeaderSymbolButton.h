#pragma once

#include <QAbstractButton>
#include <QColor>

namespace norvelle {

// A flat 28 × 28 button of the sticky header showing one small drawn symbol in one colour:
// "star", "star.fill", "ellipsis" or "square.and.arrow.up".
class HeaderSymbolButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit HeaderSymbolButton(const QString& systemName, QWidget* parent = nullptr);

    QString systemName() const { return m_systemName; }
    void setSystemName(const QString& name);
    QColor color() const { return m_color; }
    void setColor(const QColor& color);
    // An edge around a filled symbol whose colour is too close to the paper's; none when invalid.
    void setOutline(const QColor& color);

    QSize sizeHint() const override { return {28, 28}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_systemName;
    QColor m_color;
    QColor m_outline;
};

} // namespace norvelle
