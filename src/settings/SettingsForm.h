#pragma once

#include <QScrollArea>

class QVBoxLayout;

namespace norvelle {

class SettingsSection;

// A pane's grouped form: its sections top to bottom, padded 16, scrolling when taller than
// the window.
class SettingsForm : public QScrollArea {
    Q_OBJECT
public:
    explicit SettingsForm(QWidget* parent = nullptr);

    SettingsSection* addSection(const QString& header);
    // Every section, in order (tests and panes that show or hide one).
    QList<SettingsSection*> sections() const;

private:
    QVBoxLayout* m_sections = nullptr;
};

} // namespace norvelle
