#include "sticky/BackgroundStyleControls.h"

#include "platform/ColorPanel.h"
#include "platform/NotificationCenter.h"
#include "platform/StoredSettings.h"
#include "sticky/ColorSwatch.h"
#include "sticky/CustomColorDisclosure.h"
#include "sticky/PaperColorLists.h"
#include "sticky/StickyState.h"
#include "sticky/TextureChoiceButton.h"
#include "ui/HexColor.h"
#include "ui/PlainButton.h"
#include "ui/ViewFont.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace norvelle {

namespace {

struct TextureChoice {
    const char* name;
    const char* icon;
    const char* label;
};
constexpr TextureChoice textureChoices[] = {
    {"blank", "rectangle", "None"},
    {"lined", "line.3.horizontal", "Lined"},
    {"grid", "square.grid.3x3", "Grid"},
    {"dot", "circle.grid.3x3", "Dots"},
};

QLabel* heading(const QString& text)
{
    auto* label = new QLabel(text);
    QFont font = label->font();
    font.setPointSizeF(8.5);
    font.setWeight(QFont::DemiBold);
    label->setFont(font);
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

QString wellStyle(const QColor& color)
{
    return QStringLiteral("QPushButton { background: %1; border: 1px solid rgba(0, 0, 0, 0.25); border-radius: 5px; }")
        .arg(hexString(color));
}

QFrame* divider()
{
    auto* line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setStyleSheet(QStringLiteral("color: rgba(128, 128, 128, 0.35);"));
    return line;
}

} // namespace

const QStringList BackgroundStyleControls::builtInPaperColors {
    "#FDFDF8",
    "#FFF8E8",
    "#F0E6CC",
    "#F0FDF4",
    "#EDE9FE",
    "#FFF5F5",
    "#1E1B4B",
    "#14532D",
    "#0C4A6E",
    "#1C1C1E",
    "#2C2C2E",
    "#3A3840",
};

BackgroundStyleControls::BackgroundStyleControls(StickyState& state, std::function<void(const QString&)> onPreviewPaperColor,
    std::function<void(const QString&)> onSelectPaperColor, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_onPreview(std::move(onPreviewPaperColor))
    , m_onSelect(std::move(onSelectPaperColor))
    , m_recent(PaperColorLists::load(storedSettings::customPaperColorsKey))
    , m_customColor(colorFromHexOrWhite(normalizePaperHex(state.paperHex())))
{
    setFixedWidth(240);
    new QVBoxLayout(this);
    NotificationCenter::defaultCenter().addObserver(PaperColorLists::customChangedNotification, this, [this](const Notification&) {
        m_recent = PaperColorLists::load(storedSettings::customPaperColorsKey);
        rebuild();
    });
    connect(&ColorPanel::shared(), &ColorPanel::colorChanged, this, [this](const QColor& color) {
        if (ColorPanel::shared().isOwnedBy(this)) {
            m_customColor = color;
            for (QPushButton* well : findChildren<QPushButton*>(QStringLiteral("pickCustomColor")))
                well->setStyleSheet(wellStyle(color));
            previewCustomColor(color);
        }
    });
    // A new paper or texture moves the marks; the rows stay, so nothing jumps while previewing.
    connect(&state, &StickyState::changed, this, &BackgroundStyleControls::refreshMarks);
    rebuild();
}

BackgroundStyleControls::~BackgroundStyleControls()
{
    if (ColorPanel::shared().isOwnedBy(this)) {
        ColorPanel::shared().close();
    }
}

QWidget* BackgroundStyleControls::swatchGrid(const QStringList& colors, const QString& name)
{
    auto* grid = new QWidget;
    auto* layout = new QGridLayout(grid);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setHorizontalSpacing(0);
    layout->setVerticalSpacing(8);
    // Six equal columns, however few colours there are.
    for (int column = 0; column < 6; ++column) {
        layout->setColumnStretch(column, 1);
        layout->setColumnMinimumWidth(column, 10);
    }
    const QString current = normalizePaperHex(m_state.paperHex());
    for (qsizetype i = 0; i < colors.size(); ++i) {
        const QString hex = colors[i];
        auto* swatch = new ColorSwatch(hex, name.isEmpty() ? hex : name, normalizePaperHex(hex) == current);
        connect(swatch, &QAbstractButton::clicked, this, [this, hex] { selectPaperSwatch(hex); });
        layout->addWidget(swatch, int(i / 6), int(i % 6));
    }
    return grid;
}

void BackgroundStyleControls::rebuild()
{
    auto* column = static_cast<QVBoxLayout*>(layout());
    while (QLayoutItem* item = column->takeAt(0)) {
        if (QWidget* widget = item->widget()) {
            widget->deleteLater();
        }
        delete item;
    }
    column->setContentsMargins(14, 14, 14, 14);
    column->setSpacing(10);
    column->addWidget(heading(QStringLiteral("Background Style")));
    column->addWidget(swatchGrid(builtInPaperColors, QString()));
    if (!m_recent.isEmpty()) {
        auto* row = new QWidget;
        auto* rowLayout = new QHBoxLayout(row);
        rowLayout->setContentsMargins(0, 0, 0, 0);
        rowLayout->addWidget(heading(QStringLiteral("Recent")));
        rowLayout->addStretch(1);
        auto* clear = new QPushButton(QStringLiteral("Clear Recent"));
        clear->setFlat(true);
        clear->setCursor(Qt::PointingHandCursor);
        clear->setStyleSheet(QStringLiteral("QPushButton { color: palette(highlight); border: none; font-size: 8pt; }"));
        connect(clear, &QPushButton::clicked, this, &BackgroundStyleControls::clearCustomColors);
        rowLayout->addWidget(clear);
        column->addWidget(row);
        column->addWidget(swatchGrid(m_recent, QStringLiteral("Recent")));
    }
    column->addWidget(divider());
    column->addWidget(heading(QStringLiteral("Texture")));
    auto* textures = new QWidget;
    auto* textureRow = new QHBoxLayout(textures);
    textureRow->setContentsMargins(0, 0, 0, 0);
    textureRow->setSpacing(8);
    for (const TextureChoice& choice : textureChoices) {
        const QString name = QString::fromLatin1(choice.name);
        auto* button = new TextureChoiceButton(QString::fromLatin1(choice.icon), QString::fromLatin1(choice.label),
            m_state.textureName() == name);
        button->setObjectName(name);
        connect(button, &QAbstractButton::clicked, this, [this, name] { m_state.setTextureName(name); });
        textureRow->addWidget(button);
    }
    textureRow->addStretch(1);
    column->addWidget(textures);
    column->addWidget(divider());

    auto* disclosure = new CustomColorDisclosure(m_showCustom);
    connect(disclosure, &QAbstractButton::clicked, this, [this] {
        m_showCustom = !m_showCustom;
        rebuild();
    });
    column->addWidget(disclosure);
    if (m_showCustom) {
        auto* row = new QWidget;
        auto* rowLayout = new QHBoxLayout(row);
        rowLayout->setContentsMargins(0, 0, 0, 0);
        rowLayout->setSpacing(10);
        // A colour well: it shows the colour and names itself only to assistive tools.
        auto* pick = new QPushButton;
        pick->setObjectName(QStringLiteral("pickCustomColor"));
        pick->setAccessibleName(QStringLiteral("Pick custom color"));
        pick->setToolTip(QStringLiteral("Pick custom color"));
        pick->setFixedSize(44, 24);
        pick->setStyleSheet(wellStyle(m_customColor));
        connect(pick, &QPushButton::clicked, this, [this] { ColorPanel::shared().open(this, m_customColor); });
        // A small filled button in the accent colour: the step that keeps the colour.
        auto* apply = new PlainButton(QStringLiteral("Apply custom color"),
            {.font = viewFont(11, QFont::Medium), .color = [](const SchemeColors&) { return QColor(Qt::white); }, .padding = QMargins(8, 3, 8, 3), .minimumHeight = 22, .fill = &SchemeColors::accent, .radius = 5});
        apply->setObjectName(QStringLiteral("applyCustomColor"));
        apply->setCursor(Qt::PointingHandCursor);
        connect(apply, &QAbstractButton::clicked, this, &BackgroundStyleControls::applyCustomColor);
        rowLayout->addWidget(pick);
        rowLayout->addWidget(apply);
        rowLayout->addStretch(1);
        column->addWidget(row);
    }
    adjustSize();
}

void BackgroundStyleControls::refreshMarks()
{
    const QString current = normalizePaperHex(m_state.paperHex());
    for (ColorSwatch* swatch : findChildren<ColorSwatch*>())
        swatch->setSelected(normalizePaperHex(swatch->hex()) == current);
    for (TextureChoiceButton* texture : findChildren<TextureChoiceButton*>())
        texture->setCurrent(texture->textureName() == m_state.textureName());
}

void BackgroundStyleControls::selectPaperSwatch(const QString& hex)
{
    const QString normalized = normalizePaperHex(hex);
    m_state.setPaperHex(normalized);
    m_onSelect(normalized);
}

void BackgroundStyleControls::previewCustomColor(const QColor& color)
{
    if (color.isValid()) {
        m_onPreview(hexString(color));
    }
}

void BackgroundStyleControls::applyCustomColor()
{
    if (!m_customColor.isValid()) {
        return;
    }
    const QString hex = normalizePaperHex(hexString(m_customColor));
    m_state.setPaperHex(hex);
    m_onSelect(hex);
    PaperColorLists::addCustomPaperColor(hex);
    m_recent = PaperColorLists::load(storedSettings::customPaperColorsKey);
    m_showCustom = false;
    // The panel would go on colouring the note with no Apply left to keep the colour.
    if (ColorPanel::shared().isOwnedBy(this)) {
        ColorPanel::shared().close();
    }
    rebuild();
}

void BackgroundStyleControls::showEvent(QShowEvent* event)
{
    // Each showing starts from the note's paper and the latest custom colours; an open custom
    // row stays open.
    const QStringList recent = PaperColorLists::load(storedSettings::customPaperColorsKey);
    const QColor paper = colorFromHexOrWhite(normalizePaperHex(m_state.paperHex()));
    if (!ColorPanel::shared().isOwnedBy(this) && (recent != m_recent || paper != m_customColor)) {
        m_recent = recent;
        m_customColor = paper;
        rebuild();
    }
    QWidget::showEvent(event);
}

void BackgroundStyleControls::clearCustomColors()
{
    PaperColorLists::clearCustomPaperColors();
    m_recent.clear();
    rebuild();
}

} // namespace norvelle
