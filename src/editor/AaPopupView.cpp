#include "editor/AaPopupView.h"

#include "editor/AaPopupChip.h"
#include "editor/AaPopupDisclosureButton.h"
#include "editor/AaPopupHighlightPalette.h"
#include "editor/AaPopupLook.h"
#include "editor/AaPopupModel.h"
#include "editor/AaPopupSections.h"
#include "editor/AaPopupStyleButton.h"
#include "editor/AaPopupSwatch.h"
#include "platform/Popover.h"
#include "ui/ViewFont.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>
#include <QVariantAnimation>

namespace norvelle {

namespace {

// A hairline rule of the popup: white or black at 0.12.
class Rule : public QWidget {
public:
    Rule(QColor color, Qt::Orientation orientation, QWidget* parent)
        : QWidget(parent)
        , m_color(color)
    {
        if (orientation == Qt::Horizontal) {
            setFixedHeight(1);
        } else {
            setFixedSize(1, 16);
        }
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        // Half a point: a one-pixel line at half the strength reads the same.
        painter.fillRect(rect(), AaPopupLook::withOpacity(m_color, 0.5));
    }

private:
    QColor m_color;
};

} // namespace

AaPopupView::AaPopupView(bool isDarkTheme, AaPopupCallbacks callbacks, const void* editor, QWidget* parent)
    : QWidget(parent)
    , m_dark(isDarkTheme)
    , m_model(new AaPopupModel(editor, std::move(callbacks), this))
{
    setFixedSize(popupWidth, compactHeight);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 6, 0, 0);
    column->setSpacing(0);
    column->setSizeConstraint(QLayout::SetNoConstraint);
    m_formatRow = buildFormatRow();
    column->addWidget(m_formatRow);
    column->addWidget(buildStyleRows());
    column->addWidget(buildFontSizeRow());
    m_disclosure = new AaPopupDisclosureButton(m_dark, this);
    m_disclosure->setObjectName(QStringLiteral("disclosure"));
    connect(m_disclosure, &QAbstractButton::clicked, m_model, &AaPopupModel::toggleExpanded);
    column->addWidget(m_disclosure);
    m_sections = new AaPopupSections(*m_model, m_dark, this);
    m_sections->hide();
    column->addWidget(m_sections);
    column->addStretch();

    m_heightAnimation = new QVariantAnimation(this);
    m_heightAnimation->setDuration(220);
    m_heightAnimation->setEasingCurve(QEasingCurve::InOutQuad);
    connect(m_heightAnimation, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        setFixedHeight(value.toInt());
        emit heightChanged(value.toInt());
    });
    connect(m_heightAnimation, &QVariantAnimation::finished, this, [this] { m_sections->setVisible(m_model->expanded()); });
    connect(m_model, &AaPopupModel::changed, this, &AaPopupView::refresh);
    refresh();
}

AaPopupView::~AaPopupView()
{
    // Children going away must not commit the field or repaint through half-destroyed rows.
    m_fontSizeField->disconnect(m_model);
    m_model->disconnect(this);
    delete m_highlightPalette;
}

QWidget* AaPopupView::buildFormatRow()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(12, 4, 12, 6);
    layout->setSpacing(3);
    const AaPopupChip::Look letter {.fontSize = 13, .weight = QFont::Bold, .height = 30, .radius = 7, .width = 30};
    const std::tuple<const char*, const char*, void (AaPopupModel::*)(), bool (AaPopupModel::*)() const> letters[] = {
        {"bold", "B", &AaPopupModel::toggleBold, &AaPopupModel::isBold},
        {"italic", "I", &AaPopupModel::toggleItalic, &AaPopupModel::isItalic},
        {"underline", "U", &AaPopupModel::toggleUnderline, &AaPopupModel::isUnderline},
        {"strike", "S", &AaPopupModel::toggleStrikethrough, &AaPopupModel::isStrike},
    };
    for (const auto& [name, label, action, state] : letters) {
        auto* chip = new AaPopupChip(QLatin1String(label), letter, m_dark, row);
        chip->setObjectName(QLatin1String(name));
        connect(chip, &QAbstractButton::clicked, m_model, action);
        layout->addWidget(chip);
        m_formatChips.emplace_back(chip, [this, isOn = state] { return (m_model->*isOn)(); });
    }
    layout->addSpacing(4);
    layout->addWidget(new Rule(QColor(255, 255, 255, 31), Qt::Vertical, row));
    layout->addSpacing(2);
    const AaPopupChip::Look highlighter {
        .symbol = QStringLiteral("highlighter"), .fontSize = 12, .height = 28, .inactiveOpacity = 0.85, .width = 28, .filled = false};
    auto* highlight = new AaPopupChip({}, highlighter, m_dark, row);
    highlight->setObjectName(QStringLiteral("highlighter"));
    connect(highlight, &QAbstractButton::clicked, m_model, &AaPopupModel::toggleHighlightThrottled);
    layout->addWidget(highlight);
    m_highlightDot = new AaPopupSwatch({}, 9, {13, 24}, row);
    m_highlightDot->setObjectName(QStringLiteral("highlightPalette"));
    m_highlightDot->setRing(AaPopupLook::withOpacity(AaPopupLook::ink(m_dark), 0.45), 0.5);
    connect(m_highlightDot, &QAbstractButton::clicked, m_model, &AaPopupModel::toggleHighlightPalette);
    layout->addWidget(m_highlightDot);
    layout->addStretch();
    return row;
}

QWidget* AaPopupView::buildStyleRows()
{
    auto* rows = new QWidget(this);
    auto* layout = new QVBoxLayout(rows);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const QColor rule = m_dark ? QColor(255, 255, 255, 31) : QColor(0, 0, 0, 31);
    for (const char* style : {"Title", "Heading", "Body"}) {
        if (!m_styleButtons.empty()) {
            auto* line = new QHBoxLayout;
            line->setContentsMargins(12, 0, 12, 0);
            line->addWidget(new Rule(rule, Qt::Horizontal, rows));
            layout->addLayout(line);
        }
        auto* button = new AaPopupStyleButton(QLatin1String(style), m_dark, rows);
        button->setObjectName(QStringLiteral("style.") + QLatin1String(style));
        connect(button, &QAbstractButton::clicked, m_model, [this, style] { m_model->selectFullStyle(QLatin1String(style)); });
        layout->addWidget(button);
        m_styleButtons.push_back(button);
    }
    return rows;
}

QWidget* AaPopupView::buildFontSizeRow()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(12, 6, 12, 4);
    layout->setSpacing(6);
    auto* label = new QLabel(QStringLiteral("Font size"), row);
    label->setFont(viewFont(13));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, AaPopupLook::ink(m_dark));
    label->setPalette(palette);
    layout->addWidget(label);
    layout->addStretch();
    const AaPopupChip::Look step {.fontSize = 15, .weight = QFont::Medium, .height = 24, .inactiveOpacity = 0.8, .width = 20, .filled = false};
    auto* minus = new AaPopupChip(QStringLiteral("\u2212"), step, m_dark, row);
    minus->setObjectName(QStringLiteral("fontSize.minus"));
    connect(minus, &QAbstractButton::clicked, m_model, &AaPopupModel::decrementFontSize);
    layout->addWidget(minus);

    m_fontSizeField = new QLineEdit(row);
    m_fontSizeField->setObjectName(QStringLiteral("fontSize.field"));
    m_fontSizeField->setFixedSize(30, 16);
    m_fontSizeField->setAlignment(Qt::AlignCenter);
    m_fontSizeField->setFrame(false);
    m_fontSizeField->setFont(viewFont(12));
    const QColor fill = AaPopupLook::wash(m_dark, 0.08);
    const QColor text = AaPopupLook::ink(m_dark);
    m_fontSizeField->setStyleSheet(QStringLiteral("QLineEdit { border: none; border-radius: 6px; padding: 0; "
                                                  "background: rgba(%1, %2, %3, %4); color: rgba(%5, %6, %7, %8); }")
                                       .arg(fill.red())
                                       .arg(fill.green())
                                       .arg(fill.blue())
                                       .arg(fill.alpha())
                                       .arg(text.red())
                                       .arg(text.green())
                                       .arg(text.blue())
                                       .arg(text.alpha()));
    connect(m_fontSizeField, &QLineEdit::textEdited, m_model, &AaPopupModel::setFontSizeInput);
    // Return and leaving the field both finish an edit; only a typed change is committed.
    connect(m_fontSizeField, &QLineEdit::editingFinished, m_model, [this] {
        if (m_fontSizeField->isModified()) {
            m_fontSizeField->setModified(false);
            m_model->commitFontSizeInput();
        }
    });
    layout->addWidget(m_fontSizeField);

    auto* plus = new AaPopupChip(QStringLiteral("+"), step, m_dark, row);
    plus->setObjectName(QStringLiteral("fontSize.plus"));
    connect(plus, &QAbstractButton::clicked, m_model, &AaPopupModel::incrementFontSize);
    layout->addWidget(plus);
    return row;
}

void AaPopupView::refresh()
{
    for (const auto& [chip, active] : m_formatChips) {
        chip->setActive(active());
    }
    m_highlightDot->setHex(m_model->highlightHex());
    for (AaPopupStyleButton* button : m_styleButtons) {
        button->setMarked(button->text() == m_model->styleSelection());
    }
    if (m_fontSizeField->text() != m_model->fontSizeInput()) {
        m_fontSizeField->setText(m_model->fontSizeInput());
    }
    m_disclosure->setExpanded(m_model->expanded());
    if (m_model->expanded() != m_shownExpanded) {
        m_shownExpanded = m_model->expanded();
        animateHeight();
    }
    syncHighlightPalette();
}

void AaPopupView::animateHeight()
{
    if (m_shownExpanded) {
        m_sections->show();
    }
    m_heightAnimation->stop();
    m_heightAnimation->setStartValue(height());
    m_heightAnimation->setEndValue(m_shownExpanded ? expandedHeight : compactHeight);
    m_heightAnimation->start();
}

void AaPopupView::finishAnimation()
{
    if (m_heightAnimation->state() == QAbstractAnimation::Running) {
        m_heightAnimation->setCurrentTime(m_heightAnimation->duration());
    }
}

void AaPopupView::syncHighlightPalette()
{
    const bool shown = m_highlightPalette && m_highlightPalette->isVisible();
    if (m_model->showHighlightPalette() && !shown) {
        if (!m_highlightPalette) {
            auto* content = new AaPopupHighlightPalette(*m_model, m_dark);
            m_highlightPalette = new Popover(content->size());
            m_highlightPalette->setContentWidget(content);
            connect(m_highlightPalette, &Popover::closed, m_model, [this] { m_model->setShowHighlightPalette(false); });
        }
        m_highlightPalette->showRelativeTo(QRect(m_formatRow->mapToGlobal(QPoint(0, 0)), m_formatRow->size()));
    } else if (!m_model->showHighlightPalette() && shown) {
        m_highlightPalette->performClose();
    }
}

void AaPopupView::showEvent(QShowEvent* event)
{
    m_model->syncInputsOnAppear();
    QWidget::showEvent(event);
}

void AaPopupView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()).adjusted(0.25, 0.25, -0.25, -0.25), 13, 13);
    painter.fillPath(shape, AaPopupLook::background(m_dark));
    painter.setPen(QPen(AaPopupLook::wash(m_dark, 0.12), 0.5));
    painter.drawPath(shape);
}

} // namespace norvelle
