#include "settings/ClipboardPane.h"

#include "clipboard/ClipboardRetentionMode.h"
#include "platform/StoredSettings.h"
#include "settings/SettingsSection.h"
#include "settings/StoredChoicePicker.h"

namespace norvelle {

ClipboardPane::ClipboardPane(QWidget* parent)
    : SettingsForm(parent)
{
    SettingsSection* section = addSection(QStringLiteral("Clipboard history"));
    QList<StoredChoicePicker::Option> modes;
    for (const ClipboardRetentionMode& mode : ClipboardRetentionMode::allCases()) {
        modes.append({mode.title(), mode.rawValue()});
    }
    m_retention = new StoredChoicePicker(storedSettings::clipboardRetentionMode, modes);
    section->addLabelledRow(QStringLiteral("Keep copied items"), m_retention);
    section->addText(QStringLiteral(
        "History stays in memory only (not saved to disk). “Until you quit Norvelle” matches a typical "
        "session: the list is empty the next time you open the app. Timed options remove clips older than "
        "the chosen window while Norvelle is running; quitting still clears the list."));
}

} // namespace norvelle
