#include "floating/ball_pixels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

constexpr Colorref teal = rgb(12, 101, 94);

struct Expected {
    int row;
    int column;
    unsigned a, r, g, b;
};

void expect_pixel(const std::vector<std::uint32_t>& picture, int width, const Expected& e) {
    const std::uint32_t p = picture[static_cast<std::size_t>(e.row * width + e.column)];
    EXPECT_EQ(pixel_alpha(p), e.a) << "row " << e.row << " column " << e.column;
    EXPECT_EQ(pixel_red(p), e.r) << "row " << e.row << " column " << e.column;
    EXPECT_EQ(pixel_green(p), e.g) << "row " << e.row << " column " << e.column;
    EXPECT_EQ(pixel_blue(p), e.b) << "row " << e.row << " column " << e.column;
}

std::vector<std::uint32_t> ball_picture(int size, Colorref color) {
    std::vector<std::uint32_t> picture(static_cast<std::size_t>(size * size), 0);
    draw_ball(picture, size, 0, size, color);
    return picture;
}

std::vector<std::uint32_t> strip_picture(BallSide side) {
    std::vector<std::uint32_t> picture(10 * 46, 0);
    draw_strip(picture, 10, 0, 0, 10, 46, side, teal);
    return picture;
}

TEST(DrawBall, PixelsOfThe56PixelBall) {
    const auto picture = ball_picture(56, teal);
    const Expected cases[] = {
        {28, 28, 255, 22, 107, 100},   // only the shade
        {26, 28, 255, 208, 226, 224},  // the lid line
        {52, 28, 42, 3, 6, 8},         // the shadow below the disc
        {1, 28, 0, 0, 0, 0},           // no shadow above it
        {0, 0, 0, 0, 0, 0},
        {0, 55, 0, 0, 0, 0},
        {55, 0, 0, 0, 0, 0},
        {55, 55, 0, 0, 0, 0},
    };
    for (const Expected& e : cases) expect_pixel(picture, 56, e);
}

TEST(DrawBall, JustInsideTheRimTheAlphaIsThatOfTheShadowsDarkestPart) {
    const auto picture = ball_picture(56, teal);
    int found = 0;
    for (int r = 0; r < 56; ++r)
        for (int i = 0; i < 56; ++i) {
            const float x = static_cast<float>(i) + 0.5f - 28.0f;
            const float y = static_cast<float>(r) + 0.5f - 28.0f;
            const float inside = 24.0f - std::hypot(x, y);
            if (inside > 0.0f && inside < 0.19f) {
                ++found;
                EXPECT_EQ(pixel_alpha(picture[static_cast<std::size_t>(r * 56 + i)]), 48u) << r << "," << i;
            }
        }
    EXPECT_GT(found, 0);
}

TEST(DrawBall, PremultipliedEverywhere) {
    for (int size : {56, 84, 112}) {
        const auto picture = ball_picture(size, rgb(255, 255, 255));
        for (std::uint32_t p : picture) {
            EXPECT_LE(pixel_red(p), pixel_alpha(p));
            EXPECT_LE(pixel_green(p), pixel_alpha(p));
            EXPECT_LE(pixel_blue(p), pixel_alpha(p));
        }
    }
}

TEST(DrawBall, DrawnAtAnOffsetIsTheSameBall) {
    const auto alone = ball_picture(56, teal);
    std::vector<std::uint32_t> wide(61 * 56, 0);
    draw_ball(wide, 61, 5, 56, teal);
    for (int r = 0; r < 56; ++r) {
        for (int i = 0; i < 56; ++i)
            ASSERT_EQ(wide[static_cast<std::size_t>(r * 61 + 5 + i)], alone[static_cast<std::size_t>(r * 56 + i)]);
        for (int i = 0; i < 5; ++i) ASSERT_EQ(wide[static_cast<std::size_t>(r * 61 + i)], 0u);
    }
}

TEST(DrawStrip, PixelsOfTheLeftTab) {
    const auto picture = strip_picture(BallSide::Left);
    const Expected cases[] = {
        {0, 0, 255, 12, 101, 94},     // edge-side corner: square, plain accent
        {0, 9, 0, 0, 0, 0},           // inner corner: rounded away
        {23, 9, 255, 43, 120, 114},   // inner side of the middle row: lighter
        {45, 0, 255, 12, 101, 94},
        {45, 9, 0, 0, 0, 0},
    };
    for (const Expected& e : cases) expect_pixel(picture, 10, e);
}

TEST(DrawStrip, TheRightTabIsTheMirrorImage) {
    const auto left = strip_picture(BallSide::Left);
    const auto right = strip_picture(BallSide::Right);
    expect_pixel(right, 10, {0, 9, 255, 12, 101, 94});
    expect_pixel(right, 10, {0, 0, 0, 0, 0, 0});
    expect_pixel(right, 10, {23, 0, 255, 43, 120, 114});
    for (int r = 0; r < 46; ++r)
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(right[static_cast<std::size_t>(r * 10 + 9 - i)], left[static_cast<std::size_t>(r * 10 + i)])
                << r << "," << i;
}

TEST(DrawStrip, RowsBeyondThePictureAreNotDrawn) {
    // 20 rows, the tab skipping 10 of them: only its first 10 rows fit.
    std::vector<std::uint32_t> picture(10 * 20, 0);
    draw_strip(picture, 10, 0, 10, 10, 46, BallSide::Left, teal);
    const auto whole = strip_picture(BallSide::Left);
    for (int r = 0; r < 10; ++r)
        for (int i = 0; i < 10; ++i) EXPECT_EQ(picture[static_cast<std::size_t>(r * 10 + i)], 0u);
    for (int r = 10; r < 20; ++r)
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(picture[static_cast<std::size_t>(r * 10 + i)], whole[static_cast<std::size_t>((r - 10) * 10 + i)]);
}

TEST(BlendOver, OpaqueOrOntoNothingReplaces) {
    EXPECT_EQ(blend_over(0x12345678, 0xFF010203), 0xFF010203u);
    EXPECT_EQ(blend_over(0, 0x30101010), 0x30101010u);
    // 0x30 over opaque white: 0x30 + (255 * 207 + 127) / 255 = 0x30 + 207.
    EXPECT_EQ(blend_over(0xFFFFFFFF, 0x30101010), make_pixel(0x30 + 207, 0x10 + 207, 0x10 + 207, 0x10 + 207));
    // A transparent pixel leaves what is there.
    EXPECT_EQ(blend_over(0xFF0C655E, 0), 0xFF0C655Eu);
}

// The hover shape: the tab at the screen edge, the ball over it. Where they
// overlap the ball lies on top, and where the ball is transparent or only
// shadow the tab shows through.
TEST(PeekComposition, TheBallLiesOverTheTabAndNeverUnderIt) {
    constexpr int width = 5 + 56, height = 56, offset = 5;
    for (BallSide side : {BallSide::Right, BallSide::Left}) {
        std::vector<std::uint32_t> picture(width * height, 0);
        const int tab_x = side == BallSide::Right ? width - 10 : 0;
        const int ball_x = side == BallSide::Right ? 0 : width - 56;
        draw_strip(picture, width, tab_x, offset, 10, 46, side, teal);
        std::vector<std::uint32_t> tab_only = picture;
        draw_ball(picture, width, ball_x, 56, teal);
        std::vector<std::uint32_t> ball_only(width * height, 0);
        draw_ball(ball_only, width, ball_x, 56, teal);
        int blended = 0;
        for (int r = 0; r < height; ++r)
            for (int i = 0; i < width; ++i) {
                const auto k = static_cast<std::size_t>(r * width + i);
                const std::uint32_t tab = tab_only[k], ball = ball_only[k];
                const std::uint32_t expected = blend_over(tab, ball);
                ASSERT_EQ(picture[k], expected) << r << "," << i;
                if (pixel_alpha(ball) == 255) {
                    EXPECT_EQ(picture[k], ball);
                }
                // Never more transparent than either layer.
                EXPECT_GE(pixel_alpha(picture[k]), pixel_alpha(ball));
                EXPECT_GE(pixel_alpha(picture[k]), pixel_alpha(tab));
                if (tab != 0 && ball != 0 && pixel_alpha(ball) < 255) ++blended;
            }
        EXPECT_GT(blended, 0);  // the shadow and the rim lie over the tab
        // The tab's far half sticks out beside the ball's transparent corner.
        const int edge_column = side == BallSide::Right ? width - 1 : 0;
        EXPECT_EQ(picture[static_cast<std::size_t>((offset + 23) * width + edge_column)],
                  tab_only[static_cast<std::size_t>((offset + 23) * width + edge_column)]);
    }
}

}  // namespace
