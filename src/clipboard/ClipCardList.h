#pragma once

#include "clipboard/ClipListWidget.h"

#include <QTextLayout>

#include <memory>
#include <vector>

namespace norvelle {

// The clip cards of the history pane, drawn in one widget: the image or a kind icon, the title
// on up to two lines, source and age, and on the card under the pointer the buttons new sticky,
// copy and delete. Its height follows its width (titles wrap).
class ClipCardList : public ClipListWidget {
    Q_OBJECT
public:
    // The hover buttons, also the part numbers of clicked().
    enum class Action { newSticky,
        copy,
        remove };

    explicit ClipCardList(QWidget* parent = nullptr);
    ~ClipCardList() override;

    QRect itemRect(int index) const override;
    // A hover button of card `index`; empty when that card does not show it.
    QRect buttonRect(int index, Action action) const;
    static QString buttonHelp(Action action);

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;

protected:
    int partAt(int index, QPoint position) const override;
    QRect partRect(int index, int part) const override;
    void paintItem(QPainter& painter, int index, const QDateTime& now) const override;
    void entriesChanged() override;
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Card {
        QRect rect;
        std::unique_ptr<QTextLayout> title;
        qreal titleHeight = 0;
    };
    void layoutCards(int width);
    std::vector<Card> makeCards(int width) const;
    QList<Action> actions(int index) const;

    std::vector<Card> m_cards;
    int m_laidOutWidth = -1;
};

} // namespace norvelle
