#pragma once

#include <QAbstractButton>
#include <QFont>

namespace norvelle {

// A control of the format popup: a letter, word or symbol centred on a rounded fill, blue
// while active. Chips without a fixed width share their row's width.
class AaPopupChip : public QAbstractButton {
public:
    struct Look {
        QString symbol {}; // a drawn symbol instead of the text
        qreal fontSize = 13;
        QFont::Weight weight = QFont::DemiBold;
        int height = 28;
        qreal radius = 6;
        qreal inactiveOpacity = 0.7;
        int width = 0; // 0: as wide as the row allows
        bool filled = true;
    };

    AaPopupChip(const QString& text, Look look, bool dark, QWidget* parent = nullptr);

    void setActive(bool active);
    bool isActive() const { return m_active; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Look m_look;
    bool m_dark;
    bool m_active = false;
};

} // namespace norvelle
