#include "settings/ShortcutRow.h"

#include "core/AppDelegating.h"
#include "core/NorvelleShortcutsProfile.h"
#include "settings/ToggleSwitch.h"
#include "ui/SchemePalette.h"
#include "ui/TextLabel.h"
#include "ui/ViewFont.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

namespace norvelle {

namespace {

QString presetTitle(ShortcutModifierPreset preset)
{
    const QString names = modifierNames(modifierFlags(preset));
    return preset == ShortcutModifierPreset::commandShift ? names + QStringLiteral(" — recommended") : names;
}

} // namespace

ShortcutRow::ShortcutRow(NorvelleShortcutAction action, QWidget* parent)
    : QWidget(parent)
    , m_action(action)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 10, 0, 10);
    layout->setSpacing(8);
    layout->addWidget(new TextLabel(shortcutActionTitle(action), viewFont(12, QFont::DemiBold), &SchemeColors::label, this));
    m_active = new TextLabel({}, viewFont(10), &SchemeColors::secondaryText, this);
    layout->addWidget(m_active);

    const QString defaultLetter = shortcutActionDefaultLetter(action);
    const QString defaultTitle = QStringLiteral("Use Norvelle default (%1)")
                                     .arg(shortcutLabel(modifierFlags(ShortcutModifierPreset::commandShift), defaultLetter));
    auto* switchRow = new QHBoxLayout;
    switchRow->setSpacing(12);
    switchRow->addWidget(new TextLabel(defaultTitle, viewFont(13), &SchemeColors::label, this), 1);
    m_default = new ToggleSwitch(this);
    m_default->setAccessibleName(defaultTitle);
    switchRow->addWidget(m_default);
    layout->addLayout(switchRow);

    m_modifiers = new QComboBox;
    for (const ShortcutModifierPreset preset : allShortcutModifierPresets()) {
        m_modifiers->addItem(presetTitle(preset), QVariant::fromValue(int(preset)));
    }
    m_letter = new QComboBox;
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        m_letter->addItem(QString(QChar(letter)).toUpper(), QString(QChar(letter)));
    }
    m_letter->setMaxVisibleItems(13);
    for (QComboBox* picker : {m_modifiers, m_letter}) {
        followSchemeOf(*picker->view()->window(), *picker);
    }
    m_pickers = new QWidget(this);
    auto* pickers = new QVBoxLayout(m_pickers);
    pickers->setContentsMargins(0, 0, 0, 0);
    pickers->setSpacing(6);
    pickers->addWidget(makeLabelledPicker(QStringLiteral("Modifiers"), m_modifiers));
    pickers->addWidget(makeLabelledPicker(QStringLiteral("Letter key"), m_letter));
    layout->addWidget(m_pickers);
    // One width for both, wide enough for the longest choice ("Shift+Super — recommended").
    const int pickerWidth = std::max({200, m_modifiers->sizeHint().width(), m_letter->sizeHint().width()});
    m_modifiers->setFixedWidth(pickerWidth);
    m_letter->setFixedWidth(pickerWidth);
    m_modifiers->installEventFilter(this);
    m_letter->installEventFilter(this);

    connect(m_default, &QAbstractButton::clicked, this, [this](bool on) {
        ActionShortcut proposal = m_entry;
        proposal.usesDefault = on;
        emit changeRequested(m_action, proposal);
    });
    connect(m_modifiers, &QComboBox::activated, this, [this](int index) {
        ActionShortcut proposal = m_entry;
        proposal.modifierPreset = allShortcutModifierPresets()[index];
        emit changeRequested(m_action, proposal);
    });
    connect(m_letter, &QComboBox::activated, this, [this](int index) {
        ActionShortcut proposal = m_entry;
        proposal.keyLetter = m_letter->itemData(index).toString();
        emit changeRequested(m_action, proposal);
    });
    refreshActive();
}

// A user trying a shortcut while a picker has the keyboard types a chord into it; a picker would
// take its letter or arrow as a choice and quietly change the shortcut. So would the wheel of a
// user scrolling the pane past it: the wheel goes on to the pane.
bool ShortcutRow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Wheel) {
        QCoreApplication::sendEvent(this, event);
        return true;
    }
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
        const auto modifiers = static_cast<QKeyEvent*>(event)->modifiers();
        if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
            return event->type() == QEvent::KeyPress;
        }
    }
    return QWidget::eventFilter(watched, event);
}

QWidget* ShortcutRow::makeLabelledPicker(const QString& title, QComboBox* picker)
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    layout->addWidget(new TextLabel(title, viewFont(13), &SchemeColors::label, row), 1);
    picker->setAccessibleName(title);
    layout->addWidget(picker);
    return row;
}

void ShortcutRow::showEntry(const ActionShortcut& entry)
{
    m_entry = entry;
    const QSignalBlocker blockSwitch(m_default);
    m_default->setChecked(entry.usesDefault);
    m_pickers->setVisible(!entry.usesDefault);
    const auto& presets = allShortcutModifierPresets();
    m_modifiers->setCurrentIndex(int(std::find(presets.begin(), presets.end(), entry.modifierPreset) - presets.begin()));
    // An empty letter shows the default one; a first character that is no letter shows none.
    const QString letter = entry.keyLetter.isEmpty() ? shortcutActionDefaultLetter(m_action) : entry.keyLetter.left(1).toLower();
    m_letter->setCurrentIndex(m_letter->findData(letter));
    refreshActive();
}

void ShortcutRow::refreshActive()
{
    const QString label = loadShortcutsProfile().label(m_action);
    const AppDelegating* app = AppDelegating::current();
    m_active->setText(app && app->isShortcutHeldElsewhere(m_action)
            ? QStringLiteral("Active: none — another program uses %1").arg(label)
            : QStringLiteral("Active: ") + label);
}

} // namespace norvelle
