#pragma once

#include "platform/StoredSettings.h"

#include <QList>
#include <QPair>
#include <QWidget>

class QButtonGroup;
class QRadioButton;

namespace norvelle {

// A radio group bound to a text setting (its default marks a button while nothing is stored): one button per option (its title, tagged with the
// raw value it stores). Choosing one stores its raw value at once; a stored text that names
// no option leaves every button unmarked. Follows changes made elsewhere.
class StoredChoicePicker : public QWidget {
    Q_OBJECT
public:
    using Option = QPair<QString, QString>; // title, raw value

    StoredChoicePicker(const TextSetting& setting, const QList<Option>& options, QWidget* parent = nullptr);

    QRadioButton* button(const QString& rawValue) const;
    // The raw value of the marked button; empty when none is marked.
    QString chosen() const;

private:
    void showStored();

    TextSetting m_setting;
    QList<Option> m_options;
    QButtonGroup* m_group = nullptr;
};

} // namespace norvelle
