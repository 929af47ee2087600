#pragma once

// Layouts are written in logical pixels at 96 DPI. These are the pure forms
// of the conversions; ui_resources_win.h adds the ones that use the thread's
// system DPI.

inline constexpr int logical_dpi = 96;

// The system DPI as the program uses it: anything below 97 counts as 96.
constexpr int effective_dpi(unsigned reported) {
    return reported < 97 ? logical_dpi : static_cast<int>(reported);
}

// Division truncates toward zero, so negative values round differently from
// positive ones; layouts only rely on this for small negative offsets.
constexpr int scale(int v, int dpi) { return (v * dpi + logical_dpi / 2) / logical_dpi; }
constexpr int unscale(int px, int dpi) { return (px * logical_dpi + dpi / 2) / dpi; }

// Negative: a character height, not a cell height (LOGFONT convention).
constexpr int font_height(int logical_size, int dpi) { return -(logical_size * dpi / logical_dpi); }
