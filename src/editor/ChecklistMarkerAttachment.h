#pragma once

#include <QColor>
#include <QObject>
#include <QString>
#include <QTextCharFormat>
#include <QTextObjectInterface>

class QPainter;
class QTextDocument;

namespace norvelle {

// A drawn checklist box: the object character U+FFFC carrying this format, then one space. It
// knows whether it is ticked; a box made by a click also keeps the colour it was drawn in.
class ChecklistMarkerAttachment {
public:
    static constexpr int objectType = QTextFormat::UserObject + 1;
    static constexpr int checkedProperty = QTextFormat::UserProperty + 1;
    static constexpr int colorProperty = QTextFormat::UserProperty + 2;
    static constexpr qreal side = 14;

    static inline const QString uncheckedToken = QStringLiteral("\u25CB ");
    static inline const QString checkedToken = QStringLiteral("\u25CF ");
    // An older ticked form, still read when text is normalised.
    static inline const QString legacyCheckedToken = QStringLiteral("\u25C9\u2713 ");

    static QTextCharFormat format(bool checked, const QColor& color = {});
    static bool isMarker(const QTextFormat& format);
    static bool isChecked(const QTextFormat& format) { return format.boolProperty(checkedProperty); }
    // Any embedded object (an image, a box).
    static bool isAttachment(const QTextFormat& format);

    // The 14 × 14 box in `rect`: an outlined circle, or a filled one with a white tick.
    static void draw(QPainter& painter, const QRectF& rect, bool checked, const QColor& color);
};

// Draws the boxes of one document; boxes without a colour of their own take `color`.
class ChecklistMarkerRenderer : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)
public:
    // Registers the document's renderer (made once, owned by the document) with its layout.
    static ChecklistMarkerRenderer* install(QTextDocument& document);

    void setColor(const QColor& color) { m_color = color; }
    const QColor& color() const { return m_color; }

    QSizeF intrinsicSize(QTextDocument* document, int position, const QTextFormat& format) override;
    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument* document, int position,
        const QTextFormat& format) override;

private:
    explicit ChecklistMarkerRenderer(QObject* parent)
        : QObject(parent)
    {
    }

    QColor m_color {0x0A, 0x84, 0xFF};
};

} // namespace norvelle
