#include "floating/ball_pixels.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

float clamp01(float v) { return std::min(std::max(v, 0.0f), 1.0f); }

// Rounded half away from zero; kept inside a byte even where the formulas
// could not leave it, so that a byte never spills into its neighbour.
unsigned to_byte(float v) {
    float r = std::round(v);
    if (!(r > 0.0f)) return 0;
    if (r > 255.0f) return 255;
    return static_cast<unsigned>(r);
}

float as_float(int v) { return static_cast<float>(v); }

// The accent whitened by the fraction white, at opacity k.
std::uint32_t tinted(float k, float white, Colorref color) {
    auto channel = [&](unsigned c) {
        const float base = static_cast<float>(c);
        return to_byte(((255.0f - base) * white + base) * k);
    };
    return make_pixel(to_byte(k * 255.0f), channel(red_of(color)), channel(green_of(color)), channel(blue_of(color)));
}

int picture_rows(std::span<std::uint32_t> picture, int row_length) {
    if (row_length <= 0) return 0;
    return static_cast<int>(picture.size() / static_cast<std::size_t>(row_length));
}

std::uint32_t& at(std::span<std::uint32_t> picture, int row_length, int row, int column) {
    return picture[static_cast<std::size_t>(row) * static_cast<std::size_t>(row_length) +
                   static_cast<std::size_t>(column)];
}

}  // namespace

std::uint32_t blend_over(std::uint32_t old_pixel, std::uint32_t new_pixel) {
    const unsigned alpha = pixel_alpha(new_pixel);
    if (alpha == 255 || old_pixel == 0) return new_pixel;
    std::uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const unsigned n = (new_pixel >> shift) & 0xFF;
        const unsigned o = (old_pixel >> shift) & 0xFF;
        out |= std::min(n + (o * (255 - alpha) + 127) / 255, 255u) << shift;
    }
    return out;
}

void draw_strip(std::span<std::uint32_t> picture, int row_length, int x0, int skip_rows, int w, int h, BallSide side,
                Colorref color) {
    if (w <= 0 || h <= 0) return;
    const int rows = picture_rows(picture, row_length);
    const float fw = as_float(w);
    const float fh = as_float(h);
    const float radius = fh / 46.0f * 4.0f;
    for (int j = 0; j < h; ++j) {
        const int row = skip_rows + j;
        if (row < 0) continue;
        if (row >= rows) break;
        const float dy = std::max(radius - fh / 2.0f + std::fabs(as_float(j) + 0.5f - fh / 2.0f), 0.0f);
        for (int i = 0; i < w; ++i) {
            const int column = x0 + i;
            if (column < 0 || column >= row_length) continue;
            // Distance from the screen edge.
            const float o = side == BallSide::Left ? as_float(i) + 0.5f : fw - (as_float(i) + 0.5f);
            const float dx = std::max(radius - fw + o, 0.0f);
            const float k = clamp01(radius + 0.5f - std::hypot(dx, dy));
            const float ratio = o / fw;
            const float white = ratio * ratio * 0.14f;
            at(picture, row_length, row, column) = tinted(k, white, color);
        }
    }
}

void draw_ball(std::span<std::uint32_t> picture, int row_length, int x0, int s, Colorref color) {
    if (s <= 0) return;
    const int rows = picture_rows(picture, row_length);
    const float g = as_float(s) / 56.0f;  // one unit of the 56-unit design grid
    const float m = as_float(s) / 2.0f;
    for (int r = 0; r < rows; ++r) {
        const float y = as_float(r) + 0.5f - m;  // downwards positive
        const float lid = clamp01(0.8f * g + 0.5f - std::fabs(y + 2.0f * g));
        const float shade = 0.08f * clamp01((24.0f * g - y) / (48.0f * g));
        const float uy = std::fabs(y - g) - 9.6f * g + 2.6f * g;
        for (int i = 0; i < s; ++i) {
            const int column = x0 + i;
            if (column < 0 || column >= row_length) continue;
            const float x = as_float(i) + 0.5f - m;
            const float d = std::hypot(x, y);
            std::uint32_t pixel;
            if (d > 24.0f * g) {
                // The shadow: a disc one unit lower and three units wider.
                const float a = 0.19f * clamp01((27.0f * g - std::hypot(x, y - g)) / (4.0f * g));
                pixel = make_pixel(to_byte(255.0f * a), to_byte(20.0f * a), to_byte(34.0f * a), to_byte(48.0f * a));
            } else {
                const float ux = std::fabs(x) - 12.0f * g + 2.6f * g;
                const float box = std::fabs(std::hypot(std::max(ux, 0.0f), std::max(uy, 0.0f)) +
                                            std::min(std::max(ux, uy), 0.0f) - 2.6f * g);
                const float slot = std::hypot(std::max(std::fabs(x) - 3.3f * g, 0.0f), y - 2.9f * g);
                const float e0 = std::max(24.0f * g - d, 0.0f);
                const float e1 = std::max(g + 0.5f - slot, 0.0f);
                const float e2 = std::max(12.0f * g + 0.5f - std::fabs(x), 0.0f);
                const float e3 = std::max(g + 0.5f - box, 0.0f);
                // The rim never gets more transparent than the shadow beside it.
                const float opacity = e0 > 1.0f ? 1.0f : std::max(e0, 0.19f);
                float icon = std::max({std::min(e3, 1.0f), std::min(e2, 1.0f) * lid, 0.74f * std::min(e1, 1.0f)});
                icon = icon + (1.0f - icon) * shade;
                pixel = tinted(opacity, icon, color);
            }
            std::uint32_t& target = at(picture, row_length, r, column);
            target = blend_over(target, pixel);
        }
    }
}
