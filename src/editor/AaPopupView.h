#pragma once

#include "editor/AaPopupCallbacks.h"
#include "platform/Popover.h"

#include <QPointer>
#include <QWidget>

class QLineEdit;
class QVariantAnimation;

namespace norvelle {

class AaPopupChip;
class AaPopupDisclosureButton;
class AaPopupModel;
class AaPopupSections;
class AaPopupStyleButton;
class AaPopupSwatch;

// The "Aa" format popup: a compact panel (format toggles, highlighter, three styles, font size)
// that "More options" grows into the full set of sections. It formats the editor `editor`
// points at: only that editor's state reports are mirrored. Controls are named for tests
// ("bold", "style.Title", "fontSize.field", "align.left", "swatch.0", ...).
class AaPopupView : public QWidget {
    Q_OBJECT
public:
    static constexpr int popupWidth = 212;
    static constexpr int compactHeight = 222;
    static constexpr int expandedHeight = 650;

    AaPopupView(bool isDarkTheme, AaPopupCallbacks callbacks, const void* editor, QWidget* parent = nullptr);
    ~AaPopupView() override;

    AaPopupModel& model() const { return *m_model; }
    bool isDarkTheme() const { return m_dark; }
    // The highlight palette's popover while it is shown.
    Popover* highlightPalette() const { return m_highlightPalette; }
    // Jumps to the end of a running height change (tests and screenshots).
    void finishAnimation();

signals:
    // The height the popup is growing or shrinking to, on each step of the change.
    void heightChanged(int height);

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildFormatRow();
    QWidget* buildStyleRows();
    QWidget* buildFontSizeRow();
    void refresh();
    void syncHighlightPalette();
    void animateHeight();

    bool m_dark;
    AaPopupModel* m_model;
    QWidget* m_formatRow = nullptr;
    std::vector<std::pair<AaPopupChip*, std::function<bool()>>> m_formatChips;
    AaPopupSwatch* m_highlightDot = nullptr;
    std::vector<AaPopupStyleButton*> m_styleButtons;
    QLineEdit* m_fontSizeField = nullptr;
    AaPopupDisclosureButton* m_disclosure = nullptr;
    AaPopupSections* m_sections = nullptr;
    QPointer<Popover> m_highlightPalette;
    QVariantAnimation* m_heightAnimation = nullptr;
    bool m_shownExpanded = false;
};

} // namespace norvelle
