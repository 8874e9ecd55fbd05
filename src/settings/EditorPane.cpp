#include "settings/EditorPane.h"

#include "settings/SettingsSection.h"
#include "settings/ToggleSwitch.h"

namespace norvelle {

namespace {

void holdAt(ToggleSwitch& toggle, bool value)
{
    toggle.setChecked(value);
    QObject::connect(&toggle, &QAbstractButton::toggled, &toggle, [&toggle, value](bool checked) {
        if (checked != value) {
            toggle.setChecked(value);
        }
    });
}

} // namespace

EditorPane::EditorPane(QWidget* parent)
    : SettingsForm(parent)
{
    SettingsSection* section = addSection(QStringLiteral("Editing"));
    m_checklistAutoformat = section->addSwitch(QStringLiteral("Enable rich checklist autoformat"));
    holdAt(*m_checklistAutoformat, true);
    m_pastePlainText = section->addSwitch(QStringLiteral("Paste as plain text by default"));
    holdAt(*m_pastePlainText, false);
}

} // namespace norvelle
