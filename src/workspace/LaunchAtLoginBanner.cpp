#include "workspace/LaunchAtLoginBanner.h"

#include "platform/StoredSettings.h"
#include "ui/BrandGradientButtonStyle.h"
#include "ui/BrandPalette.h"
#include "ui/PlainButton.h"
#include "ui/RoundedPainting.h"
#include "ui/SchemeColors.h"
#include "ui/TextLabel.h"
#include "ui/ViewFont.h"
#include "workspace/WorkspaceView.h"

#include <QHBoxLayout>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace norvelle {

namespace {

// The banner's own line along its top, above the card.
constexpr qreal hairlineHeight = 1;

// "Enable": white on a capsule of the brand gradient.
class BrandCapsuleButton : public PlainButton {
public:
    using PlainButton::PlainButton;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter painter(this);
        BrandGradientButtonStyle::paintBackground(painter, QRectF(rect()), isDown(), -1);
        painter.end();
        PlainButton::paintEvent(event);
    }
};

} // namespace

LaunchAtLoginBanner::LaunchAtLoginBanner(WorkspaceView& workspace, RegisterLoginItem registerLoginItem, QWidget* parent)
    : QWidget(parent)
    , m_workspace(workspace)
    , m_registerLoginItem(std::move(registerLoginItem))
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(16 + 12 + 36 + 12, int(hairlineHeight) + 8 + 10, 16 + 12, 8 + 10);
    row->setSpacing(12);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(4);
    texts->addWidget(new TextLabel(QStringLiteral("Never miss a copy"), viewFont(13, QFont::DemiBold), &SchemeColors::label, this));
    auto* detail = new TextLabel(QStringLiteral("Launch Norvelle at login so it’s always capturing your clipboard."),
        viewFont(11, QFont::Medium), &SchemeColors::secondaryText, this);
    detail->setWordWrap(true);
    texts->addWidget(detail);
    row->addLayout(texts, 1);
    m_enable = new BrandCapsuleButton(QStringLiteral("Enable"),
        {.font = viewFont(12, QFont::DemiBold),
            .color = [](const SchemeColors&) { return QColor(Qt::white); },
            .padding = QMargins(16, 0, 16, 0),
            .minimumHeight = 28},
        this);
    m_enable->setToolTip(QStringLiteral("Launch Norvelle automatically at login."));
    auto* dismiss = new PlainButton({}, {.font = viewFont(11, QFont::DemiBold), .color = &SchemeColors::secondaryText, .symbol = QStringLiteral("xmark"), .symbolSize = 11, .padding = QMargins(4, 4, 4, 4), .minimumHeight = 20},
        this);
    dismiss->setToolTip(QStringLiteral("Dismiss"));
    row->addWidget(m_enable);
    row->addWidget(dismiss);
    connect(m_enable, &QAbstractButton::clicked, this, &LaunchAtLoginBanner::enableLaunchAtLogin);
    connect(dismiss, &QAbstractButton::clicked, this, &LaunchAtLoginBanner::dismissLaunchAtLoginBanner);
}

void LaunchAtLoginBanner::enableLaunchAtLogin()
{
    m_registerLoginItem();
    dismissLaunchAtLoginBanner();
}

void LaunchAtLoginBanner::dismissLaunchAtLoginBanner()
{
    storedSettings::launchAtLoginBannerDismissed.set(true);
    m_workspace.setShowLaunchAtLoginBanner(false);
}

void LaunchAtLoginBanner::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const SchemeColors colors(palette());
    const bool dark = SchemeColors::isDarkScheme(palette());
    const QColor rule = colors.overlay(0.06, 0.1);
    QColor hairline = rule;
    hairline.setAlphaF(rule.alphaF() * 0.55f);
    painter.fillRect(QRectF(0, 0, width(), 0.5), hairline);

    const QRectF card = QRectF(rect()).adjusted(16, hairlineHeight + 8, -16, -8);
    paintSoftShadow(painter, card, 10, QColor::fromRgbF(0, 0, 0, dark ? 0.42f : 0.07f), 5, QPointF(0, 2));
    QLinearGradient fill(card.topLeft(), card.bottomRight());
    fill.setColorAt(0, colors.overlay(0.05, 0.04));
    fill.setColorAt(0.5, colors.overlay(0.08, 0.06));
    fill.setColorAt(1, QColor::fromRgbF(0.75f, 0.35f, 0.95f, dark ? 0.14f : 0.09f));
    QPainterPath shape;
    shape.addRoundedRect(card, 10, 10);
    // The card's own fill is translucent: the shadow shows around it, not through it.
    painter.fillPath(shape, colors.windowBackground());
    painter.fillPath(shape, fill);
    QColor stroke = rule;
    stroke.setAlphaF(rule.alphaF() * 0.7f);
    strokeRounded(painter, card, 10, stroke, 0.5);

    const QRectF icon(card.left() + 12, card.center().y() - 18, 36, 36);
    paintSoftShadow(painter, icon, -1, QColor::fromRgbF(0.55f, 0.25f, 0.85f, 0.35f), 5, QPointF(0, 2));
    painter.setPen(Qt::NoPen);
    painter.setBrush(brandGradient(icon));
    painter.drawEllipse(icon);
    // A bolt in white.
    const QPointF c = icon.center();
    QPainterPath bolt;
    bolt.moveTo(c + QPointF(2, -9));
    bolt.lineTo(c + QPointF(-6, 2));
    bolt.lineTo(c + QPointF(-0.5, 2));
    bolt.lineTo(c + QPointF(-2, 9));
    bolt.lineTo(c + QPointF(6, -2));
    bolt.lineTo(c + QPointF(0.5, -2));
    bolt.closeSubpath();
    painter.fillPath(bolt, Qt::white);
}

} // namespace norvelle
