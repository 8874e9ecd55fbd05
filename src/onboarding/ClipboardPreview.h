#pragma once

#include <QList>
#include <QWidget>

namespace norvelle {

// A drawing of a clipboard history with a few sample clips, for the onboarding. Follows the
// light or dark look of its palette.
class ClipboardPreview : public QWidget {
    Q_OBJECT
public:
    struct Row {
        QString icon; // symbol name
        QString text;
        QString time;
    };

    explicit ClipboardPreview(QList<Row> rows, QWidget* parent = nullptr);

    const QList<Row>& rows() const { return m_rows; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QList<Row> m_rows;
};

} // namespace norvelle
