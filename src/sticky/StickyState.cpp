#include "sticky/StickyState.h"

namespace norvelle {

namespace {

template <typename T>
bool assign(T& field, const T& value)
{
    if (field == value) {
        return false;
    }
    field = value;
    return true;
}

} // namespace

void StickyState::setPaperHex(const QString& hex)
{
    if (assign(m_paperHex, hex)) {
        emit changed();
    }
}

void StickyState::setFollowsSystemTheme(bool follows)
{
    if (assign(m_followsSystemTheme, follows)) {
        emit changed();
    }
}

void StickyState::setIsDark(bool dark)
{
    if (assign(m_isDark, dark)) {
        emit changed();
    }
}

void StickyState::setTextureName(const QString& name)
{
    if (assign(m_textureName, name)) {
        emit changed();
        emit textureNameChanged(name);
    }
}

void StickyState::setOpacity(double opacity)
{
    if (assign(m_opacity, opacity)) {
        emit changed();
        emit opacityChanged(opacity);
    }
}

void StickyState::setIsPinned(bool pinned)
{
    if (assign(m_isPinned, pinned)) {
        emit changed();
    }
}

} // namespace norvelle
