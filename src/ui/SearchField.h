#pragma once

#include "ui/RoundedSurface.h"

class QLineEdit;

namespace norvelle {

class PlainButton;

// A search box: a magnifying glass, a frameless text field and, where wanted, a button that
// clears it while there is text, on a rounded fill.
class SearchField : public RoundedSurface {
    Q_OBJECT
public:
    struct Metrics {
        qreal fontSize;
        int symbolSize;
        qreal radius;
        QMargins padding;
        bool clearButton = true;
    };

    SearchField(const QString& placeholder, Metrics metrics, SchemeColorRole fill, QWidget* parent = nullptr);

    QLineEdit* lineEdit() const { return m_lineEdit; }
    // Null when the field has none.
    PlainButton* clearButton() const { return m_clearButton; }
    QString text() const;
    void setText(const QString& text);

signals:
    void textChanged(const QString& text);

private:
    QLineEdit* m_lineEdit;
    PlainButton* m_clearButton = nullptr;
};

} // namespace norvelle
