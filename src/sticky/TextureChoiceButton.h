#pragma once

#include <QAbstractButton>

namespace norvelle {

// One paper texture to choose: its symbol on a 42 × 30 rounded tile with its label underneath.
// The current texture's tile is tinted and edged in the accent colour.
class TextureChoiceButton : public QAbstractButton {
    Q_OBJECT
public:
    static constexpr QSize tileSize {42, 30};

    TextureChoiceButton(const QString& symbol, const QString& label, bool current, QWidget* parent = nullptr);

    bool isCurrent() const { return m_current; }
    void setCurrent(bool current);
    QString textureName() const { return objectName(); }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_symbol;
    bool m_current;
};

} // namespace norvelle
