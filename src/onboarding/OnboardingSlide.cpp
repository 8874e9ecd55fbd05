#include "onboarding/OnboardingSlide.h"

#include "ui/TextLabel.h"
#include "ui/ViewFont.h"

#include <QVBoxLayout>

namespace norvelle {

namespace {

constexpr int pictureHeight = 200;

} // namespace

OnboardingSlide::OnboardingSlide(QWidget* picture, const QString& title, const QString& body, QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(20);
    auto* frame = new QWidget(this);
    frame->setFixedHeight(pictureHeight);
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->setContentsMargins(0, 0, 0, 0);
    frameLayout->addWidget(picture, 0, Qt::AlignCenter);
    layout->addWidget(frame);
    QWidget* text = textBlock(title, 24, body, 13.5, 9, 400);
    layout->addWidget(text);
    m_title = text->findChildren<TextLabel*>().value(0);
    m_body = text->findChildren<TextLabel*>().value(1);
}

QString OnboardingSlide::title() const
{
    return m_title->text();
}

QString OnboardingSlide::body() const
{
    return m_body->text();
}

QWidget* OnboardingSlide::textBlock(const QString& title, qreal titleSize, const QString& body, qreal bodySize,
    int spacing, int width)
{
    auto* holder = new QWidget;
    auto* layout = new QVBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    // The texts are fixed: each label is given the height its wrapped lines take at the width.
    const auto add = [&](const QString& text, const QFont& font, SchemeColorRole color) {
        auto* label = new TextLabel(text, font, std::move(color), holder);
        label->setAlignment(Qt::AlignCenter);
        label->setWordWrap(true);
        label->setFixedWidth(width);
        label->setMinimumHeight(label->heightForWidth(width));
        layout->addWidget(label, 0, Qt::AlignHCenter);
    };
    add(title, viewFont(titleSize, QFont::Bold), &SchemeColors::label);
    add(body, viewFont(bodySize), &SchemeColors::secondaryText);
    return holder;
}

} // namespace norvelle
