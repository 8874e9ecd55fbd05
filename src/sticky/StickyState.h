#pragma once

#include "sticky/PaperTheme.h"

#include <QObject>
#include <QString>

namespace norvelle {

// The look of one sticky window, shared by all its views: each redraws on `changed`. A setter
// given the value already held announces nothing.
class StickyState : public QObject {
    Q_OBJECT
public:
    QString paperHex() const { return m_paperHex; }
    bool followsSystemTheme() const { return m_followsSystemTheme; }
    bool isDark() const { return m_isDark; }
    QString textureName() const { return m_textureName; }
    double opacity() const { return m_opacity; }
    bool isPinned() const { return m_isPinned; }

    void setPaperHex(const QString& hex);
    void setFollowsSystemTheme(bool follows);
    void setIsDark(bool dark);
    void setTextureName(const QString& name);
    void setOpacity(double opacity);
    void setIsPinned(bool pinned);

signals:
    void changed();
    void textureNameChanged(const QString& name);
    void opacityChanged(double opacity);

private:
    QString m_paperHex = PaperTheme::lightPaper;
    bool m_followsSystemTheme = true;
    bool m_isDark = false;
    QString m_textureName = QStringLiteral("lined");
    double m_opacity = 1.0;
    bool m_isPinned = false;
};

} // namespace norvelle
