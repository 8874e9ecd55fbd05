#pragma once

#include <QWidget>

class QPlainTextEdit;

namespace norvelle {

// The floating window of one sticky note: a tool window that stays above other windows, with
// the note's text on its paper colour. It only reports; its controller decides.
class StickyWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr QSize contentSize { 280, 340 };
    static constexpr QSize minimumContentSize { 240, 280 };

    StickyWindow();

    QPlainTextEdit& editor() const { return *m_editor; }
    void setText(const QString& text);
    // The paper as a colour text; an unreadable one shows the default paper.
    void setPaperColor(const QString& hex);

signals:
    // The user changed the text (not setText).
    void textEdited(const QString& text);
    // The window moved or was resized.
    void frameChanged();

protected:
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QPlainTextEdit* m_editor;
    bool m_settingText = false;
};

} // namespace norvelle
