#pragma once

// The floating ball's pictures, computed pixel by pixel from distance
// functions with one pixel of anti-aliasing, so that they stay sharp at every
// DPI without image resources. Pixels are 32-bit premultiplied ARGB
// (alpha << 24 | red << 16 | green << 8 | blue), top row first, row r and
// column i at index r * row_length + i. Single-precision arithmetic throughout,
// so that every build gives the same bytes.

#include <cstdint>
#include <span>

#include "ui/palette.h"

enum class BallSide : std::uint8_t { Left = 0, Right = 1 };

// The edge tab, w by h, its first column at x0 and its first row skip_rows
// down: straight on the screen-edge side, rounded on the inner side, lighter
// towards the inner side. Replaces what was there; rows and columns that fall
// outside the picture are not drawn.
void draw_strip(std::span<std::uint32_t> picture, int row_length, int x0, int skip_rows, int w, int h, BallSide side,
                Colorref color);

// The ball of size s (its disc, icon and shadow), first column x0, over every
// row of the picture; laid "over" what is already there.
void draw_ball(std::span<std::uint32_t> picture, int row_length, int x0, int s, Colorref color);

// Premultiplied "over": the new pixel when it is opaque or the old one is
// empty, otherwise each byte new + (old * (255 - new alpha) + 127) / 255.
std::uint32_t blend_over(std::uint32_t old_pixel, std::uint32_t new_pixel);

inline constexpr unsigned pixel_alpha(std::uint32_t p) { return p >> 24; }
inline constexpr unsigned pixel_red(std::uint32_t p) { return (p >> 16) & 0xFF; }
inline constexpr unsigned pixel_green(std::uint32_t p) { return (p >> 8) & 0xFF; }
inline constexpr unsigned pixel_blue(std::uint32_t p) { return p & 0xFF; }
inline constexpr std::uint32_t make_pixel(unsigned a, unsigned r, unsigned g, unsigned b) {
    return (a << 24) | (r << 16) | (g << 8) | b;
}
