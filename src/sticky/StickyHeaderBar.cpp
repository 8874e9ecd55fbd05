#include "sticky/StickyHeaderBar.h"

#include "sticky/HeaderSymbolButton.h"
#include "sticky/PaperTheme.h"
#include "sticky/ShareAnchorButton.h"
#include "sticky/StickyState.h"
#include "ui/HexColor.h"
#include "ui/TextContrast.h"

#include <QHBoxLayout>
#include <QPainter>

namespace norvelle {

namespace {

// A window-control dot: an 11-point circle in a fixed colour, clickable over its padded frame.
class HeaderDot : public QAbstractButton {
public:
    HeaderDot(QColor color, const QString& name, QWidget* parent)
        : QAbstractButton(parent)
        , m_color(color)
    {
        setFixedSize(11 + 2 * 4, 22);
        setFocusPolicy(Qt::NoFocus);
        setAccessibleName(name);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(m_color);
        painter.drawEllipse(QRectF(QRectF(rect()).center() - QPointF(5.5, 5.5), QSizeF(11, 11)));
    }

private:
    QColor m_color;
};

QColor withOpacity(QColor color, double opacity)
{
    color.setAlphaF(float(opacity));
    return color;
}

} // namespace

StickyHeaderBar::StickyHeaderBar(const StickyState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_paperHex(state.paperHex())
    , m_close(new HeaderDot(QColor::fromRgbF(1.0f, 0.36f, 0.32f), QStringLiteral("Close"), this))
    , m_minimize(new HeaderDot(QColor::fromRgbF(1.0f, 0.79f, 0.24f), QStringLiteral("Minimize"), this))
    , m_share(new ShareAnchorButton)
    , m_pin(new HeaderSymbolButton(QStringLiteral("star")))
    , m_more(new HeaderSymbolButton(QStringLiteral("ellipsis")))
    , m_capsule(new QWidget(this))
{
    setFixedHeight(stripHeight);

    auto* capsule = new QHBoxLayout(m_capsule);
    capsule->setContentsMargins(8, 0, 8, 0);
    capsule->setSpacing(0);
    for (QWidget* button : {static_cast<QWidget*>(m_share), static_cast<QWidget*>(m_pin), static_cast<QWidget*>(m_more)}) {
        capsule->addWidget(button);
    }
    m_capsule->setFixedHeight(28);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(10, 0, 10, 0);
    row->setSpacing(6);
    row->addWidget(m_close);
    row->addWidget(m_minimize);
    row->addStretch(1);
    row->addWidget(m_capsule);

    connect(m_close, &QAbstractButton::clicked, this, &StickyHeaderBar::closeClicked);
    connect(m_minimize, &QAbstractButton::clicked, this, &StickyHeaderBar::minimizeClicked);
    connect(m_share, &ShareAnchorButton::optionsTapped, this, &StickyHeaderBar::shareOptionsRequested);
    connect(m_pin, &QAbstractButton::clicked, this, &StickyHeaderBar::togglePinClicked);
    connect(m_more, &QAbstractButton::clicked, this, &StickyHeaderBar::moreClicked);
    connect(&state, &StickyState::changed, this, &StickyHeaderBar::refresh);
    refresh();
}

void StickyHeaderBar::setShownPaper(const QString& hex, double opacity)
{
    if (hex != m_paperHex || opacity != m_shownOpacity) {
        m_paperHex = hex;
        m_shownOpacity = opacity;
        refresh();
    }
}

void StickyHeaderBar::setShareEnabled(bool enabled)
{
    m_share->setShareEnabled(enabled);
}

bool StickyHeaderBar::isHeaderDark(double opacity, const QString& effectivePaperHex, bool fallbackDark)
{
    if (opacity < 0.35) {
        return false;
    }
    if (!colorFromHex(effectivePaperHex)) {
        return fallbackDark;
    }
    return PaperTheme::isDarkPaperHexSRGB(effectivePaperHex);
}

void StickyHeaderBar::refresh()
{
    const bool dark = isHeaderDark(m_shownOpacity, m_paperHex, m_state.isDark());
    const QColor icon = dark ? withOpacity(Qt::white, 0.9) : withOpacity(Qt::black, 0.82);
    const bool pinned = m_state.isPinned();
    m_share->setColor(icon);
    m_more->setColor(icon);
    m_pin->setSystemName(pinned ? QStringLiteral("star.fill") : QStringLiteral("star"));
    const QColor star = QColor::fromRgbF(1.0f, 0.7f, 0.0f);
    m_pin->setColor(pinned ? star : icon);
    // On paper close to the star's own amber (orange paper) the star takes the icon colour's edge.
    const std::optional<QColor> paper = colorFromHex(m_paperHex);
    const double lighter = std::max(relativeLuminance(star), paper ? relativeLuminance(*paper) : 1.0);
    const double darker = std::min(relativeLuminance(star), paper ? relativeLuminance(*paper) : 1.0);
    m_pin->setOutline((lighter + 0.05) / (darker + 0.05) < 1.5 ? icon : QColor());
    update();
}

QRect StickyHeaderBar::capsuleRect() const
{
    // 24 points high, centred on the buttons' row.
    const QRect area = m_capsule->geometry();
    return {area.x(), area.center().y() - 11, area.width(), 24};
}

void StickyHeaderBar::paintEvent(QPaintEvent*)
{
    const bool dark = isHeaderDark(m_shownOpacity, m_paperHex, m_state.isDark());
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(dark ? withOpacity(Qt::white, 0.18) : withOpacity(Qt::black, 0.12));
    const QRectF capsule = capsuleRect();
    painter.drawRoundedRect(capsule, capsule.height() / 2, capsule.height() / 2);
}

} // namespace norvelle
