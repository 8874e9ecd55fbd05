#pragma once

#include <QWidget>

class QAbstractButton;

namespace norvelle {

class HeaderSymbolButton;
class ShareAnchorButton;
class StickyState;

// The 36-point strip across the top of a sticky window: a close and a minimise dot on the
// left, and on the right a capsule with share, pin star and "more". It only reports clicks.
// Its icons are light on dark paper and dark on light or very transparent paper.
class StickyHeaderBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int stripHeight = 36;

    StickyHeaderBar(const StickyState& state, QWidget* parent = nullptr);

    // The paper shown under the bar (the theme's while the note follows it) and the opacity it
    // is drawn at (1 where it is drawn opaque).
    void setShownPaper(const QString& hex, double opacity);
    void setShareEnabled(bool enabled);

    // Light icons: false below 0.35 opacity, else the paper's sRGB luminance below 0.5 (the
    // text read as it stands); `fallbackDark` when it is no colour.
    static bool isHeaderDark(double opacity, const QString& effectivePaperHex, bool fallbackDark);

    QAbstractButton* closeButton() const { return m_close; }
    QAbstractButton* minimizeButton() const { return m_minimize; }
    ShareAnchorButton* shareButton() const { return m_share; }
    HeaderSymbolButton* pinButton() const { return m_pin; }
    HeaderSymbolButton* moreButton() const { return m_more; }

signals:
    void closeClicked();
    void minimizeClicked();
    void shareOptionsRequested(QWidget* anchor);
    void togglePinClicked();
    void moreClicked();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void refresh();
    QRect capsuleRect() const;

    const StickyState& m_state;
    QString m_paperHex;
    double m_shownOpacity = 1.0;
    QAbstractButton* m_close;
    QAbstractButton* m_minimize;
    ShareAnchorButton* m_share;
    HeaderSymbolButton* m_pin;
    HeaderSymbolButton* m_more;
    QWidget* m_capsule;
};

} // namespace norvelle
