#include "ui/SearchField.h"

#include "ui/PlainButton.h"
#include "ui/SymbolView.h"
#include "ui/ViewFont.h"

#include <QHBoxLayout>
#include <QLineEdit>

namespace norvelle {

SearchField::SearchField(const QString& placeholder, Metrics metrics, SchemeColorRole fill, QWidget* parent)
    : RoundedSurface(std::move(fill), metrics.radius, parent)
{
    const SchemeColorRole secondary = &SchemeColors::secondaryText;
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(metrics.padding);
    layout->setSpacing(6);

    layout->addWidget(new SymbolView(QStringLiteral("magnifyingglass"), metrics.symbolSize, secondary, this));

    m_lineEdit = new QLineEdit(this);
    m_lineEdit->setFrame(false);
    m_lineEdit->setPlaceholderText(placeholder);
    m_lineEdit->setFont(viewFont(metrics.fontSize));
    m_lineEdit->setAttribute(Qt::WA_MacShowFocusRect, false);
    QPalette transparent = m_lineEdit->palette();
    transparent.setColor(QPalette::Base, Qt::transparent);
    m_lineEdit->setPalette(transparent);
    layout->addWidget(m_lineEdit, 1);

    connect(m_lineEdit, &QLineEdit::textChanged, this, &SearchField::textChanged);
    if (!metrics.clearButton) {
        return;
    }
    m_clearButton = new PlainButton({}, {.font = viewFont(metrics.symbolSize), .color = secondary, .symbol = QStringLiteral("xmark.circle.fill"), .symbolSize = metrics.symbolSize}, this);
    m_clearButton->hide();
    layout->addWidget(m_clearButton);
    connect(m_clearButton, &QAbstractButton::clicked, m_lineEdit, &QLineEdit::clear);
    connect(m_lineEdit, &QLineEdit::textChanged, m_clearButton,
        [button = m_clearButton](const QString& text) { button->setVisible(!text.isEmpty()); });
}

QString SearchField::text() const
{
    return m_lineEdit->text();
}

void SearchField::setText(const QString& text)
{
    m_lineEdit->setText(text);
}

} // namespace norvelle
