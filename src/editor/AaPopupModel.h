#pragma once

#include "editor/AaPopupCallbacks.h"

#include <QColor>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include <chrono>
#include <optional>

namespace norvelle {

// The state and actions of the "Aa" format popup, apart from its widgets. It mirrors the
// formatting state its own editor reports and sends every user action out through the host's
// callbacks; repeated taps within a short cooldown are dropped, not queued.
class AaPopupModel : public QObject {
    Q_OBJECT
public:
    enum class ColorMode { text,
        highlight };
    enum class ColorPanelTarget { text,
        highlight };
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    static constexpr std::chrono::milliseconds actionCooldown {160};
    static constexpr int minimumFontSize = 8;
    static constexpr int maximumFontSize = 72;
    static const QStringList textColorOptions;
    static const QStringList highlightColors;
    static const QStringList fullTextStyles;

    // `editor` is the editor this popup formats: only its state reports are mirrored.
    AaPopupModel(const void* editor, AaPopupCallbacks callbacks, QObject* parent = nullptr);

    void setClock(Clock clock) { m_clock = std::move(clock); }

    bool expanded() const { return m_expanded; }
    int fontSize() const { return m_fontSize; }
    QString fontSizeInput() const { return m_fontSizeInput; }
    bool isBold() const { return m_isBold; }
    bool isItalic() const { return m_isItalic; }
    bool isUnderline() const { return m_isUnderline; }
    bool isStrike() const { return m_isStrike; }
    QString highlightHex() const { return m_highlightHex; }
    bool showHighlightPalette() const { return m_showHighlightPalette; }
    QString textColorHex() const { return m_textColorHex; }
    QString styleSelection() const { return m_styleSelection; }
    QString fullStyleSelection() const { return m_fullStyleSelection; }
    QString alignmentSelection() const { return m_alignmentSelection; }
    QString listSelection() const { return m_listSelection; }
    bool quoteEnabled() const { return m_quoteEnabled; }
    ColorMode colorMode() const { return m_colorMode; }
    std::optional<ColorPanelTarget> activeColorPanelTarget() const { return m_activeColorPanelTarget; }
    QColor customTextColor() const { return m_customTextColor; }
    QColor customHighlightColor() const { return m_customHighlightColor; }
    std::optional<QString> recentCustomTextHex() const { return m_recentCustomTextHex; }
    std::optional<QString> recentCustomHighlightHex() const { return m_recentCustomHighlightHex; }

    // Mirrors an editor's formatting report; never calls a callback.
    void applyFormattingState(const QVariantMap& userInfo);

    // Runs `action` unless the last throttled action ran less than the cooldown ago.
    void performThrottled(const std::function<void()>& action);
    void toggleBold();
    void toggleItalic();
    void toggleUnderline();
    void toggleStrikethrough();
    void toggleHighlightThrottled();

    void selectFullStyle(const QString& style);
    void decrementFontSize();
    void incrementFontSize();
    void setFontSizeInput(const QString& text);
    void commitFontSizeInput();

    void toggleHighlightPalette();
    void setShowHighlightPalette(bool shown);
    void pickHighlightColor(const QString& hex);
    void toggleExpanded();

    void selectAlignment(const QString& alignment);
    void selectListStyle(const QString& style);
    void toggleQuote();

    void setColorMode(ColorMode mode);
    // The swatches of the current mode, with its recent custom colour merged in.
    QStringList palette() const;
    // The hex the current mode's swatches ring.
    QString selectedHex() const;
    void pickSwatch(const QString& hex);
    QString customColorTitle() const;
    ColorPanelTarget currentModeTarget() const;

    void openColorPanel(ColorPanelTarget target);

    void syncInputsOnAppear();

    // A list with a recent custom colour: unchanged when it already holds it (compared
    // normalised), else its last entry gives way to it, so the palette keeps its length.
    static QStringList mergePalette(const QStringList& list, const std::optional<QString>& recentHex);

signals:
    void changed();

private:
    bool coolingDown() const;
    void applyColorPanelColor(const QColor& color);
    void sendColor(ColorPanelTarget target, const QString& hex);
    void endColorPanelOwnership();
    void applyStyleRow(const QString& style);
    void setFontSizeFields(int size);

    const void* m_editor;
    AaPopupCallbacks m_callbacks;
    Clock m_clock;
    bool m_listeningToColorPanel = false;

    bool m_expanded = false;
    int m_fontSize = 13;
    QString m_fontSizeInput = QStringLiteral("13");
    bool m_isBold = false;
    bool m_isItalic = false;
    bool m_isUnderline = false;
    bool m_isStrike = false;
    QString m_highlightHex = QStringLiteral("#FFFF00");
    bool m_showHighlightPalette = false;
    QString m_textColorHex = QStringLiteral("#000000");
    QString m_styleSelection = QStringLiteral("Body");
    QString m_fullStyleSelection = QStringLiteral("Body");
    QString m_alignmentSelection = QStringLiteral("left");
    QString m_listSelection = QStringLiteral("none");
    bool m_quoteEnabled = false;
    ColorMode m_colorMode = ColorMode::text;
    std::optional<ColorPanelTarget> m_activeColorPanelTarget;
    QColor m_customTextColor;
    QColor m_customHighlightColor;
    std::optional<QString> m_recentCustomTextHex;
    std::optional<QString> m_recentCustomHighlightHex;
    std::optional<std::chrono::steady_clock::time_point> m_lastActionAt;
};

} // namespace norvelle
