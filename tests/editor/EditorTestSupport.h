#pragma once

#include "editor/RichTextEditor.h"
#include "editor/StickyTextView.h"
#include "editor/TextStorage.h"
#include "platform/NotificationCenter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QString>
#include <QTextCursor>
#include <QTextDocument>

#include <memory>
#include <optional>
#include <vector>

namespace norvelle::test {

inline const QString box = QStringLiteral("\uFFFC ");

// Types any text, one key press per character, as a keyboard with that character would.
inline void typeText(QWidget& widget, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, c == u' ' ? Qt::Key_Space : 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(&widget, &press);
        QKeyEvent release(QEvent::KeyRelease, c == u' ' ? Qt::Key_Space : 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(&widget, &release);
    }
}

// An editor on light paper that records what it reports, in order.
class EditorProbe {
public:
    struct Report {
        enum Kind { RichData,
            Text } kind;
        std::optional<QByteArray> richData;
        QString text;
    };

    explicit EditorProbe(const QString& text = {}, const std::optional<QByteArray>& richData = std::nullopt,
        const QString& paperHex = QStringLiteral("#FDFDF8"))
        : editor(std::make_unique<RichTextEditor>(QColor(Qt::black), paperHex))
    {
        editor->resize(320, 400);
        editor->load(text, richData);
        QObject::connect(editor.get(), &RichTextEditor::richDataChanged, [this](const std::optional<QByteArray>& data) {
            recorded.push_back({Report::RichData, data, {}});
        });
        QObject::connect(editor.get(), &RichTextEditor::textChanged, [this](const QString& text) {
            recorded.push_back({Report::Text, std::nullopt, text});
        });
        NotificationCenter::defaultCenter().addObserver(QStringLiteral("norvelle.editor.formattingStateDidChange"), editor.get(),
            [this](const Notification& notification) {
                if (notification.object == editor.get())
                    states.push_back(notification.userInfo);
            });
    }

    StickyTextView& view() const { return editor->textView(); }
    QTextDocument& document() const { return *view().document(); }
    QString string() const { return TextStorage(document()).string(); }

    void select(int start, int end)
    {
        QTextCursor cursor(&document());
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        view().setTextCursor(cursor);
    }
    void caret(int position) { select(position, position); }

    void post(const QString& name, const QVariantMap& userInfo = {})
    {
        NotificationCenter::defaultCenter().post(name, editor.get(), userInfo);
    }

    // What the editor reported, the edit it has not reported yet included.
    std::vector<Report>& reports()
    {
        editor->flushPendingReport();
        return recorded;
    }

    // The plain text of the last edit, once it is reported.
    QString reportedText()
    {
        editor->flushPendingReport();
        return editor->text();
    }

    std::unique_ptr<RichTextEditor> editor;
    std::vector<Report> recorded;
    std::vector<QVariantMap> states;
};

} // namespace norvelle::test
