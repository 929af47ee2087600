#include "ui/palette.h"

#include <cmath>

namespace {

constexpr Colorref scheme_accents[3] = {0x5E650C, 0x9D4D41, 0x2F4F8D};
constexpr Colorref black = 0x000000;
constexpr float luminance_floor = 0.018f;
constexpr float luminance_ceiling = 0.16f;

float linear(unsigned v) {
    float c = static_cast<float>(v) / 255.0f;
    return c <= 0.04045f ? c / 12.92f : std::pow((c + 0.055f) / 1.055f, 2.4f);
}

unsigned scale_channel(unsigned v, unsigned q) { return (v * q + 50) / 100; }

Colorref scaled(Colorref c, unsigned q) {
    return rgb(scale_channel(red_of(c), q), scale_channel(green_of(c), q), scale_channel(blue_of(c), q));
}

}  // namespace

Colorref mix(Colorref x, Colorref y, unsigned p) {
    auto channel = [p](unsigned a, unsigned b) { return (a * (100 - p) + b * p + 50) / 100; };
    return rgb(channel(red_of(x), red_of(y)), channel(green_of(x), green_of(y)), channel(blue_of(x), blue_of(y)));
}

float relative_luminance(Colorref c) {
    return 0.2126f * linear(red_of(c)) + 0.7152f * linear(green_of(c)) + 0.0722f * linear(blue_of(c));
}

Colorref normalize_accent(Colorref c) {
    float l = relative_luminance(c);
    if (l < luminance_floor) return mix(c, color_white, 18);
    if (l <= luminance_ceiling) return c;
    // Darken by a common percentage; 0 (black) always fits, so lo stays valid.
    unsigned lo = 0, hi = 100;
    while (hi - lo > 1) {
        unsigned mid = (lo + hi) / 2;
        if (relative_luminance(scaled(c, mid)) <= luminance_ceiling)
            lo = mid;
        else
            hi = mid;
    }
    return scaled(c, lo);
}

Palette derive_palette(int scheme, Colorref custom) {
    Colorref c = scheme == color_scheme_custom     ? (custom & 0xFFFFFF)
                 : scheme == 1 || scheme == 2      ? scheme_accents[scheme]
                                                   : scheme_accents[0];
    Colorref accent = normalize_accent(c);
    Colorref tint = mix(c, accent, 65);
    Palette p{};
    p.window_bg = mix(tint, rgb(250, 251, 253), 98);
    p.sidebar_bg = mix(tint, rgb(20, 34, 48), 90);
    p.text = mix(tint, rgb(24, 39, 54), 94);
    p.text_muted = mix(tint, rgb(82, 99, 117), 92);
    p.result_bg = mix(tint, color_white, 98);
    p.readonly_bg = mix(tint, color_white, 93);
    p.border = mix(tint, rgb(214, 221, 229), 90);
    p.accent = accent;
    p.accent_pressed = mix(accent, black, 19);
    p.accent_focus = mix(accent, color_white, 22);
    p.accent_soft = mix(tint, color_white, 90);
    p.divider = mix(tint, p.window_bg, 90);
    p.sidebar_divider = mix(p.sidebar_bg, color_white, 15);
    p.nav_hover = mix(p.sidebar_bg, color_white, 8);
    p.nav_selected = mix(accent, p.sidebar_bg, 70);
    p.nav_selected_hover = mix(p.nav_selected, color_white, 8);
    p.nav_focus = mix(tint, color_white, 46);
    p.nav_selected_text = mix(tint, color_white, 79);
    p.nav_indicator = mix(tint, color_white, 65);
    return p;
}
