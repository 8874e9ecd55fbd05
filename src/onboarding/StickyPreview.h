#pragma once

#include <QList>
#include <QWidget>

namespace norvelle {

// A drawing of a yellow sticky note with a short checklist, slightly turned, for the
// onboarding. Paper and ink keep their colours in the dark look too.
class StickyPreview : public QWidget {
    Q_OBJECT
public:
    struct Item {
        bool done = false;
        QString text;
    };

    explicit StickyPreview(QList<Item> items, QWidget* parent = nullptr);

    const QList<Item>& items() const { return m_items; }
    QSize sizeHint() const override;
    // The note's own size, before it is turned.
    QSizeF paperSize() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QList<Item> m_items;
};

} // namespace norvelle
