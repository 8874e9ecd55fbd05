#pragma once

#include <QWidget>

#include <vector>

namespace norvelle {

class AaPopupModel;
class AaPopupSwatch;

// The highlighter's palette: the four highlight colours and the custom highlight button.
class AaPopupHighlightPalette : public QWidget {
public:
    static constexpr int paletteWidth = 176;

    AaPopupHighlightPalette(AaPopupModel& model, bool dark, QWidget* parent = nullptr);

    const std::vector<AaPopupSwatch*>& swatches() const { return m_swatches; }
    QWidget* customButton() const { return m_custom; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void refresh();

    AaPopupModel& m_model;
    bool m_dark;
    std::vector<AaPopupSwatch*> m_swatches;
    QWidget* m_custom;
};

} // namespace norvelle
