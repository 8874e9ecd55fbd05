#pragma once

#include "platform/SharePayload.h"

#include <QMenu>

namespace norvelle {

class DesktopLauncher;
class Pasteboard;

// The share menu: what the user can do with the items of a share, at a point of the screen.
// "Copy" puts them on the clipboard, "Open" opens the files in their programs, "Show in
// Folder" opens the folders holding them, "E-mail…" starts a new message (xdg-email) with the
// files attached and the text as its body; an RTF document folder is opened and attached as
// the RTF file inside it. An entry with nothing to act on is disabled.
//
//     ShareSheet::present(payload, anchor->mapToGlobal(QPoint(0, anchor->height())), anchor);
class ShareSheet : public QMenu {
    Q_OBJECT
public:
    // The shown menu (it deletes itself once closed); none for a payload without items.
    static ShareSheet* present(const SharePayload& payload, const QPoint& globalPos, QWidget* parent = nullptr);

    ShareSheet(QList<ShareItem> items, Pasteboard& pasteboard, DesktopLauncher& launcher, QWidget* parent = nullptr);

    QAction* copyAction() const { return m_copy; }
    QAction* openAction() const { return m_open; }
    QAction* showInFolderAction() const { return m_showInFolder; }
    QAction* emailAction() const { return m_email; }

    void copy();
    void open();
    void showInFolder();
    void email();

private:
    QStringList texts() const;
    QList<QUrl> files() const;
    QList<QImage> images() const;
    // Says that the desktop could not do `what`; the menu itself is gone by then.
    void reportFailure(const QString& what, const QString& detail) const;

    QList<ShareItem> m_items;
    Pasteboard& m_pasteboard;
    DesktopLauncher& m_launcher;
    QAction* m_copy;
    QAction* m_open;
    QAction* m_showInFolder;
    QAction* m_email;
};

} // namespace norvelle
