#pragma once

#include <cstdint>

// COLORREF layout: 0x00BBGGRR, red in the low byte. Kept as a plain integer so
// the palette stays portable.
using Colorref = std::uint32_t;

inline constexpr Colorref rgb(unsigned r, unsigned g, unsigned b) {
    return static_cast<Colorref>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
inline constexpr unsigned red_of(Colorref c) { return c & 0xFF; }
inline constexpr unsigned green_of(Colorref c) { return (c >> 8) & 0xFF; }
inline constexpr unsigned blue_of(Colorref c) { return (c >> 16) & 0xFF; }

// Colours drawn with that are not derived from the scheme.
inline constexpr Colorref color_white = 0xFFFFFF;
inline constexpr Colorref color_error_text = 0x2429AA;
inline constexpr Colorref color_nav_text = 0xEDE2D5;

inline constexpr int color_scheme_count = 4;  // 3 presets and "自定义"
inline constexpr int color_scheme_custom = 3;
inline constexpr const char* color_scheme_names[color_scheme_count] = {"青绿", "靛蓝", "暖棕", "自定义"};

struct Palette {
    Colorref window_bg;
    Colorref sidebar_bg;
    Colorref text;
    Colorref text_muted;
    Colorref result_bg;
    Colorref readonly_bg;
    Colorref border;
    Colorref accent;
    Colorref accent_pressed;
    Colorref accent_focus;
    Colorref accent_soft;
    Colorref divider;
    Colorref sidebar_divider;
    Colorref nav_hover;
    Colorref nav_selected;
    Colorref nav_selected_hover;
    Colorref nav_focus;
    Colorref nav_selected_text;
    Colorref nav_indicator;

    friend bool operator==(const Palette&, const Palette&) = default;
};
static_assert(sizeof(Palette) == 19 * sizeof(Colorref));

// p percent of y blended into x, per channel, rounded half up.
Colorref mix(Colorref x, Colorref y, unsigned p);
float relative_luminance(Colorref c);

// The accent brought into the luminance window 0.018 .. 0.16.
Colorref normalize_accent(Colorref c);

// Scheme 1, 2 and 3 (custom colour) are themselves; any other index is scheme 0.
Palette derive_palette(int scheme, Colorref custom);
