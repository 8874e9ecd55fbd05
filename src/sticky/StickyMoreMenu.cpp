#include "sticky/StickyMoreMenu.h"

#include "ui/MenuEntry.h"
#include "ui/SchemeStyleSheet.h"

#include <QLabel>
#include <QMouseEvent>
#include <QStyle>
#include <QTimer>
#include <QWidgetAction>

namespace norvelle {

namespace {

// A menu row whose title is drawn in red: a destructive command. It is highlighted while the
// menu has it as its current row, whether the pointer or the arrow keys took it there.
class DestructiveItem : public QLabel {
public:
    DestructiveItem(const QString& text, QAction& action)
        : QLabel(text)
        , m_action(action)
    {
        setObjectName(QStringLiteral("destructiveItem"));
        setSchemeStyleSheet(*this, [](const QPalette& palette) {
            return QStringLiteral("#destructiveItem { color: #FF3B30; padding: 4px 20px 4px 24px; }"
                                  "#destructiveItem[current=\"true\"] { background: %1; color: %2; }")
                .arg(styleSheetColor(palette.color(QPalette::Highlight)), styleSheetColor(palette.color(QPalette::HighlightedText)));
        });
    }

    void setCurrent(bool current)
    {
        if (property("current").toBool() != current) {
            setProperty("current", current);
            style()->unpolish(this);
            style()->polish(this);
        }
    }

protected:
    // The menu lets go of its current row when the pointer leaves it, without saying so.
    void leaveEvent(QEvent* event) override
    {
        QTimer::singleShot(0, this, [this] {
            const auto* menu = qobject_cast<const QMenu*>(parentWidget());
            setCurrent(menu && menu->activeAction() == &m_action);
        });
        QLabel::leaveEvent(event);
    }

    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
            m_action.trigger();
        }
    }

private:
    QAction& m_action;
};

} // namespace

StickyMoreMenu::StickyMoreMenu(bool isArchived, Actions actions, QWidget* parent)
    : QMenu(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    addAction(QStringLiteral("Move to Folder"))->setEnabled(false);
    QAction* duplicate = addAction(QStringLiteral("Duplicate Note"), this, actions.duplicate);
    duplicate->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    addSeparator();
    addAction(QStringLiteral("Open in Main App"))->setEnabled(false);
    addSeparator();
    addAction(isArchived ? QStringLiteral("Unarchive") : QStringLiteral("Archive"), this, actions.toggleArchive);
    addSeparator();

    auto* trash = new QWidgetAction(this);
    trash->setText(QStringLiteral("Move to Trash"));
    trash->setDefaultWidget(new DestructiveItem(trash->text(), *trash));
    connect(trash, &QAction::triggered, this, [this, moveToTrash = actions.moveToTrash] {
        close();
        moveToTrash();
    });
    addAction(trash);
    auto* trashItem = static_cast<DestructiveItem*>(trash->defaultWidget());
    connect(this, &QMenu::hovered, trashItem, [trashItem, trash](QAction* current) { trashItem->setCurrent(current == trash); });
    connect(this, &QMenu::aboutToHide, trashItem, [trashItem] { trashItem->setCurrent(false); });
}

QAction* StickyMoreMenu::action(const QString& text) const
{
    return menuEntry(*this, text);
}

} // namespace norvelle
