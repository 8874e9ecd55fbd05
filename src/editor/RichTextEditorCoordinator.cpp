#include "editor/RichTextEditorCoordinator.h"

#include "editor/EditorCommands.h"
#include "editor/EditorFonts.h"
#include "editor/RichTextEditor.h"
#include "ui/HexColor.h"

#include <algorithm>

namespace norvelle {

RichTextEditorCoordinator::RichTextEditorCoordinator(RichTextEditor& parent)
    : m_parent(parent)
{
}

RichTextEditorCoordinator::~RichTextEditorCoordinator()
{
    for (const NotificationCenter::Token token : m_observers)
        NotificationCenter::defaultCenter().removeObserver(token);
}

bool RichTextEditorCoordinator::accepts(const Notification& notification) const
{
    if (notification.object)
        return notification.object == &m_parent;
    const QWidget* window = m_parent.window();
    return window && window->isActiveWindow();
}

void RichTextEditorCoordinator::observeEditorCommands(StickyTextView& textView)
{
    m_textView = &textView;
    textView.setDelegate(this);
    using Info = const QVariantMap&;
    const auto withHex = [](Info info, const auto& apply) {
        const QVariant hex = info.value(QStringLiteral("hex"));
        if (hex.typeId() != QMetaType::QString)
            return;
        if (const std::optional<QColor> color = colorFromHex(hex.toString()))
            apply(*color);
    };
    const auto withString = [](Info info, const QString& key, const auto& apply) {
        const QVariant value = info.value(key);
        if (value.typeId() == QMetaType::QString)
            apply(value.toString());
    };
    const std::pair<const QString*, std::function<void(Info)>> commands[] = {
        {&EditorCommands::insertChecklist, [this](Info) { insertChecklist(); }},
        {&EditorCommands::insertTable, [this](Info) { insertTable(); }},
        {&EditorCommands::reportFormattingState, [this](Info) { broadcastFormattingState(); }},
        {&EditorCommands::setFontSize, [this](Info info) {
             const QVariant size = info.value(QStringLiteral("size"));
             if (size.typeId() == QMetaType::Int || size.typeId() == QMetaType::LongLong)
                 applyFontSize(qreal(std::clamp<qlonglong>(size.toLongLong(), 1, 1638)));
         }},
        {&EditorCommands::toggleBold, [this](Info) { toggleFontTrait(FontTrait::Bold); }},
        {&EditorCommands::toggleItalic, [this](Info) { toggleFontTrait(FontTrait::Italic); }},
        {&EditorCommands::toggleUnderline, [this](Info) { toggleLineStyle(LineStyle::Underline); }},
        {&EditorCommands::toggleStrikethrough, [this](Info) { toggleLineStyle(LineStyle::Strikethrough); }},
        {&EditorCommands::applyTitleStyle, [this](Info) { applyTextStyle(22, EditorFonts::bold); }},
        {&EditorCommands::applyHeadingStyle, [this](Info) { applyTextStyle(18, EditorFonts::semibold); }},
        {&EditorCommands::applySubheadingStyle, [this](Info) { applyTextStyle(16, EditorFonts::semibold); }},
        {&EditorCommands::applyBodyStyle, [this](Info) { applyTextStyle(14, EditorFonts::regular); }},
        {&EditorCommands::applyCaptionStyle, [this](Info) { applyTextStyle(12, EditorFonts::regular); }},
        {&EditorCommands::applyMonospacedStyle, [this](Info) { applyMonospacedStyle(14); }},
        {&EditorCommands::toggleHighlight, [this](Info) { toggleHighlight(); }},
        {&EditorCommands::setHighlightColor, [this, withHex](Info info) { withHex(info, [this](const QColor& c) { storeHighlightColor(c); }); }},
        {&EditorCommands::setTextColor, [this, withHex](Info info) { withHex(info, [this](const QColor& c) { applyTextColor(c); }); }},
        {&EditorCommands::setAlignment, [this, withString](Info info) {
             withString(info, QStringLiteral("alignment"), [this](const QString& name) { applyAlignment(name); });
         }},
        {&EditorCommands::setListStyle, [this, withString](Info info) {
             withString(info, QStringLiteral("style"), [this](const QString& style) { setListStyle(style); });
         }},
        {&EditorCommands::toggleQuote, [this](Info) { toggleQuote(); }},
    };
    for (const auto& [name, handler] : commands) {
        m_observers.push_back(NotificationCenter::defaultCenter().addObserver(*name, this,
            [this, handle = handler](const Notification& notification) {
                if (m_textView && accepts(notification))
                    handle(notification.userInfo);
            }));
    }
    connect(&textView, &QTextEdit::cursorPositionChanged, this, &RichTextEditorCoordinator::selectionDidChange);
}

} // namespace norvelle
