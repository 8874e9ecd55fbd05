#include "settings/SettingsSection.h"

#include "settings/ToggleSwitch.h"
#include "ui/TextLabel.h"
#include "ui/ViewFont.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

namespace norvelle {

namespace {

constexpr qreal boxRadius = 8;

// The rounded box behind the rows, with a hairline between each two of them.
class SectionBox : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const SchemeColors colors(palette());
        const bool dark = SchemeColors::isDarkScheme(palette());
        painter.setPen(QPen(colors.overlay(0.08, 0.09), 1));
        painter.setBrush(dark ? QColor(255, 255, 255, 13) : QColor(Qt::white));
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), boxRadius, boxRadius);
        painter.setPen(QPen(colors.overlay(0.07, 0.07), 1));
        const QList<QWidget*> rows = findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (qsizetype i = 1; i < rows.size(); ++i) {
            if (rows[i]->isVisible()) {
                const int y = rows[i]->geometry().top() - 1;
                painter.drawLine(QPointF(12, y + 0.5), QPointF(width() - 12, y + 0.5));
            }
        }
    }
};

} // namespace

SettingsSection::SettingsSection(const QString& header, QWidget* parent)
    : QWidget(parent)
    , m_header(header)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    if (!header.isEmpty()) {
        auto* title = new TextLabel(header, viewFont(13, QFont::DemiBold), &SchemeColors::label, this);
        title->setContentsMargins(4, 0, 0, 0);
        layout->addWidget(title);
    }
    m_box = new SectionBox(this);
    m_rows = new QVBoxLayout(m_box);
    m_rows->setContentsMargins(12, 2, 12, 2);
    m_rows->setSpacing(2);
    layout->addWidget(m_box);
}

void SettingsSection::addRow(QWidget* row)
{
    row->setParent(m_box);
    row->setMinimumHeight(std::max(row->minimumHeight(), 34));
    m_rows->addWidget(row);
}

QWidget* SettingsSection::addLabelledRow(const QString& title, QWidget* control)
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 6, 0, 6);
    layout->setSpacing(12);
    auto* label = new TextLabel(title, viewFont(13), &SchemeColors::label, row);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(label, 1, Qt::AlignTop);
    layout->addWidget(control, 0, Qt::AlignTop | Qt::AlignRight);
    addRow(row);
    return row;
}

ToggleSwitch* SettingsSection::addSwitch(const QString& title)
{
    auto* toggle = new ToggleSwitch;
    toggle->setAccessibleName(title);
    addLabelledRow(title, toggle);
    return toggle;
}

QWidget* SettingsSection::addButtons(std::initializer_list<QWidget*> buttons)
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 8, 0, 8);
    for (QWidget* button : buttons) {
        layout->addWidget(button);
    }
    layout->addStretch(1);
    addRow(row);
    return row;
}

TextLabel* SettingsSection::addText(const QString& text, qreal size, SchemeColorRole color)
{
    auto* label = new TextLabel(text, viewFont(size), std::move(color));
    label->setWordWrap(true);
    label->setContentsMargins(0, 8, 0, 8);
    addRow(label);
    return label;
}

} // namespace norvelle
