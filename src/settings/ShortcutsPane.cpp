#include "settings/ShortcutsPane.h"

#include "platform/NotificationCenter.h"
#include "settings/SettingsButton.h"
#include "settings/SettingsSection.h"
#include "settings/ShortcutRow.h"
#include "ui/MessageBoxRoom.h"
#include "ui/SchemePalette.h"

#include <QMessageBox>
#include <QPushButton>

namespace norvelle {

namespace {

QString presetNames(ShortcutModifierPreset preset)
{
    return modifierNames(modifierFlags(preset));
}

QString shortcutsExplanation()
{
    const ShortcutModifierFlags commandShift = modifierFlags(ShortcutModifierPreset::commandShift);
    return QStringLiteral("Norvelle only offers shortcuts with %1, %2, or %3 so they don’t replace common "
                          "single-%4 desktop shortcuts (Lock Screen, Show Desktop, the launcher, and similar). %5, %6, and "
                          "%7 are not allowed — they stay free for screenshot tools.")
        .arg(presetNames(ShortcutModifierPreset::commandShift), presetNames(ShortcutModifierPreset::commandOption),
            presetNames(ShortcutModifierPreset::controlOptionCommand), modifierNames(ShortcutModifier::command),
            shortcutLabel(commandShift, QStringLiteral("3")), shortcutLabel(commandShift, QStringLiteral("4")),
            shortcutLabel(commandShift, QStringLiteral("5")));
}

} // namespace

ShortcutsPane::ShortcutsPane(QWidget* parent)
    : SettingsForm(parent)
    , m_profile(loadShortcutsProfile())
{
    addSection(QStringLiteral("Tray"))->addText(QStringLiteral("Use the tray icons for clipboard history and creating a new note. The global shortcuts below "
                                                               "work from any app — no extra permissions needed."),
        13);

    SettingsSection* shortcuts = addSection(QStringLiteral("Keyboard shortcuts"));
    shortcuts->addText(shortcutsExplanation());
    for (const NorvelleShortcutAction action : allShortcutActions()) {
        auto* row = new ShortcutRow(action);
        connect(row, &ShortcutRow::changeRequested, this, &ShortcutsPane::applyShortcutChange);
        m_rows.emplace(action, row);
        shortcuts->addRow(row);
    }
    m_restore = makeSettingsButton(QStringLiteral("Restore default shortcuts"), 8, 28);
    connect(m_restore, &QPushButton::clicked, this, &ShortcutsPane::restoreDefaults);
    shortcuts->addButtons({m_restore});

    // The "Active:" lines follow the stored profile, whoever saved it.
    NotificationCenter::defaultCenter().addObserver(shortcutsChangedNotification(), this, [this](const Notification&) {
        for (const auto& [action, row] : m_rows) {
            row->refreshActive();
        }
    });
    showProfile();
}

void ShortcutsPane::applyShortcutChange(NorvelleShortcutAction action, const ActionShortcut& proposal)
{
    if (const std::optional<QString> message = shortcutValidationMessage(action, proposal, m_profile)) {
        showAlert(*message);
        // The control that was operated goes back to the entry in force.
        m_rows.at(action)->showEntry(m_profile.shortcut(action));
        return;
    }
    m_profile.setShortcut(action, proposal);
    saveShortcutsProfile(m_profile);
    m_rows.at(action)->showEntry(proposal);
}

void ShortcutsPane::restoreDefaults()
{
    m_profile = NorvelleShortcutsProfile::defaults();
    saveShortcutsProfile(m_profile);
    showProfile();
}

void ShortcutsPane::showProfile()
{
    for (const auto& [action, row] : m_rows) {
        row->showEntry(m_profile.shortcut(action));
    }
}

void ShortcutsPane::showAlert(const QString& message)
{
    m_alertMessage = message;
    if (!m_alert) {
        m_alert = new QMessageBox(QMessageBox::NoIcon, QStringLiteral("Norvelle"), QString(), QMessageBox::NoButton, window());
        m_alert->addButton(QStringLiteral("OK"), QMessageBox::RejectRole);
        m_alert->setWindowModality(Qt::WindowModal);
        followSchemeOf(*m_alert, *this);
        connect(m_alert, &QDialog::finished, this, [this] { m_alertMessage.reset(); });
    }
    m_alert->setText(QStringLiteral("Norvelle"));
    m_alert->setInformativeText(message);
    // After the texts: setting them lays the box out anew.
    giveMessageRoom(*m_alert);
    m_alert->open();
}

} // namespace norvelle
