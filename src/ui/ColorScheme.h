#pragma once

namespace norvelle {

// The light or dark look a view draws itself in.
enum class ColorScheme { light,
    dark };

} // namespace norvelle
