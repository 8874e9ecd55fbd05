#pragma once

#include <QWidget>

namespace norvelle {

// A drawing of two computers with a sync arrow between them, for the onboarding. Follows the
// light or dark look of its palette.
class SyncPreview : public QWidget {
    Q_OBJECT
public:
    explicit SyncPreview(QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace norvelle
