#include "settings/SettingsSidebar.h"

#include "ui/BrandPalette.h"
#include "ui/SymbolView.h"
#include "ui/TextLabel.h"
#include "ui/ViewFont.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace norvelle {

namespace {

constexpr int sidebarWidth = 170;
constexpr int rowHeight = 32;
constexpr qreal rowRadius = 6;

} // namespace

SettingsSidebarRow::SettingsSidebarRow(SettingsPane pane, QWidget* parent)
    : QAbstractButton(parent)
    , m_pane(pane)
{
    const QString title = settingsPaneRawValue(pane);
    setText(title);
    setAccessibleName(title);
    setCursor(Qt::PointingHandCursor);
    setMinimumHeight(rowHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 0, 12, 0);
    layout->setSpacing(8);
    auto* icon = new SymbolView(settingsPaneSymbol(pane), 12, &SchemeColors::secondaryText, this);
    icon->setFixedWidth(16);
    layout->addWidget(icon);
    layout->addWidget(new TextLabel(title, viewFont(12, QFont::Medium), &SchemeColors::label, this));
    layout->addStretch(1);
}

void SettingsSidebarRow::setCurrent(bool current)
{
    if (m_current != current) {
        m_current = current;
        update();
    }
}

void SettingsSidebarRow::paintEvent(QPaintEvent*)
{
    if (!m_current) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor fill = brandPurple();
    fill.setAlphaF(0.18f);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(rect()), rowRadius, rowRadius);
}

SettingsSidebar::SettingsSidebar(QWidget* parent)
    : QWidget(parent)
{
    setFixedWidth(sidebarWidth);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(8);
    QWidget* header = TextLabel::withSymbol(QStringLiteral("gearshape"), QStringLiteral("Norvelle Settings"),
        viewFont(13, QFont::Bold), 6, this);
    header->setContentsMargins(0, 0, 0, 4);
    layout->addWidget(header);
    for (const SettingsPane pane : allSettingsPanes) {
        auto* row = new SettingsSidebarRow(pane, this);
        connect(row, &QAbstractButton::clicked, this, [this, pane] { emit paneChosen(pane); });
        m_rows.emplace(pane, row);
        layout->addWidget(row);
    }
    layout->addStretch(1);
}

void SettingsSidebar::setCurrentPane(SettingsPane pane)
{
    for (const auto& [rowPane, row] : m_rows) {
        row->setCurrent(rowPane == pane);
    }
}

void SettingsSidebar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const bool dark = SchemeColors::isDarkScheme(palette());
    painter.fillRect(rect(), dark ? QColor::fromRgbF(0.09f, 0.09f, 0.10f) : palette().color(QPalette::Base));
}

} // namespace norvelle
