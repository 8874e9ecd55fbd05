#include "editor/AaPopupModel.h"

#include "editor/EditorCommands.h"
#include "platform/ColorPanel.h"
#include "platform/NotificationCenter.h"
#include "ui/HexColor.h"

#include <QGuiApplication>
#include <QPalette>
#include <QRegularExpression>

#include <algorithm>
#include <limits>

namespace norvelle {

const QStringList AaPopupModel::textColorOptions {
    QStringLiteral("#000000"),
    QStringLiteral("#FF3B30"),
    QStringLiteral("#FF9500"),
    QStringLiteral("#FFCC00"),
    QStringLiteral("#34C759"),
    QStringLiteral("#007AFF"),
    QStringLiteral("#AF52DE"),
};
const QStringList AaPopupModel::highlightColors {
    QStringLiteral("#FFFF00"),
    QStringLiteral("#ADFF2F"),
    QStringLiteral("#7DF9FF"),
    QStringLiteral("#FFB3BA"),
};
const QStringList AaPopupModel::fullTextStyles {
    QStringLiteral("Title"),
    QStringLiteral("Heading"),
    QStringLiteral("Subheading"),
    QStringLiteral("Body"),
    QStringLiteral("Caption"),
    QStringLiteral("Monospaced"),
};

namespace {

bool isBool(const QVariant& value)
{
    return value.typeId() == QMetaType::Bool;
}

bool isString(const QVariant& value)
{
    return value.typeId() == QMetaType::QString;
}

// Only whole numbers count as a font size: a fractional report leaves the size alone.
std::optional<int> integerValue(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort: {
        bool ok = false;
        const qlonglong number = value.toLongLong(&ok);
        if (ok && number >= std::numeric_limits<int>::min() && number <= std::numeric_limits<int>::max()) {
            return int(number);
        }
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

bool boolOr(const QVariantMap& info, const char* key, bool fallback)
{
    const QVariant value = info.value(QLatin1String(key));
    return isBool(value) ? value.toBool() : fallback;
}

QString stringOr(const QVariantMap& info, const char* key, const QString& fallback)
{
    const QVariant value = info.value(QLatin1String(key));
    return isString(value) ? value.toString() : fallback;
}

// Host callbacks are optional: a host that leaves one out gets nothing sent for it.
template <typename... Args, typename... Values>
void call(const std::function<void(Args...)>& callback, Values&&... values)
{
    if (callback) {
        callback(std::forward<Values>(values)...);
    }
}

std::optional<qlonglong> readDecimal(const QString& text)
{
    static const QRegularExpression decimal(QStringLiteral("^[+-]?[0-9]+$"));
    if (!decimal.match(text).hasMatch()) {
        return std::nullopt;
    }
    bool ok = false;
    const qlonglong number = text.toLongLong(&ok, 10);
    return ok ? std::optional(number) : std::nullopt;
}

} // namespace

AaPopupModel::AaPopupModel(const void* editor, AaPopupCallbacks callbacks, QObject* parent)
    : QObject(parent)
    , m_editor(editor)
    , m_callbacks(std::move(callbacks))
    , m_clock([] { return std::chrono::steady_clock::now(); })
    , m_customTextColor(colorFromHexOrWhite(m_textColorHex))
    , m_customHighlightColor(colorFromHexOrWhite(m_highlightHex))
{
    NotificationCenter::defaultCenter().addObserver(
        EditorCommands::formattingStateDidChange, this, [this](const Notification& notification) {
            if (notification.object == m_editor) {
                applyFormattingState(notification.userInfo);
            }
        });
}

void AaPopupModel::applyFormattingState(const QVariantMap& info)
{
    if (info.isEmpty()) {
        return;
    }
    m_isBold = boolOr(info, "bold", false);
    m_isItalic = boolOr(info, "italic", false);
    m_isUnderline = boolOr(info, "underline", false);
    m_isStrike = boolOr(info, "strike", false);
    m_alignmentSelection = stringOr(info, "alignment", QStringLiteral("left"));
    m_listSelection = stringOr(info, "listStyle", QStringLiteral("none"));
    m_quoteEnabled = boolOr(info, "isQuoted", false);
    if (const QVariant hex = info.value(QStringLiteral("highlightHex")); isString(hex)) {
        m_highlightHex = hex.toString();
        m_customHighlightColor = colorFromHexOrWhite(m_highlightHex);
    }
    if (const QVariant hex = info.value(QStringLiteral("textColorHex")); isString(hex)) {
        m_textColorHex = hex.toString();
        m_customTextColor = colorFromHexOrWhite(m_textColorHex);
    }
    if (const std::optional<int> size = integerValue(info.value(QStringLiteral("fontSize")))) {
        const int n = *size;
        setFontSizeFields(n);
        m_styleSelection = n >= 21 ? QStringLiteral("Title") : n >= 17 ? QStringLiteral("Heading")
                                                                       : QStringLiteral("Body");
        m_fullStyleSelection = n >= 21 ? QStringLiteral("Title")
            : n >= 17                  ? QStringLiteral("Heading")
            : n >= 15                  ? QStringLiteral("Subheading")
            : n >= 13                  ? QStringLiteral("Body")
                                       : QStringLiteral("Caption");
    }
    emit changed();
}

bool AaPopupModel::coolingDown() const
{
    return m_lastActionAt && m_clock() - *m_lastActionAt < actionCooldown;
}

void AaPopupModel::performThrottled(const std::function<void()>& action)
{
    if (coolingDown()) {
        return;
    }
    m_lastActionAt = m_clock();
    call(action);
}

void AaPopupModel::toggleBold()
{
    performThrottled(m_callbacks.onToggleBold);
}

void AaPopupModel::toggleItalic()
{
    performThrottled(m_callbacks.onToggleItalic);
}

void AaPopupModel::toggleUnderline()
{
    performThrottled(m_callbacks.onToggleUnderline);
}

void AaPopupModel::toggleStrikethrough()
{
    performThrottled(m_callbacks.onToggleStrikethrough);
}

void AaPopupModel::toggleHighlightThrottled()
{
    performThrottled(m_callbacks.onToggleHighlight);
}

void AaPopupModel::applyStyleRow(const QString& style)
{
    struct Row {
        const char* name;
        const char* compact;
        int size;
        std::function<void()> AaPopupCallbacks::*callback;
    };
    static const Row rows[] = {
        {"Title", "Title", 22, &AaPopupCallbacks::onApplyTitle},
        {"Heading", "Heading", 18, &AaPopupCallbacks::onApplyHeading},
        {"Subheading", "Heading", 16, &AaPopupCallbacks::onApplySubheading},
        {"Caption", "Body", 12, &AaPopupCallbacks::onApplyCaption},
        {"Monospaced", "Body", 14, &AaPopupCallbacks::onApplyMonospaced},
    };
    static const Row body {"Body", "Body", 14, &AaPopupCallbacks::onApplyBody};
    const auto found = std::find_if(std::begin(rows), std::end(rows),
        [&](const Row& row) { return style == QLatin1String(row.name); });
    const Row& row = found == std::end(rows) ? body : *found;
    m_styleSelection = QLatin1String(row.compact);
    m_fontSize = row.size;
    call(m_callbacks.*row.callback);
}

void AaPopupModel::selectFullStyle(const QString& style)
{
    // Style choices respect the cooldown but do not restart it.
    if (coolingDown()) {
        return;
    }
    m_fullStyleSelection = style;
    applyStyleRow(style);
    m_fontSizeInput = QString::number(m_fontSize);
    emit changed();
}

void AaPopupModel::setFontSizeFields(int size)
{
    m_fontSize = size;
    m_fontSizeInput = QString::number(size);
}

void AaPopupModel::decrementFontSize()
{
    setFontSizeFields(std::max(m_fontSize - 1, minimumFontSize));
    call(m_callbacks.onFontSizeChange, m_fontSize);
    emit changed();
}

void AaPopupModel::incrementFontSize()
{
    setFontSizeFields(std::min(m_fontSize + 1, maximumFontSize));
    call(m_callbacks.onFontSizeChange, m_fontSize);
    emit changed();
}

void AaPopupModel::setFontSizeInput(const QString& text)
{
    m_fontSizeInput = text;
}

void AaPopupModel::commitFontSizeInput()
{
    const std::optional<qlonglong> typed = coolingDown() ? std::nullopt : readDecimal(m_fontSizeInput.trimmed());
    if (!typed) {
        m_fontSizeInput = QString::number(m_fontSize);
        emit changed();
        return;
    }
    setFontSizeFields(int(std::clamp<qlonglong>(*typed, minimumFontSize, maximumFontSize)));
    call(m_callbacks.onFontSizeChange, m_fontSize);
    m_styleSelection = m_fontSize >= 21 ? QStringLiteral("Title")
        : m_fontSize >= 17              ? QStringLiteral("Heading")
                                        : QStringLiteral("Body");
    emit changed();
}

void AaPopupModel::toggleHighlightPalette()
{
    setShowHighlightPalette(!m_showHighlightPalette);
}

void AaPopupModel::setShowHighlightPalette(bool shown)
{
    if (shown == m_showHighlightPalette) {
        return;
    }
    m_showHighlightPalette = shown;
    if (shown) {
        m_customHighlightColor = colorFromHexOrWhite(m_highlightHex);
    }
    emit changed();
}

void AaPopupModel::pickHighlightColor(const QString& hex)
{
    sendColor(ColorPanelTarget::highlight, hex);
    m_showHighlightPalette = false;
    emit changed();
}

void AaPopupModel::toggleExpanded()
{
    m_expanded = !m_expanded;
    emit changed();
}

void AaPopupModel::selectAlignment(const QString& alignment)
{
    performThrottled([&] {
        m_alignmentSelection = alignment;
        call(m_callbacks.onSetAlignment, alignment);
        emit changed();
    });
}

void AaPopupModel::selectListStyle(const QString& style)
{
    performThrottled([&] {
        m_listSelection = style;
        call(m_callbacks.onSetListStyle, style);
        emit changed();
    });
}

void AaPopupModel::toggleQuote()
{
    performThrottled([&] {
        m_quoteEnabled = !m_quoteEnabled;
        call(m_callbacks.onToggleQuote);
        emit changed();
    });
}

void AaPopupModel::setColorMode(ColorMode mode)
{
    m_colorMode = mode;
    emit changed();
}

QStringList AaPopupModel::mergePalette(const QStringList& list, const std::optional<QString>& recentHex)
{
    if (list.isEmpty() || !recentHex) {
        return list;
    }
    const QString recent = normalizePaperHex(*recentHex);
    const bool held = std::any_of(list.begin(), list.end(),
        [&](const QString& entry) { return normalizePaperHex(entry) == recent; });
    if (held) {
        return list;
    }
    QStringList merged = list;
    merged.last() = recent;
    return merged;
}

QStringList AaPopupModel::palette() const
{
    return m_colorMode == ColorMode::text ? mergePalette(textColorOptions, m_recentCustomTextHex)
                                          : mergePalette(highlightColors, m_recentCustomHighlightHex);
}

QString AaPopupModel::selectedHex() const
{
    return m_colorMode == ColorMode::text ? m_textColorHex : m_highlightHex;
}

void AaPopupModel::pickSwatch(const QString& hex)
{
    sendColor(currentModeTarget(), hex);
    emit changed();
}

void AaPopupModel::sendColor(ColorPanelTarget target, const QString& hex)
{
    if (target == ColorPanelTarget::text) {
        m_textColorHex = hex;
        m_customTextColor = colorFromHexOrWhite(hex);
        call(m_callbacks.onSetTextColor, hex);
    } else {
        m_highlightHex = hex;
        m_customHighlightColor = colorFromHexOrWhite(hex);
        call(m_callbacks.onSetHighlightColor, hex);
    }
}

QString AaPopupModel::customColorTitle() const
{
    return m_colorMode == ColorMode::text ? QStringLiteral("Custom text color") : QStringLiteral("Custom highlight color");
}

AaPopupModel::ColorPanelTarget AaPopupModel::currentModeTarget() const
{
    return m_colorMode == ColorMode::text ? ColorPanelTarget::text : ColorPanelTarget::highlight;
}

void AaPopupModel::openColorPanel(ColorPanelTarget target)
{
    ColorPanel& panel = ColorPanel::shared();
    if (!m_listeningToColorPanel) {
        m_listeningToColorPanel = true;
        connect(&panel, &ColorPanel::colorChanged, this, &AaPopupModel::applyColorPanelColor);
        connect(&panel, &ColorPanel::ownerChanged, this, [this] {
            if (!ColorPanel::shared().isOwnedBy(this)) {
                endColorPanelOwnership();
            }
        });
    }
    const bool highlight = target == ColorPanelTarget::highlight;
    const std::optional<QColor> start = colorFromHex(highlight ? m_highlightHex : m_textColorHex);
    const QColor fallback = highlight ? QColor(Qt::yellow) : QGuiApplication::palette().color(QPalette::WindowText);
    // Ownership first: opening may take the panel from another popup, which must not clear ours.
    panel.open(this, start.value_or(fallback));
    m_activeColorPanelTarget = target;
}

void AaPopupModel::endColorPanelOwnership()
{
    m_activeColorPanelTarget.reset();
}

void AaPopupModel::applyColorPanelColor(const QColor& color)
{
    if (!m_activeColorPanelTarget || !ColorPanel::shared().isOwnedBy(this)) {
        return;
    }
    const QString hex = hexString(color);
    if (*m_activeColorPanelTarget == ColorPanelTarget::text) {
        m_recentCustomTextHex = hex;
    } else {
        m_recentCustomHighlightHex = hex;
    }
    sendColor(*m_activeColorPanelTarget, hex);
    emit changed();
}

void AaPopupModel::syncInputsOnAppear()
{
    m_fontSizeInput = QString::number(m_fontSize);
    m_customTextColor = colorFromHexOrWhite(m_textColorHex);
    m_customHighlightColor = colorFromHexOrWhite(m_highlightHex);
    emit changed();
}

} // namespace norvelle
