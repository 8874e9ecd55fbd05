#pragma once

#include <QWidget>

namespace norvelle {

class TextLabel;

// One feature slide of the onboarding: a picture 200 tall over a centred title and text.
class OnboardingSlide : public QWidget {
    Q_OBJECT
public:
    OnboardingSlide(QWidget* picture, const QString& title, const QString& body, QWidget* parent = nullptr);

    QString title() const;
    QString body() const;

    // A bold title over a text in the secondary colour, both centred, wrapped at `width`
    // (the slides' and the account page's).
    static QWidget* textBlock(const QString& title, qreal titleSize, const QString& body, qreal bodySize,
        int spacing, int width);

private:
    TextLabel* m_title = nullptr;
    TextLabel* m_body = nullptr;
};

} // namespace norvelle
