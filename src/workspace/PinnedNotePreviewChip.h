#pragma once

#include <QAbstractButton>

#include <memory>

namespace norvelle {

class StickyNote;

// A pinned note as a 200 × 48 tile of the pinned strip: its display title and one preview
// line on its paper and texture, with the pinned outline and a star. Clicking opens the note.
class PinnedNotePreviewChip : public QAbstractButton {
    Q_OBJECT
public:
    explicit PinnedNotePreviewChip(std::shared_ptr<StickyNote> note, QWidget* parent = nullptr);

    const std::shared_ptr<StickyNote>& note() const { return m_note; }
    QSize sizeHint() const override { return QSize(200, 48); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::shared_ptr<StickyNote> m_note;
};

} // namespace norvelle
