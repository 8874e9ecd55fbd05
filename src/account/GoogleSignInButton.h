#pragma once

#include <QAbstractButton>

namespace norvelle {

// "Continue with Google": a multicoloured "G" and the label on a white (light) or dark grey
// (dark) rounded button with a faint border.
class GoogleSignInButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit GoogleSignInButton(QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace norvelle
