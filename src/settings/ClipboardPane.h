#pragma once

#include "settings/SettingsForm.h"

namespace norvelle {

class StoredChoicePicker;

// The Clipboard pane: how long copied items stay in the history.
class ClipboardPane : public SettingsForm {
    Q_OBJECT
public:
    explicit ClipboardPane(QWidget* parent = nullptr);

    StoredChoicePicker* retentionPicker() const { return m_retention; }

private:
    StoredChoicePicker* m_retention = nullptr;
};

} // namespace norvelle
