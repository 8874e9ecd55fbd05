#pragma once

#include <QWidget>

#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace norvelle {

class AnalyticsTracking;
class Pasteboard;
class StickyNote;

// One note's share link, the permission collaborators get and who has access. Nothing here
// talks to the server: the link is made locally and an invitation only changes the note.
class CollaborationView : public QWidget {
    Q_OBJECT
public:
    CollaborationView(std::shared_ptr<StickyNote> note, AnalyticsTracking& tracker, Pasteboard& pasteboard,
        QWidget* parent = nullptr);

    // Gives the note a share token and link when it lacks them; nothing is saved.
    static void ensureShareLink(StickyNote& note);

    void copyShareLink();
    void inviteCollaborator();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* makeLinkBox();
    QWidget* makeInviteRow();
    QWidget* makeAccessList();
    QWidget* makeRequestsList();
    // The note while it is still a live object of its context; null once it has been deleted.
    StickyNote* liveNote() const;
    void refresh();
    void elideLink();

    std::shared_ptr<StickyNote> m_note;
    AnalyticsTracking& m_tracker;
    Pasteboard& m_pasteboard;
    bool m_copied = false;
    QString m_linkText;

    QLabel* m_link = nullptr;
    QPushButton* m_copy = nullptr;
    QLineEdit* m_inviteEmail = nullptr;
    QComboBox* m_permission = nullptr;
    QPushButton* m_invite = nullptr;
    QLabel* m_teamRole = nullptr;
};

} // namespace norvelle
