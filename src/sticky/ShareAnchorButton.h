#pragma once

#include "sticky/HeaderSymbolButton.h"

namespace norvelle {

// The header's share button: a click asks for the share menu anchored at the button itself.
// Disabled it is dimmed and says what is missing.
class ShareAnchorButton : public HeaderSymbolButton {
    Q_OBJECT
public:
    explicit ShareAnchorButton(QWidget* parent = nullptr);

    void setShareEnabled(bool enabled);

signals:
    void optionsTapped(QWidget* anchor);
};

} // namespace norvelle
