#pragma once

#include "ui/SchemeColors.h"

#include <QWidget>

class QVBoxLayout;

namespace norvelle {

class TextLabel;
class ToggleSwitch;

// One section of a settings pane: an optional header over a rounded box whose rows are
// parted by hairlines.
//
//     auto* section = form->addSection("General settings");
//     ToggleSwitch* open = section->addSwitch("Open workspace when Norvelle starts");
//     section->addText("Shown under the switch.");
class SettingsSection : public QWidget {
    Q_OBJECT
public:
    // An empty header shows none.
    explicit SettingsSection(const QString& header, QWidget* parent = nullptr);

    QString header() const { return m_header; }

    void addRow(QWidget* row);
    // A row of the title on the left and `control` on the right.
    QWidget* addLabelledRow(const QString& title, QWidget* control);
    ToggleSwitch* addSwitch(const QString& title);
    // A row of buttons at the leading edge.
    QWidget* addButtons(std::initializer_list<QWidget*> buttons);
    // A wrapping text of `size` points in `color`.
    TextLabel* addText(const QString& text, qreal size = 11, SchemeColorRole color = &SchemeColors::secondaryText);

private:
    QString m_header;
    QWidget* m_box = nullptr;
    QVBoxLayout* m_rows = nullptr;
};

} // namespace norvelle
