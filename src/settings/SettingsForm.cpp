#include "settings/SettingsForm.h"

#include "settings/SettingsSection.h"
#include "ui/ThinControlStyle.h"

#include <QScrollBar>
#include <QVBoxLayout>

namespace norvelle {

SettingsForm::SettingsForm(QWidget* parent)
    : QScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* content = new QWidget;
    m_sections = new QVBoxLayout(content);
    m_sections->setContentsMargins(16, 16, 16, 16);
    m_sections->setSpacing(18);
    m_sections->addStretch(1);
    setWidget(content);
    // The view's own background shows through.
    content->setAutoFillBackground(false);
    viewport()->setAutoFillBackground(false);
    useThinScrollBar(*verticalScrollBar());
}

SettingsSection* SettingsForm::addSection(const QString& header)
{
    auto* section = new SettingsSection(header, widget());
    m_sections->insertWidget(m_sections->count() - 1, section);
    return section;
}

QList<SettingsSection*> SettingsForm::sections() const
{
    QList<SettingsSection*> sections;
    for (int i = 0; i < m_sections->count(); ++i) {
        if (auto* section = qobject_cast<SettingsSection*>(m_sections->itemAt(i)->widget())) {
            sections << section;
        }
    }
    return sections;
}

} // namespace norvelle
