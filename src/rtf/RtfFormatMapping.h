#pragma once

#include "rtf/RtfDocumentModel.h"

#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>

namespace norvelle {

// Converts between Qt's text formats and the RTF styles. Sizes are drawn at one logical pixel
// per point, the program's one scale. The logical families "System" and
// "System Mono" stand for the desktop's regular and monospaced fonts as they are when the
// mapping is made, so a note follows the desktop's fonts wherever it is opened.
class RtfFormatMapping {
public:
    // The exact size in half points of text read at an odd one, drawn at the nearest pixel.
    static constexpr int halfPointsProperty = QTextFormat::UserProperty + 0x100;

    RtfFormatMapping();

    QTextCharFormat charFormat(const RtfCharacterStyle& style) const;
    RtfCharacterStyle characterStyle(const QTextCharFormat& format) const;

    static QTextBlockFormat blockFormat(const RtfParagraphStyle& style);
    static RtfParagraphStyle paragraphStyle(const QTextBlockFormat& format);

    // Rounds into [low, high]; NaN gives low.
    static int rounded(qreal value, int low, int high);
    static int toTwips(qreal points);
    static qreal toPoints(int twips) { return twips / 20.0; }
    static int toPerMille(int alpha) { return (alpha * 1000 + 127) / 255; }
    static int toAlpha(int perMille) { return (perMille * 255 + 500) / 1000; }

private:
    QString m_systemFamily;
    QString m_systemMonoFamily;
};

} // namespace norvelle
