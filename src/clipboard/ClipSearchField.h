#pragma once

#include "clipboard/ClipSurface.h"

class QLineEdit;

namespace norvelle {

class ClipButton;

// A search box of the clip views: a magnifying glass, a frameless text field and, while there
// is text, a button that clears it, on a rounded fill.
class ClipSearchField : public ClipSurface {
    Q_OBJECT
public:
    struct Metrics {
        qreal fontSize;
        int symbolSize;
        qreal radius;
        QMargins padding;
    };

    ClipSearchField(const QString& placeholder, Metrics metrics, ClipColorRole fill, QWidget* parent = nullptr);

    QLineEdit* lineEdit() const { return m_lineEdit; }
    ClipButton* clearButton() const { return m_clearButton; }
    QString text() const;
    void setText(const QString& text);

signals:
    void textChanged(const QString& text);

private:
    QLineEdit* m_lineEdit;
    ClipButton* m_clearButton;
};

} // namespace norvelle
