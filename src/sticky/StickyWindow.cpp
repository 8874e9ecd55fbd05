#include "sticky/StickyWindow.h"

#include "ui/HexColor.h"
#include "ui/TextContrast.h"

#include <QPlainTextEdit>
#include <QTextDocument>
#include <QVBoxLayout>

namespace norvelle {

StickyWindow::StickyWindow()
    : QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint)
    , m_editor(new QPlainTextEdit(this))
{
    setMinimumSize(minimumContentSize);
    resize(contentSize);

    m_editor->setFrameShape(QFrame::NoFrame);
    m_editor->document()->setDocumentMargin(12);
    m_editor->setTabChangesFocus(false);
    setFocusProxy(m_editor);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_editor);

    connect(m_editor, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_settingText) {
            emit textEdited(m_editor->toPlainText());
        }
    });
}

void StickyWindow::setText(const QString& text)
{
    m_settingText = true;
    m_editor->setPlainText(text);
    m_settingText = false;
}

void StickyWindow::setPaperColor(const QString& hex)
{
    const QColor paper = colorFromHex(normalizePaperHex(hex)).value_or(QColor(0xFD, 0xFD, 0xF8));
    // Dark paper gets light ink and the other way round.
    const bool dark = isDarkHexColor(hexString(paper), false, 1.0);
    QPalette palette = m_editor->palette();
    palette.setColor(QPalette::Base, paper);
    palette.setColor(QPalette::Window, paper);
    palette.setColor(QPalette::Text, dark ? QColor(0xF2, 0xF2, 0xF2) : QColor(0x1D, 0x1D, 0x1F));
    m_editor->setPalette(palette);
    setPalette(palette);
}

void StickyWindow::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    emit frameChanged();
}

void StickyWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    emit frameChanged();
}

} // namespace norvelle
