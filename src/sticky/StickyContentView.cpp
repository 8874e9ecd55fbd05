#include "sticky/StickyContentView.h"

#include "platform/StoredSettings.h"
#include "platform/UserDefaults.h"
#include "sticky/NewStickyNote.h"
#include "sticky/PaperTheme.h"
#include "sticky/StickyHeaderBar.h"
#include "sticky/StickyState.h"
#include "ui/HexColor.h"
#include "ui/NorvelleAppearancePreference.h"
#include "ui/PaperTextureView.h"
#include "ui/TextContrast.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>

namespace norvelle {

namespace {

// The border lies over the header, editor and toolbar, so it is drawn by a layer on top of
// them that lets every click through.
class BorderLayer : public QWidget {
public:
    BorderLayer(std::function<void(QPainter&)> paint, QWidget* parent)
        : QWidget(parent)
        , m_paint(std::move(paint))
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        m_paint(painter);
    }

private:
    std::function<void(QPainter&)> m_paint;
};

} // namespace

StickyContentView::StickyContentView(const StickyState& state, QWidget* editor, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_header(new StickyHeaderBar(state))
    , m_editor(editor)
    , m_toolbarPlace(new QWidget)
    , m_texture(new PaperTextureView(this))
{
    m_border = new BorderLayer([this](QPainter& painter) {
        const QColor color = borderColor(m_state.isPinned(), m_state.opacity(), palette().color(QPalette::WindowText));
        if (color.alpha() == 0) {
            return;
        }
        painter.setRenderHint(QPainter::Antialiasing);
        const QPainterPath path = paperPath();
        // Stroked on the edge and clipped to the paper: only the inner half shows.
        painter.setClipPath(path);
        painter.setPen(QPen(color, borderWidth(m_state.isPinned()), Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        painter.drawPath(path);
    },
        this);

    m_toolbarPlace->setFixedHeight(toolbarHeight);
    auto* foot = new QVBoxLayout(m_toolbarPlace);
    foot->setContentsMargins(0, 0, 0, 0);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(m_header);
    column->addWidget(m_editor, 1);
    column->addWidget(m_toolbarPlace);

    m_texture->lower();
    m_border->raise();
    connect(&state, &StickyState::changed, this, &StickyContentView::refresh);
    // The theme chosen in Settings decides the paper of a note that follows the theme.
    connect(&UserDefaults::standard(), &UserDefaults::changed, this, [this](const QString& key) {
        if (key == storedSettings::appearance.key) {
            refresh();
        }
    });
    refresh();
}

void StickyContentView::setToolbar(QWidget* toolbar)
{
    delete m_toolbar;
    m_toolbar = toolbar;
    if (toolbar) {
        m_toolbarPlace->layout()->addWidget(toolbar);
    }
    m_border->raise();
}

void StickyContentView::setTranslucent(bool translucent)
{
    m_translucent = translucent;
    refresh();
}

double StickyContentView::shownOpacity() const
{
    return m_translucent ? m_state.opacity() : 1.0;
}

ColorScheme StickyContentView::colorScheme() const
{
    return NewStickyNote::currentColorScheme();
}

QString StickyContentView::effectivePaperHex() const
{
    return PaperTheme::effectivePaperHex(m_state.followsSystemTheme(), m_state.paperHex(), colorScheme());
}

bool StickyContentView::isPaperDark() const
{
    return isDarkHexColor(effectivePaperHex(), m_state.isDark(), shownOpacity());
}

std::optional<QColor> StickyContentView::editorTextColor() const
{
    return editorTextColor(shownOpacity(), isPaperDark());
}

double StickyContentView::paperFillOpacity(double opacity)
{
    return std::clamp(opacity, 0.16, 1.0);
}

double StickyContentView::textureOpacity(double opacity)
{
    const double value = opacity < 1.0 ? std::max(opacity, 0.16) * 0.7 + 0.1 : 0.8;
    return std::clamp(value, 0.18, 0.78);
}

std::optional<QColor> StickyContentView::editorTextColor(double opacity, bool paperDark)
{
    if (opacity < 0.35) {
        return std::nullopt;
    }
    return paperDark ? QColor(Qt::white) : QColor(Qt::black);
}

QColor StickyContentView::borderColor(bool pinned, double opacity, const QColor& primary)
{
    if (pinned) {
        return QColor::fromRgbF(0.749f, 0.353f, 0.949f, 0.35f);
    }
    const double effective = opacity < 1.0 ? std::max(opacity, 0.16) : 1.0;
    QColor color = primary;
    color.setAlphaF(effective < 0.98 ? 0.2f : 0.0f);
    return color;
}

void StickyContentView::refresh()
{
    const bool dark = isPaperDark();
    m_header->setShownPaper(effectivePaperHex(), shownOpacity());
    m_texture->setTexture(m_state.textureName(), dark);
    m_texture->setTextureOpacity(textureOpacity(m_state.opacity()));
    update();
    m_border->update();
    emit appearanceChanged();
}

QPainterPath StickyContentView::paperPath() const
{
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
    return path;
}

void StickyContentView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor paper = colorFromHex(effectivePaperHex()).value_or(QColor(Qt::white));
    paper.setAlphaF(m_translucent ? float(paperFillOpacity(m_state.opacity())) : 1.0f);
    if (m_translucent) {
        painter.fillPath(paperPath(), paper);
    } else {
        painter.fillRect(rect(), paper);
    }
}

void StickyContentView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_texture->setGeometry(rect());
    m_texture->setClipPath(paperPath());
    m_border->setGeometry(rect());
}

void StickyContentView::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange
        || event->type() == QEvent::ThemeChange) {
        refresh();
    }
}

} // namespace norvelle
