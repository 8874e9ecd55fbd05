#include "settings/StoredChoicePicker.h"

#include "platform/UserDefaults.h"
#include "ui/ThinControlStyle.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

namespace norvelle {

StoredChoicePicker::StoredChoicePicker(const TextSetting& setting, const QList<Option>& options, QWidget* parent)
    : QWidget(parent)
    , m_setting(setting)
    , m_options(options)
    , m_group(new QButtonGroup(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    for (qsizetype i = 0; i < options.size(); ++i) {
        auto* button = new QRadioButton(options[i].first, this);
        useSchemeRadioMark(*button);
        m_group->addButton(button, int(i));
        layout->addWidget(button);
    }
    connect(m_group, &QButtonGroup::idClicked, this, [this](int id) {
        m_setting.set(m_options[id].second);
    });
    connect(&UserDefaults::standard(), &UserDefaults::changed, this, [this](const QString& changed) {
        if (changed == m_setting.key) {
            showStored();
        }
    });
    showStored();
}

QRadioButton* StoredChoicePicker::button(const QString& rawValue) const
{
    for (qsizetype i = 0; i < m_options.size(); ++i) {
        if (m_options[i].second == rawValue) {
            return qobject_cast<QRadioButton*>(m_group->button(int(i)));
        }
    }
    return nullptr;
}

QString StoredChoicePicker::chosen() const
{
    const int id = m_group->checkedId();
    return id < 0 ? QString() : m_options[id].second;
}

void StoredChoicePicker::showStored()
{
    const QString stored = m_setting.value();
    // An exclusive group cannot show "none marked".
    m_group->setExclusive(false);
    for (qsizetype i = 0; i < m_options.size(); ++i) {
        m_group->button(int(i))->setChecked(m_options[i].second == stored);
    }
    m_group->setExclusive(true);
}

} // namespace norvelle
