#include "app/AppDelegate.h"

#include "account/CollaborationWindowController.h"
#include "core/OSLogAnalyticsTracker.h"
#include "onboarding/OnboardingWindowController.h"
#include "platform/MainQueue.h"
#include "platform/NotificationCenter.h"
#include "platform/Pasteboard.h"
#include "settings/SettingsPane.h"
#include "settings/SettingsWindowController.h"
#include "workspace/MainAppWindowController.h"

#include <QAction>
#include <QApplication>

namespace norvelle {

namespace {

// Drops a controller on a later turn: it may be the one whose callback is running now.
template <typename Controller>
void dropLater(std::unique_ptr<Controller>& controller)
{
    if (controller) {
        controller.release()->deleteLater();
    }
}

} // namespace

void AppDelegate::offerSettings(QWidget& window)
{
    // A shortcut only works through a visible widget that holds its action.
    if (!window.actions().contains(m_settingsAction)) {
        window.addAction(m_settingsAction);
    }
}

void AppDelegate::showAndActivate(WindowController& controller)
{
    offerSettings(*controller.window());
    controller.showWindow();
}

void AppDelegate::openMainWindow()
{
    if (!m_mainAppWindowController) {
        m_mainAppWindowController = std::make_unique<MainAppWindowController>();
    }
    m_activationPolicy = ActivationPolicy::regular;
    showAndActivate(*m_mainAppWindowController);
    observePrimaryWindow(m_mainAppWindowController.get());
}

void AppDelegate::openSettings(const std::optional<QString>& pane)
{
    if (!m_settingsWindowController) {
        m_settingsWindowController = std::make_unique<SettingsWindowController>();
    }
    m_activationPolicy = ActivationPolicy::regular;
    showAndActivate(*m_settingsWindowController);
    observePrimaryWindow(m_settingsWindowController.get());
    if (pane) {
        NotificationCenter::defaultCenter().post(openSettingsPaneNotification, nullptr, {{"pane", *pane}});
    }
}

void AppDelegate::showOnboarding()
{
    dropLater(m_onboardingWindowController);
    m_onboardingWindowController = std::make_unique<OnboardingWindowController>();
    m_onboardingWindowController->onFinish = [delegate = QPointer<AppDelegate>(this)] {
        if (delegate) {
            dropLater(delegate->m_onboardingWindowController);
            delegate->openMainWindow();
        }
    };
    showAndActivate(*m_onboardingWindowController);
}

void AppDelegate::openCollaboration(StickyNote& note)
{
    if (m_collaborationWindowController) {
        // The earlier share window stays open; its controller goes once it closes.
        CollaborationWindowController* earlier = m_collaborationWindowController.release();
        if (earlier->window()->isVisible()) {
            connect(earlier, &WindowController::windowWillClose, earlier, &QObject::deleteLater);
        } else {
            earlier->deleteLater();
        }
    }
    m_collaborationWindowController = std::make_unique<CollaborationWindowController>(
        CollaborationWindowController::makeWindow(note, OSLogAnalyticsTracker::shared(), Pasteboard::general()));
    showAndActivate(*m_collaborationWindowController);
}

void AppDelegate::observePrimaryWindow(WindowController* controller)
{
    if (!controller) {
        return;
    }
    disconnect(m_primaryWindowObservers.value(controller));
    m_primaryWindowObservers.insert(controller,
        connect(controller, &WindowController::windowWillClose, this, &AppDelegate::primaryWindowWillClose));
}

void AppDelegate::primaryWindowWillClose()
{
    // The window is still on screen now: decide once its closing is complete.
    MainQueue::async([delegate = QPointer<AppDelegate>(this)] {
        if (delegate) {
            delegate->updateActivationPolicy();
        }
    },
        this);
}

void AppDelegate::updateActivationPolicy()
{
    const auto visible = [](const WindowController* controller) {
        return controller && controller->window()->isVisible();
    };
    m_activationPolicy = visible(m_mainAppWindowController.get()) || visible(m_settingsWindowController.get())
        ? ActivationPolicy::regular
        : ActivationPolicy::accessory;
}

bool AppDelegate::hasVisibleWindows() const
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(), [](const QWidget* window) {
        return window->isVisible() && window->windowType() != Qt::Popup && window->windowType() != Qt::ToolTip;
    });
}

bool AppDelegate::applicationShouldHandleReopen(bool hasVisibleWindows)
{
    if (!hasVisibleWindows) {
        openMainWindow();
    }
    return true;
}

} // namespace norvelle
