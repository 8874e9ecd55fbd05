#include "sticky/StickyToolbarPill.h"

#include "editor/AaPopupModel.h"
#include "editor/AaPopupView.h"
#include "editor/EditorCommands.h"
#include "platform/ColorPanel.h"
#include "platform/Compositor.h"
#include "platform/NotificationCenter.h"
#include "sticky/StickyFormatCommands.h"
#include "sticky/StickyPillButton.h"
#include "sticky/StickyTransparencyView.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QResizeEvent>
#include <QTimer>

namespace norvelle {

namespace {

constexpr QSize colorsPlaceholder(240, 160);

QPainterPath capsulePath(const QRectF& rect)
{
    QPainterPath path;
    const qreal radius = rect.height() / 2;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

} // namespace

StickyToolbarPill::StickyToolbarPill(const void* editor, QWidget* parent)
    : QWidget(parent)
    , m_editor(editor)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_capsule = new QWidget(this);
    auto* row = new QHBoxLayout(m_capsule);
    row->setContentsMargins(7, 5, 7, 5);
    row->setSpacing(3);
    using Label = StickyPillButton::Label;
    m_aaButton = addButton(QStringLiteral("aa"), new StickyPillButton(Label::text, QStringLiteral("Aa"), 15, QFont::DemiBold, {32, 28}, m_capsule));
    auto* checklist = addButton(QStringLiteral("checklist"), new StickyPillButton(Label::symbol, QStringLiteral("checklist"), 14, QFont::DemiBold, {30, 28}, m_capsule));
    m_tableButton = addButton(QStringLiteral("table"), new StickyPillButton(Label::symbol, QStringLiteral("tablecells"), 14, QFont::DemiBold, {30, 28}, m_capsule));
    auto* transparency = addButton(QStringLiteral("transparency"),
        new StickyPillButton(Label::symbol, QStringLiteral("circle.righthalf.filled"), 15,
            QFont::Normal, {30, 28}, m_capsule));
    m_colorsButton = new StickyPillButton(Label::colorWheel, QStringLiteral("colors"), 0, QFont::Normal, {30, 28}, m_capsule);
    m_colorsButton->setObjectName(QStringLiteral("colors"));
    for (StickyPillButton* button : {m_aaButton, checklist, m_tableButton, transparency}) {
        row->addWidget(button);
    }
    row->addWidget(m_colorsButton);
    m_capsule->setFixedSize(m_capsule->sizeHint());

    auto* centring = new QHBoxLayout(this);
    centring->setContentsMargins(0, 0, 0, 0);
    centring->addWidget(m_capsule, 0, Qt::AlignCenter);

    connect(m_aaButton, &QAbstractButton::clicked, this, &StickyToolbarPill::showAa);
    connect(checklist, &QAbstractButton::clicked, this, [this] { postCommand(EditorCommands::insertChecklist); });
    connect(m_tableButton, &QAbstractButton::clicked, this, [this] { postCommand(EditorCommands::insertTable); });
    connect(transparency, &QAbstractButton::clicked, this, &StickyToolbarPill::showTransparency);
    connect(m_colorsButton, &QAbstractButton::clicked, this, &StickyToolbarPill::showColors);
    setPaper(QStringLiteral("#FDFDF8"), false);
}

StickyToolbarPill::~StickyToolbarPill()
{
    delete m_aaPopover;
    delete m_transparencyPopover;
    // The content hears its own hiding while the popover is half gone: stop listening first.
    if (m_colorsPopover && m_colorsPopover->contentWidget()) {
        m_colorsPopover->contentWidget()->removeEventFilter(this);
    }
    delete m_colorsPopover;
}

StickyPillButton* StickyToolbarPill::addButton(const QString& name, StickyPillButton* button)
{
    button->setObjectName(name);
    m_inkedButtons.push_back(button);
    return button;
}

void StickyToolbarPill::setPaper(const QString& effectivePaperHex, bool dark)
{
    m_paperHex = effectivePaperHex;
    m_darkPaper = dark;
    m_colorsButton->setPaperHex(effectivePaperHex);
    refreshInk();
    update();
}

void StickyToolbarPill::setInTableCell(bool inTableCell)
{
    m_tableButton->setEnabled(!inTableCell);
}

void StickyToolbarPill::setOpacity(double opacity)
{
    m_opacity = opacity;
    if (StickyTransparencyView* view = transparencyView()) {
        view->setOpacity(opacity);
    }
}

void StickyToolbarPill::setColorsContentFactory(std::function<QWidget*()> factory)
{
    m_colorsContent = std::move(factory);
    // Content from before is not this factory's: the next opening makes its own.
    if (m_colorsPopover && !m_colorsPopover->isVisible()) {
        m_colorsPopover->setContentWidget(nullptr);
    }
}

QColor StickyToolbarPill::ink() const
{
    return m_darkPaper ? QColor(Qt::white) : palette().color(QPalette::WindowText);
}

void StickyToolbarPill::refreshInk()
{
    for (StickyPillButton* button : m_inkedButtons) {
        button->setInk(ink());
    }
}

void StickyToolbarPill::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange) {
        refreshInk();
    }
    QWidget::changeEvent(event);
}

QRect StickyToolbarPill::capsuleRect() const
{
    return m_capsule->geometry();
}

void StickyToolbarPill::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF capsule = QRectF(capsuleRect());
    // A soft shadow three points wide, one point down.
    for (int step = 3; step >= 1; --step) {
        QColor shade(0, 0, 0);
        shade.setAlphaF(shadowOpacity() / (step + 1));
        painter.fillPath(capsulePath(capsule.translated(0, 1).adjusted(-step, -step, step, step)), shade);
    }
    const QPainterPath shape = capsulePath(capsule);
    // The thin material: a translucent wash of the desktop's window colour over the paper.
    QColor material = m_darkPaper ? QColor(44, 44, 46) : QColor(Qt::white);
    material.setAlphaF(0.72);
    painter.fillPath(shape, material);
    QColor border = palette().color(QPalette::WindowText);
    border.setAlphaF(0.1);
    painter.setPen(QPen(border, 0.5));
    painter.drawPath(capsulePath(capsule.adjusted(0.25, 0.25, -0.25, -0.25)));
}

QRect StickyToolbarPill::anchorOf(const QWidget* button) const
{
    return QRect(button->mapToGlobal(QPoint(0, 0)), button->size());
}

Popover* StickyToolbarPill::makePopover(QSize size)
{
    auto* popover = new Popover(size);
    popover->setPreferredEdge(Popover::Edge::above);
    return popover;
}

AaPopupView* StickyToolbarPill::aaPopup() const
{
    return m_aaPopover ? qobject_cast<AaPopupView*>(m_aaPopover->contentWidget()) : nullptr;
}

void StickyToolbarPill::showAa()
{
    emit aaPressed();
    if (m_aaPopover && m_aaPopover->isShown()) {
        return;
    }
    if (!m_aaPopover) {
        m_aaPopover = makePopover({AaPopupView::popupWidth, AaPopupView::compactHeight});
        connect(m_aaPopover, &Popover::closed, this, &StickyToolbarPill::releaseAaPopupWhenFree);
    }
    // A popup that still owns the colour panel carries on; otherwise each opening starts afresh.
    if (!aaPopup()) {
        auto* popup = new AaPopupView(m_darkPaper, formatCommandCallbacks(m_editor), m_editor);
        connect(popup, &AaPopupView::heightChanged, m_aaPopover,
            [this](int height) { m_aaPopover->setContentSize({AaPopupView::popupWidth, height}); });
        // The colour panel takes over: the popover steps aside so the first click in the panel
        // picks a colour instead of only dismissing the popover.
        connect(&ColorPanel::shared(), &ColorPanel::ownerChanged, popup, [this, popup] {
            if (ColorPanel::shared().isOwnedBy(&popup->model()) && m_aaPopover->isVisible()) {
                popup->model().setShowHighlightPalette(false);
                m_aaPopover->performClose();
            }
        });
        m_aaPopover->setContentWidget(popup);
    }
    // The caret may have moved since the popup last heard: it opens showing the selection.
    postCommand(EditorCommands::reportFormattingState);
    m_aaPopover->setContentSize(aaPopup()->size());
    m_aaPopover->showRelativeTo(anchorOf(m_aaButton));
}

void StickyToolbarPill::releaseAaPopupWhenFree()
{
    AaPopupView* popup = aaPopup();
    if (!popup || m_aaPopover->isVisible()) {
        return;
    }
    // Colours picked in the panel after the popover closed still belong to this note.
    if (ColorPanel::shared().isOwnedBy(&popup->model())) {
        connect(
            &ColorPanel::shared(), &ColorPanel::ownerChanged, popup, [this] { releaseAaPopupWhenFree(); },
            Qt::SingleShotConnection);
        return;
    }
    m_aaPopover->setContentWidget(nullptr);
}

void StickyToolbarPill::showTransparency()
{
    if (m_transparencyPopover && m_transparencyPopover->isShown()) {
        return;
    }
    if (!m_transparencyPopover) {
        auto* view = new StickyTransparencyView(m_opacity, Compositor::isRunning());
        m_transparencyPopover = makePopover(view->size());
        m_transparencyPopover->setContentWidget(view);
        connect(view, &StickyTransparencyView::opacityChanged, this, [this](double opacity) {
            m_opacity = opacity;
            emit opacityEdited(opacity);
        });
    }
    transparencyView()->setOpacity(m_opacity);
    m_transparencyPopover->showRelativeTo(anchorOf(findChild<QWidget*>(QStringLiteral("transparency"))));
}

StickyTransparencyView* StickyToolbarPill::transparencyView() const
{
    return m_transparencyPopover ? qobject_cast<StickyTransparencyView*>(m_transparencyPopover->contentWidget()) : nullptr;
}

void StickyToolbarPill::showColors()
{
    if (m_colorsPopover && m_colorsPopover->isShown()) {
        return;
    }
    if (!m_colorsPopover) {
        m_colorsPopover = makePopover(colorsPlaceholder);
    }
    // One content for the pill's life: what the user left open in it stays open.
    if (!m_colorsPopover->contentWidget()) {
        QWidget* content = m_colorsContent ? m_colorsContent() : new QWidget;
        m_colorsPopover->setContentWidget(content);
        if (m_colorsContent) {
            content->installEventFilter(this);
            // The colour panel opened from it goes beside the note, and the popover stays usable.
            connect(&ColorPanel::shared(), &ColorPanel::ownerChanged, content, [this, content] {
                if (ColorPanel::shared().isOwnedBy(content) && m_colorsPopover->isVisible()) {
                    ColorPanel::shared().placeBeside(window()->frameGeometry().united(m_colorsPopover->geometry()));
                    m_colorsPopover->stayOpenWhileShown(ColorPanel::shared().dialog());
                }
            });
        }
    }
    if (m_colorsContent) {
        fitColorsPopover();
    } else {
        m_colorsPopover->setContentSize(colorsPlaceholder);
    }
    m_colorsPopover->showRelativeTo(anchorOf(m_colorsButton));
}

void StickyToolbarPill::fitColorsPopover()
{
    QWidget* content = m_colorsPopover ? m_colorsPopover->contentWidget() : nullptr;
    if (!content) {
        return;
    }
    // Its own size within its limits, not the size the popover last gave it. A hidden content
    // hears of its new size only once shown, inside a popover still of the old size: the
    // popover takes the size now.
    content->adjustSize();
    if (content->size() != m_colorsPopover->size()) {
        m_colorsPopover->setContentSize(content->size());
    }
}

bool StickyToolbarPill::eventFilter(QObject* watched, QEvent* event)
{
    // The colours content changes its rows in place: once they show, it takes its new size and
    // the popover follows.
    const bool sizing = event->type() == QEvent::LayoutRequest || event->type() == QEvent::Resize;
    if (sizing && m_colorsPopover && watched == m_colorsPopover->contentWidget()) {
        if (event->type() == QEvent::LayoutRequest) {
            QTimer::singleShot(0, this, &StickyToolbarPill::fitColorsPopover);
        } else if (event->type() == QEvent::Resize) {
            const QSize size = static_cast<QResizeEvent*>(event)->size();
            if (size != m_colorsPopover->size()) {
                m_colorsPopover->setContentSize(size);
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void StickyToolbarPill::postCommand(const QString& name) const
{
    NotificationCenter::defaultCenter().post(name, m_editor);
}

} // namespace norvelle
