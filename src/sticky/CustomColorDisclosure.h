#pragma once

#include <QAbstractButton>

namespace norvelle {

// "Custom color…" with its colour-wheel mark, and a chevron pointing right while the custom
// row is closed and down while it is open.
class CustomColorDisclosure : public QAbstractButton {
    Q_OBJECT
public:
    static inline const QString title = QStringLiteral("Custom color\u2026");

    explicit CustomColorDisclosure(bool open, QWidget* parent = nullptr);

    bool isOpen() const { return m_open; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_open;
};

} // namespace norvelle
