#include "editor/AaPopupSections.h"

#include "editor/AaPopupColorButton.h"
#include "editor/AaPopupLook.h"
#include "editor/AaPopupModel.h"
#include "editor/AaPopupSwatch.h"
#include "ui/ViewFont.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace norvelle {

namespace {

AaPopupChip::Look symbolChip(const QString& symbol)
{
    return {.symbol = symbol, .fontSize = 12, .height = 26, .radius = 6, .inactiveOpacity = 0.6};
}

} // namespace

AaPopupSections::AaPopupSections(AaPopupModel& model, bool dark, QWidget* parent)
    : QWidget(parent)
    , m_model(model)
    , m_dark(dark)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    buildTextStyles(column);
    buildFormat(column);
    buildAlignment(column);
    buildColors(column);
    buildLists(column);
    column->addStretch();
    connect(&m_model, &AaPopupModel::changed, this, &AaPopupSections::refresh);
    refresh();
}

void AaPopupSections::addHeader(QVBoxLayout* column, const QString& title)
{
    auto* header = new QLabel(title, this);
    header->setFont(viewFont(10, QFont::DemiBold));
    QPalette palette = header->palette();
    palette.setColor(QPalette::WindowText, AaPopupLook::quietText(m_dark));
    header->setPalette(palette);
    header->setContentsMargins(12, 10, 12, 6);
    column->addWidget(header);
}

QHBoxLayout* AaPopupSections::addRow(QVBoxLayout* column, int spacing, int bottom)
{
    auto* row = new QHBoxLayout;
    row->setContentsMargins(12, 0, 12, bottom);
    row->setSpacing(spacing);
    column->addLayout(row);
    return row;
}

void AaPopupSections::addChip(QHBoxLayout* row, const QString& name, const QString& label,
    const AaPopupChip::Look& look, std::function<void()> action,
    std::function<bool()> active)
{
    auto* chip = new AaPopupChip(label, look, m_dark, this);
    chip->setObjectName(name);
    connect(chip, &QAbstractButton::clicked, this, std::move(action));
    row->addWidget(chip);
    m_chips.emplace_back(chip, std::move(active));
}

void AaPopupSections::buildTextStyles(QVBoxLayout* column)
{
    addHeader(column, QStringLiteral("TEXT STYLE"));
    auto* grid = new QGridLayout;
    grid->setContentsMargins(12, 0, 12, 8);
    grid->setVerticalSpacing(5);
    grid->setHorizontalSpacing(5);
    const AaPopupChip::Look look {.fontSize = 10.5, .height = 24, .radius = 6, .inactiveOpacity = 0.7};
    for (int i = 0; i < AaPopupModel::fullTextStyles.size(); ++i) {
        const QString style = AaPopupModel::fullTextStyles[i];
        auto* row = new QHBoxLayout;
        addChip(
            row, QStringLiteral("fullStyle.") + style, style, look, [this, style] { m_model.selectFullStyle(style); },
            [this, style] { return m_model.fullStyleSelection() == style; });
        grid->addLayout(row, i / 2, i % 2);
    }
    column->addLayout(grid);
}

void AaPopupSections::buildFormat(QVBoxLayout* column)
{
    addHeader(column, QStringLiteral("FORMAT"));
    QHBoxLayout* row = addRow(column, 7, 8);
    const AaPopupChip::Look look {.fontSize = 13, .weight = QFont::Bold, .height = 28, .radius = 7};
    addChip(
        row, QStringLiteral("format.bold"), QStringLiteral("B"), look, [this] { m_model.toggleBold(); },
        [this] { return m_model.isBold(); });
    addChip(
        row, QStringLiteral("format.italic"), QStringLiteral("I"), look, [this] { m_model.toggleItalic(); },
        [this] { return m_model.isItalic(); });
    addChip(
        row, QStringLiteral("format.underline"), QStringLiteral("U"), look, [this] { m_model.toggleUnderline(); },
        [this] { return m_model.isUnderline(); });
    addChip(
        row, QStringLiteral("format.strike"), QStringLiteral("S"), look,
        [this] { m_model.toggleStrikethrough(); }, [this] { return m_model.isStrike(); });
}

void AaPopupSections::buildAlignment(QVBoxLayout* column)
{
    QHBoxLayout* row = addRow(column, 7, 10);
    const std::pair<const char*, const char*> alignments[] = {
        {"left", "text.alignleft"}, {"center", "text.aligncenter"}, {"right", "text.alignright"}, {"justify", "text.justify"}};
    for (const auto& [value, symbol] : alignments) {
        const QString alignment = QLatin1String(value);
        addChip(
            row, QStringLiteral("align.") + alignment, {}, symbolChip(QLatin1String(symbol)),
            [this, alignment] { m_model.selectAlignment(alignment); },
            [this, alignment] { return m_model.alignmentSelection() == alignment; });
    }
}

void AaPopupSections::buildColors(QVBoxLayout* column)
{
    using Mode = AaPopupModel::ColorMode;
    addHeader(column, QStringLiteral("COLORS"));
    QHBoxLayout* modes = addRow(column, 5, 6);
    const AaPopupChip::Look look {.fontSize = 10.5, .height = 22, .radius = 6, .inactiveOpacity = 0.65};
    addChip(
        modes, QStringLiteral("mode.text"), QStringLiteral("Text"), look,
        [this] { m_model.setColorMode(Mode::text); }, [this] { return m_model.colorMode() == Mode::text; });
    addChip(
        modes, QStringLiteral("mode.highlight"), QStringLiteral("Highlight"), look,
        [this] { m_model.setColorMode(Mode::highlight); },
        [this] { return m_model.colorMode() == Mode::highlight; });

    auto* stack = new QVBoxLayout;
    stack->setContentsMargins(12, 0, 12, 8);
    stack->setSpacing(6);
    auto* swatches = new QHBoxLayout;
    swatches->setSpacing(5);
    for (qsizetype i = 0; i < AaPopupModel::textColorOptions.size(); ++i) {
        auto* swatch = new AaPopupSwatch({}, 16, {20, 24}, this);
        swatch->setObjectName(QStringLiteral("swatch.%1").arg(i));
        connect(swatch, &QAbstractButton::clicked, this, [this, swatch] { m_model.pickSwatch(swatch->hex()); });
        swatches->addWidget(swatch);
        m_swatches.push_back(swatch);
    }
    swatches->addStretch();
    stack->addLayout(swatches);
    m_customColor = new AaPopupColorButton({}, m_dark, this);
    m_customColor->setObjectName(QStringLiteral("customColor"));
    connect(m_customColor, &QAbstractButton::clicked, this,
        [this] { m_model.openColorPanel(m_model.currentModeTarget()); });
    stack->addWidget(m_customColor);
    column->addLayout(stack);
}

void AaPopupSections::buildLists(QVBoxLayout* column)
{
    addHeader(column, QStringLiteral("LISTS"));
    QHBoxLayout* row = addRow(column, 5, 12);
    const std::pair<const char*, const char*> lists[] = {
        {"number", "list.number"}, {"bullet", "list.bullet"}, {"dash", "list.dash"}};
    for (const auto& [value, symbol] : lists) {
        const QString style = QLatin1String(value);
        addChip(
            row, QStringLiteral("list.") + style, {}, symbolChip(QLatin1String(symbol)),
            [this, style] { m_model.selectListStyle(style); },
            [this, style] { return m_model.listSelection() == style; });
    }
    addChip(
        row, QStringLiteral("quote"), {}, symbolChip(QStringLiteral("text.quote")), [this] { m_model.toggleQuote(); },
        [this] { return m_model.quoteEnabled(); });
}

void AaPopupSections::refresh()
{
    for (const auto& [chip, active] : m_chips) {
        chip->setActive(active());
    }
    const QStringList palette = m_model.palette();
    const QString selected = m_model.selectedHex();
    for (std::size_t i = 0; i < m_swatches.size(); ++i) {
        AaPopupSwatch* swatch = m_swatches[i];
        const bool shown = qsizetype(i) < palette.size();
        swatch->setVisible(shown);
        if (shown) {
            swatch->setHex(palette[qsizetype(i)]);
            swatch->setRing(swatch->hex() == selected ? AaPopupLook::accent() : QColor(Qt::transparent), 2);
        }
    }
    m_customColor->setText(m_model.customColorTitle());
}

} // namespace norvelle
