#pragma once

#include <QWidget>

namespace norvelle {

// One 7 × 7 dot per onboarding page, 7 apart; the current page's dot in the brand colour.
class OnboardingPageDots : public QWidget {
    Q_OBJECT
public:
    OnboardingPageDots(int count, QWidget* parent = nullptr);

    void setCurrent(int index);
    int current() const { return m_current; }
    int count() const { return m_count; }
    // Where dot `index` is drawn.
    QRectF dotRect(int index) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_count;
    int m_current = 0;
};

} // namespace norvelle
