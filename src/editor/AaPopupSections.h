#pragma once

#include "editor/AaPopupChip.h"

#include <QWidget>

#include <functional>
#include <vector>

class QHBoxLayout;
class QVBoxLayout;

namespace norvelle {

class AaPopupColorButton;
class AaPopupModel;
class AaPopupSwatch;

// The format popup's expanded part: text styles, format toggles, alignment, colours, lists
// and quote. Each control sets the popup's own state and sends one command through the model.
class AaPopupSections : public QWidget {
public:
    AaPopupSections(AaPopupModel& model, bool dark, QWidget* parent = nullptr);

private:
    void addHeader(QVBoxLayout* column, const QString& title);
    QHBoxLayout* addRow(QVBoxLayout* column, int spacing, int bottom);
    void addChip(QHBoxLayout* row, const QString& name, const QString& label, const AaPopupChip::Look& look,
        std::function<void()> action, std::function<bool()> active);
    void buildTextStyles(QVBoxLayout* column);
    void buildFormat(QVBoxLayout* column);
    void buildAlignment(QVBoxLayout* column);
    void buildColors(QVBoxLayout* column);
    void buildLists(QVBoxLayout* column);
    void refresh();

    AaPopupModel& m_model;
    bool m_dark;
    std::vector<std::pair<AaPopupChip*, std::function<bool()>>> m_chips;
    std::vector<AaPopupSwatch*> m_swatches;
    AaPopupColorButton* m_customColor = nullptr;
};

} // namespace norvelle
