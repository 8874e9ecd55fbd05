#include "workspace/LaunchAtLoginBanner.h"

#include "platform/UserDefaults.h"
#include "ui/BrandPalette.h"
#include "ui/RoundedPainting.h"
#include "ui/SchemeColors.h"
#include "ui/TextLabel.h"
#include "ui/ViewFont.h"
#include "ui/PlainButton.h"
#include "workspace/WorkspaceView.h"

#include <QHBoxLayout>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace norvelle {

namespace {

QColor brandFill(const SchemeColors&)
{
    return brandPurple();
}

} // namespace

LaunchAtLoginBanner::LaunchAtLoginBanner(WorkspaceView& workspace, RegisterLoginItem registerLoginItem, QWidget* parent)
    : QWidget(parent)
    , m_workspace(workspace)
    , m_registerLoginItem(std::move(registerLoginItem))
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(16 + 12 + 36 + 12, 8 + 10, 16 + 12, 8 + 10);
    row->setSpacing(12);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(4);
    texts->addWidget(new TextLabel(QStringLiteral("Never miss a copy"), viewFont(13, QFont::DemiBold), &SchemeColors::label, this));
    auto* detail = new TextLabel(QStringLiteral("Launch Norvelle at login so it’s always capturing your clipboard."),
                                 viewFont(11, QFont::Medium), &SchemeColors::secondaryText, this);
    detail->setWordWrap(true);
    texts->addWidget(detail);
    row->addLayout(texts, 1);
    m_enable = new PlainButton(QStringLiteral("Enable"),
                               { .font = viewFont(12, QFont::DemiBold), .color = [](const SchemeColors&) { return QColor(Qt::white); },
                                 .padding = QMargins(16, 6, 16, 6), .minimumHeight = 28, .fill = brandFill, .radius = -1 },
                               this);
    m_enable->setToolTip(QStringLiteral("Launch Norvelle automatically at login."));
    m_dismiss = new PlainButton({}, { .font = viewFont(11, QFont::DemiBold), .color = &SchemeColors::secondaryText,
                                      .symbol = QStringLiteral("xmark"), .symbolSize = 11, .padding = QMargins(4, 4, 4, 4),
                                      .minimumHeight = 20 },
                                this);
    m_dismiss->setToolTip(QStringLiteral("Dismiss"));
    row->addWidget(m_enable);
    row->addWidget(m_dismiss);
    connect(m_enable, &QAbstractButton::clicked, this, &LaunchAtLoginBanner::enableLaunchAtLogin);
    connect(m_dismiss, &QAbstractButton::clicked, this, &LaunchAtLoginBanner::dismissLaunchAtLoginBanner);
}

void LaunchAtLoginBanner::enableLaunchAtLogin()
{
    m_registerLoginItem();
    dismissLaunchAtLoginBanner();
}

void LaunchAtLoginBanner::dismissLaunchAtLoginBanner()
{
    UserDefaults::standard().set(WorkspaceView::bannerDismissedKey, true);
    m_workspace.setShowLaunchAtLoginBanner(false);
}

void LaunchAtLoginBanner::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const SchemeColors colors(palette());
    const bool dark = SchemeColors::isDarkScheme(palette());
    const QRectF card = QRectF(rect()).adjusted(16, 8, -16, -8);
    QLinearGradient fill(card.topLeft(), card.bottomRight());
    fill.setColorAt(0, colors.overlay(0.05, 0.04));
    fill.setColorAt(0.5, colors.overlay(0.08, 0.06));
    fill.setColorAt(1, QColor::fromRgbF(0.75f, 0.35f, 0.95f, dark ? 0.14f : 0.09f));
    QPainterPath shape;
    shape.addRoundedRect(card, 10, 10);
    painter.fillPath(shape, fill);
    QColor stroke = colors.overlay(0.06, 0.1);
    stroke.setAlphaF(stroke.alphaF() * 0.7f);
    strokeRounded(painter, card, 10, stroke, 0.5);

    const QRectF icon(card.left() + 12, card.center().y() - 18, 36, 36);
    QLinearGradient brand(icon.topLeft(), icon.bottomRight());
    const auto& stops = brandGradientColors();
    for (size_t i = 0; i < stops.size(); ++i) {
        brand.setColorAt(qreal(i) / qreal(stops.size() - 1), stops[i]);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(brand);
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
