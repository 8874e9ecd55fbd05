#pragma once

#include "platform/Popover.h"

#include <QPointer>
#include <QWidget>

#include <functional>

namespace norvelle {

class AaPopupView;
class StickyPillButton;
class StickyTransparencyView;

// The capsule of controls at the foot of a sticky note: the "Aa" format popup, checklist and
// table insertion, transparency and the paper colours. It never edits text: the format popup's
// actions, checklists and tables go out as editor commands addressed to this note's editor.
// It takes all the room its host gives it and keeps the capsule centred in it. Buttons are
// named "aa", "checklist", "table", "transparency" and "colors".
class StickyToolbarPill : public QWidget {
    Q_OBJECT
public:
    // `editor` is the note's `RichTextEditor`, the object of every command the pill posts.
    explicit StickyToolbarPill(const void* editor, QWidget* parent = nullptr);
    ~StickyToolbarPill() override;

    // The paper shown and whether it counts as dark for the pill (the paper rule's Rec. 601
    // test): white ink and a stronger shadow on dark paper, and a dark format popup.
    void setPaper(const QString& effectivePaperHex, bool dark);
    // Inside a table cell no table can be inserted: the table button is dimmed and inert.
    void setInTableCell(bool inTableCell);
    // The note's opacity, which the transparency popover shows and edits.
    void setOpacity(double opacity);
    double opacity() const { return m_opacity; }
    // Makes the colours popover's content each time it opens (a blank panel until set).
    void setColorsContentFactory(std::function<QWidget*()> factory);

    QColor ink() const;
    double shadowOpacity() const { return m_darkPaper ? 0.28 : 0.1; }
    QRect capsuleRect() const;

    Popover* aaPopover() const { return m_aaPopover; }
    AaPopupView* aaPopup() const;
    Popover* transparencyPopover() const { return m_transparencyPopover; }
    StickyTransparencyView* transparencyView() const;
    Popover* colorsPopover() const { return m_colorsPopover; }

signals:
    // The "Aa" button was pressed; the format popup opens right after.
    void aaPressed();
    // The transparency slider moved.
    void opacityEdited(double opacity);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    StickyPillButton* addButton(const QString& name, StickyPillButton* button);
    Popover* makePopover(QSize size);
    QRect anchorOf(const QWidget* button) const;
    void showAa();
    void releaseAaPopupWhenFree();
    void showTransparency();
    void showColors();
    void fitColorsPopover();
    void postCommand(const QString& name) const;
    void refreshInk();

    const void* m_editor;
    QString m_paperHex;
    bool m_darkPaper = false;
    double m_opacity = 1.0;
    QWidget* m_capsule;
    std::vector<StickyPillButton*> m_inkedButtons;
    StickyPillButton* m_aaButton;
    StickyPillButton* m_tableButton;
    StickyPillButton* m_colorsButton;
    QPointer<Popover> m_aaPopover;
    QPointer<Popover> m_transparencyPopover;
    QPointer<Popover> m_colorsPopover;
    std::function<QWidget*()> m_colorsContent;
};

} // namespace norvelle
