#include <gtest/gtest.h>

#include "ui/dpi.h"

namespace {

TEST(Dpi, ReportedDpiBelow97CountsAs96) {
    const unsigned reported[] = {0, 72, 96, 97, 120, 144, 192};
    const int expected[] = {96, 96, 96, 97, 120, 144, 192};
    for (std::size_t i = 0; i < std::size(reported); ++i) EXPECT_EQ(effective_dpi(reported[i]), expected[i]);
}

TEST(Dpi, ScaleAndUnscale) {
    struct Case {
        int dpi;
        int v;
        int scaled;
    };
    const Case scale_cases[] = {
        {96, 0, 0},    {96, 1, 1},     {96, 1076, 1076}, {144, 1, 2},  // (144 + 48) / 96
        {144, 11, 17},  // rounded corners at 144 DPI
        {144, 15, 23}, {120, 11, 14},  {120, 1, 1},      {192, 5, 10}, {144, -1, -1},
        {144, -3, -4}, {96, -7, -6},  // -6.5 truncated toward zero
    };
    for (const Case& c : scale_cases) EXPECT_EQ(scale(c.v, c.dpi), c.scaled) << c.v << " at " << c.dpi;

    const Case unscale_cases[] = {
        {144, 1614, 1076}, {96, 1076, 1076}, {144, 2, 1}, {144, 1, 1}, {120, 1345, 1076}, {144, 0, 0},
        {192, 1, 1},  // (96 + 96) / 192
    };
    for (const Case& c : unscale_cases) EXPECT_EQ(unscale(c.v, c.dpi), c.scaled) << c.v << " at " << c.dpi;
}

TEST(Dpi, FontHeightsAreNegativeAndFloored) {
    EXPECT_EQ(font_height(15, 96), -15);
    EXPECT_EQ(font_height(15, 144), -22);  // floor of 22.5
    EXPECT_EQ(font_height(28, 120), -35);
    EXPECT_EQ(font_height(13, 144), -19);  // floor of 19.5
    EXPECT_EQ(font_height(21, 144), -31);
}

}  // namespace
