#pragma once

#include <QColor>
#include <QWidget>

#include <functional>

class QGridLayout;
class QLabel;
class QPushButton;

namespace norvelle {

class StickyState;

// The content of the toolbar's colours popover: twelve preset papers, the user's custom colours
// ("Recent", with "Clear Recent"), the four textures and a custom colour picked in the shared
// colour panel, previewed while picking and kept with "Apply custom color".
class BackgroundStyleControls : public QWidget {
    Q_OBJECT
public:
    static const QStringList builtInPaperColors;

    BackgroundStyleControls(StickyState& state, std::function<void(const QString&)> onPreviewPaperColor,
        std::function<void(const QString&)> onSelectPaperColor, QWidget* parent = nullptr);
    ~BackgroundStyleControls() override;

    void selectPaperSwatch(const QString& hex);
    void previewCustomColor(const QColor& color);
    void applyCustomColor();
    void clearCustomColors();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void rebuild();
    void refreshMarks();
    QWidget* swatchGrid(const QStringList& colors, const QString& name);

    StickyState& m_state;
    std::function<void(const QString&)> m_onPreview;
    std::function<void(const QString&)> m_onSelect;
    QStringList m_recent;
    bool m_showCustom = false;
    QColor m_customColor = Qt::white;
};

} // namespace norvelle
