#include "clipboard/ClipSearchField.h"

#include "clipboard/ClipButton.h"
#include "clipboard/ClipFonts.h"
#include "clipboard/ClipSymbolView.h"

#include <QHBoxLayout>
#include <QLineEdit>

namespace norvelle {

ClipSearchField::ClipSearchField(const QString& placeholder, Metrics metrics, ClipColorRole fill, QWidget* parent)
    : ClipSurface(std::move(fill), metrics.radius, parent)
{
    const ClipColorRole secondary = &ClipColors::secondaryText;
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(metrics.padding);
    layout->setSpacing(6);

    layout->addWidget(new ClipSymbolView(QStringLiteral("magnifyingglass"), metrics.symbolSize, secondary, this));

    m_lineEdit = new QLineEdit(this);
    m_lineEdit->setFrame(false);
    m_lineEdit->setPlaceholderText(placeholder);
    m_lineEdit->setFont(clipFont(metrics.fontSize));
    m_lineEdit->setAttribute(Qt::WA_MacShowFocusRect, false);
    QPalette transparent = m_lineEdit->palette();
    transparent.setColor(QPalette::Base, Qt::transparent);
    m_lineEdit->setPalette(transparent);
    layout->addWidget(m_lineEdit, 1);

    m_clearButton = new ClipButton({}, {.font = clipFont(metrics.symbolSize), .color = secondary,
                                        .symbol = QStringLiteral("xmark.circle.fill"),
                                        .symbolSize = metrics.symbolSize}, this);
    m_clearButton->hide();
    layout->addWidget(m_clearButton);

    connect(m_clearButton, &QAbstractButton::clicked, m_lineEdit, &QLineEdit::clear);
    connect(m_lineEdit, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_clearButton->setVisible(!text.isEmpty());
        emit textChanged(text);
    });
}

QString ClipSearchField::text() const
{
    return m_lineEdit->text();
}

void ClipSearchField::setText(const QString& text)
{
    m_lineEdit->setText(text);
}

} // namespace norvelle
