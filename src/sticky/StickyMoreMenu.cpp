#include "sticky/StickyMoreMenu.h"

#include "ui/MenuEntry.h"

#include <QLabel>
#include <QMouseEvent>
#include <QWidgetAction>

namespace norvelle {

namespace {

// A menu row whose title is drawn in red: a destructive command.
class DestructiveItem : public QLabel {
public:
    DestructiveItem(const QString& text, QAction& action)
        : QLabel(text)
        , m_action(action)
    {
        setObjectName(QStringLiteral("destructiveItem"));
        setStyleSheet(QStringLiteral("#destructiveItem { color: #FF3B30; padding: 4px 20px 4px 24px; }"
                                     "#destructiveItem:hover { background: palette(highlight); }"));
        setAttribute(Qt::WA_Hover);
    }

protected:
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
}

QAction* StickyMoreMenu::action(const QString& text) const
{
    return menuEntry(*this, text);
}

} // namespace norvelle
