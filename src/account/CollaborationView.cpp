#include "account/CollaborationView.h"

#include "account/APIConfig.h"
#include "core/AnalyticsTracking.h"
#include "objectstore/ObjectContext.h"
#include "platform/Pasteboard.h"
#include "store/StickyNote.h"
#include "ui/SchemePalette.h"
#include "ui/ViewFont.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDateTime>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUuid>
#include <QVBoxLayout>

namespace norvelle {

namespace {

const QString canView = QStringLiteral("Can View");
const QString canEdit = QStringLiteral("Can Edit");

QLabel* label(const QString& text, qreal size, QFont::Weight weight = QFont::Normal, bool secondary = false)
{
    auto* label = new QLabel(text);
    label->setFont(viewFont(size, weight));
    // A role, not a colour: the text follows the window into the dark look and back.
    if (secondary) {
        label->setForegroundRole(QPalette::PlaceholderText);
    }
    return label;
}

// A filled button in the accent colour, `padding` wide on each side and at least `height` tall.
QPushButton* prominentButton(const QString& title, int padding, int height)
{
    auto* button = new QPushButton(title);
    button->setFont(viewFont(12, QFont::Medium));
    button->setMinimumHeight(height);
    button->setCursor(Qt::PointingHandCursor);
    button->setStyleSheet(QStringLiteral(
        "QPushButton { background: palette(highlight); color: palette(highlighted-text); border: none;"
        " border-radius: 6px; padding: 0 %1px; }"
        "QPushButton:pressed { background: palette(dark); }")
                              .arg(padding));
    return button;
}

QFrame* divider()
{
    auto* line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QVBoxLayout* stack(QWidget* owner, int spacing)
{
    auto* layout = new QVBoxLayout(owner);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    return layout;
}

} // namespace

CollaborationView::CollaborationView(std::shared_ptr<StickyNote> note, AnalyticsTracking& tracker,
    Pasteboard& pasteboard, QWidget* parent)
    : QWidget(parent)
    , m_note(std::move(note))
    , m_tracker(tracker)
    , m_pasteboard(pasteboard)
{
    auto* rows = new QVBoxLayout(this);
    rows->setSpacing(12);
    rows->addWidget(label(QStringLiteral("Share this note"), 18, QFont::Bold));
    rows->addWidget(makeLinkBox());
    rows->addWidget(makeInviteRow());
    rows->addWidget(divider());
    rows->addWidget(makeAccessList());
    rows->addWidget(divider());
    rows->addWidget(makeRequestsList());
    rows->addStretch(1);

    if (m_note && m_note->managedObjectContext()) {
        connect(m_note->managedObjectContext(), &ObjectContext::objectChanged, this, [this](const ObjectID& id) {
            if (m_note && id == m_note->objectID()) {
                refresh();
            }
        });
    }
    refresh();
}

QWidget* CollaborationView::makeLinkBox()
{
    auto* box = new QGroupBox;
    auto* rows = new QVBoxLayout(box);
    rows->setSpacing(8);
    rows->addWidget(label(QStringLiteral("Direct link"), 12, QFont::DemiBold));

    auto* line = new QHBoxLayout;
    m_link = label({}, 11, QFont::Normal, true);
    m_link->setObjectName(QStringLiteral("shareLink"));
    m_link->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // The link is elided in the middle, so it may shrink below its text's width.
    m_link->setMinimumWidth(0);
    m_link->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_link->installEventFilter(this);
    line->addWidget(m_link, 1);
    m_copy = prominentButton(QStringLiteral("Copy link"), 8, 28);
    m_copy->setObjectName(QStringLiteral("copyLink"));
    connect(m_copy, &QPushButton::clicked, this, &CollaborationView::copyShareLink);
    line->addWidget(m_copy);
    rows->addLayout(line);
    return box;
}

QWidget* CollaborationView::makeInviteRow()
{
    auto* row = new QWidget;
    auto* items = new QHBoxLayout(row);
    items->setContentsMargins(0, 2, 0, 0);
    items->setSpacing(8);

    m_inviteEmail = new QLineEdit;
    m_inviteEmail->setObjectName(QStringLiteral("inviteEmail"));
    m_inviteEmail->setPlaceholderText(QStringLiteral("Invite by email"));
    items->addWidget(m_inviteEmail, 1);

    m_permission = new QComboBox;
    m_permission->setObjectName(QStringLiteral("permission"));
    m_permission->setAccessibleName(QStringLiteral("Permission"));
    m_permission->addItems({canView, canEdit});
    m_permission->setCurrentText(canEdit);
    m_permission->setFixedWidth(120);
    followSchemeOf(*m_permission->view()->window(), *m_permission);
    QLabel* permissionLabel = label(QStringLiteral("Permission"), 13);
    permissionLabel->setBuddy(m_permission);
    items->addWidget(permissionLabel);
    items->addWidget(m_permission);

    m_invite = prominentButton(QStringLiteral("Invite"), 10, 30);
    m_invite->setObjectName(QStringLiteral("invite"));
    connect(m_invite, &QPushButton::clicked, this, &CollaborationView::inviteCollaborator);
    items->addWidget(m_invite);
    return row;
}

QWidget* CollaborationView::makeAccessList()
{
    auto* list = new QWidget;
    QVBoxLayout* rows = stack(list, 6);
    rows->addWidget(label(QStringLiteral("People with access"), 12, QFont::DemiBold));
    const auto addRow = [rows](const QString& name, QLabel* role) {
        auto* row = new QHBoxLayout;
        row->addWidget(label(name, 12));
        row->addStretch(1);
        row->addWidget(role);
        rows->addLayout(row);
    };
    addRow(QStringLiteral("You"), label(QStringLiteral("Owner"), 11, QFont::Normal, true));
    m_teamRole = label({}, 11, QFont::Normal, true);
    m_teamRole->setObjectName(QStringLiteral("teamRole"));
    addRow(QStringLiteral("Product team"), m_teamRole);
    return list;
}

QWidget* CollaborationView::makeRequestsList()
{
    auto* list = new QWidget;
    QVBoxLayout* rows = stack(list, 6);
    rows->addWidget(label(QStringLiteral("Recent requests"), 12, QFont::DemiBold));
    rows->addWidget(label(QStringLiteral("No pending requests"), 11, QFont::Normal, true));
    return list;
}

void CollaborationView::ensureShareLink(StickyNote& note)
{
    if (note.shareToken().isEmpty()) {
        const QUuid id = note.id().value_or(QUuid::createUuid());
        note.setShareToken(id.toString(QUuid::WithoutBraces).toLower());
    }
    if (note.sharePreviewURL().isEmpty()) {
        note.setSharePreviewURL(APIConfig::shareLinkBase() + note.shareToken());
    }
}

StickyNote* CollaborationView::liveNote() const
{
    return m_note && m_note->managedObjectContext() && !m_note->isDeleted() ? m_note.get() : nullptr;
}

void CollaborationView::copyShareLink()
{
    StickyNote* note = liveNote();
    if (!note || !APIConfig::isShareLink(note->sharePreviewURL())) {
        return;
    }
    m_pasteboard.clearContents();
    PasteboardContents contents;
    contents.string = note->sharePreviewURL();
    m_pasteboard.write(contents);
    m_copied = true;
    refresh();
}

void CollaborationView::inviteCollaborator()
{
    StickyNote* note = liveNote();
    if (!note) {
        return;
    }
    const QString permission = m_permission->currentText();
    ensureShareLink(*note);
    note->setPermissions(permission);
    note->setUpdatedAt(QDateTime::currentDateTimeUtc());
    note->setVersion(note->version() + 1);
    // A failed save keeps the changes in the context for the next save; nothing to tell the user.
    static_cast<void>(note->managedObjectContext()->save());
    m_tracker.track(QStringLiteral("collaboration_invite_created"),
        {{QStringLiteral("permission"), permission == canEdit ? QStringLiteral("can_edit") : QStringLiteral("can_view")}});
    refresh();
}

void CollaborationView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (StickyNote* note = liveNote()) {
        ensureShareLink(*note);
    }
    refresh();
}

bool CollaborationView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_link && event->type() == QEvent::Resize) {
        elideLink();
    }
    return QWidget::eventFilter(watched, event);
}

void CollaborationView::elideLink()
{
    m_link->setText(m_link->fontMetrics().elidedText(m_linkText, Qt::ElideMiddle, m_link->width()));
}

void CollaborationView::refresh()
{
    StickyNote* note = liveNote();
    const QString link = note ? note->sharePreviewURL() : QString();
    m_linkText = link.isEmpty() ? QStringLiteral("No link generated yet") : link;
    m_link->setToolTip(link);
    elideLink();
    m_copy->setText(m_copied ? QStringLiteral("Copied") : QStringLiteral("Copy link"));
    const QString permissions = note ? note->permissions() : QString();
    m_teamRole->setText(permissions.isEmpty() ? canEdit : permissions);
}

} // namespace norvelle
