#include "settings/SettingsButton.h"

#include "ui/SchemeColors.h"

#include <QPushButton>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace norvelle {

namespace {

// Drawn by the style with the window's palette, so it follows the light and dark themes: a style
// sheet would fix the palette of the moment it was set.
class SettingsButton : public QPushButton {
public:
    SettingsButton(const QString& title, int padding, bool destructive)
        : QPushButton(title)
        , m_padding(padding)
        , m_destructive(destructive)
    {
    }

    QSize sizeHint() const override
    {
        const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
        return {fontMetrics().horizontalAdvance(text()) + 2 * (m_padding + frame), QPushButton::sizeHint().height()};
    }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QStylePainter painter(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        if (m_destructive && isEnabled()) {
            option.palette.setColor(QPalette::ButtonText, SchemeColors(palette()).destructive());
        }
        painter.drawControl(QStyle::CE_PushButton, option);
    }

private:
    int m_padding;
    bool m_destructive;
};

} // namespace

QPushButton* makeSettingsButton(const QString& title, int padding, int minimumHeight, bool destructive)
{
    auto* button = new SettingsButton(title, padding, destructive);
    button->setMinimumHeight(minimumHeight);
    return button;
}

} // namespace norvelle
