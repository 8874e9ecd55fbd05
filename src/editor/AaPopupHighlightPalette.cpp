#include "editor/AaPopupHighlightPalette.h"

#include "editor/AaPopupColorButton.h"
#include "editor/AaPopupLook.h"
#include "editor/AaPopupModel.h"
#include "editor/AaPopupSwatch.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

namespace norvelle {

AaPopupHighlightPalette::AaPopupHighlightPalette(AaPopupModel& model, bool dark, QWidget* parent)
    : QWidget(parent)
    , m_model(model)
    , m_dark(dark)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(12, 12, 12, 12);
    column->setSpacing(10);
    auto* grid = new QHBoxLayout;
    grid->setSpacing(8);
    for (const QString& hex : AaPopupModel::highlightColors) {
        auto* swatch = new AaPopupSwatch(hex, 18, {26, 26}, this);
        connect(swatch, &QAbstractButton::clicked, this, [this, hex] { m_model.pickHighlightColor(hex); });
        grid->addWidget(swatch);
        m_swatches.push_back(swatch);
    }
    grid->addStretch();
    column->addLayout(grid);
    auto* custom = new AaPopupColorButton(QStringLiteral("Custom highlight color"), dark, this);
    connect(custom, &QAbstractButton::clicked, this,
        [this] { m_model.openColorPanel(AaPopupModel::ColorPanelTarget::highlight); });
    column->addWidget(custom);
    m_custom = custom;
    setFixedSize(paletteWidth, sizeHint().height());
    connect(&m_model, &AaPopupModel::changed, this, &AaPopupHighlightPalette::refresh);
    refresh();
}

void AaPopupHighlightPalette::refresh()
{
    for (AaPopupSwatch* swatch : m_swatches) {
        const bool selected = swatch->hex() == m_model.highlightHex();
        swatch->setRing(selected ? AaPopupLook::accent() : QColor(Qt::transparent), 2);
    }
}

void AaPopupHighlightPalette::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), AaPopupLook::background(m_dark));
}

} // namespace norvelle
