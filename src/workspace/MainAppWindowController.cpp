#include "workspace/MainAppWindowController.h"

#include "platform/LoginItem.h"
#include "store/PersistenceController.h"
#include "workspace/WorkspaceFoldersStore.h"
#include "workspace/WorkspaceView.h"

#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

namespace norvelle {

namespace {

std::unique_ptr<QWidget> makeCentredWindow()
{
    auto window = WindowController::makeWindow("Norvelle", {1100, 680}, {680, 420});
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(0, 0), window->size());
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
    return window;
}

} // namespace

MainAppWindowController::MainAppWindowController(QObject* parent)
    : WindowController(makeCentredWindow(), parent)
    , m_view(new WorkspaceView(
          PersistenceController::shared().viewContext(), WorkspaceFoldersStore::shared(),
          [] { return LoginItem::status() == LoginItem::Status::enabled; },
          [] { return LoginItem::registerItem(); }, window()))
{
    auto* layout = new QVBoxLayout(window());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
}

} // namespace norvelle
