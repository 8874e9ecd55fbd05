#pragma once

class QAbstractButton;

namespace norvelle {

struct BoolSetting;

// Shows `setting` on a checkable button, stores each click at once and follows changes made
// elsewhere.
void bindSwitch(QAbstractButton& button, const BoolSetting& setting);

} // namespace norvelle
