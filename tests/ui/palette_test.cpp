#include <gtest/gtest.h>

#include "ui/palette.h"

namespace {

std::vector<Colorref> entries(const Palette& p) {
    const Colorref* first = &p.window_bg;
    return std::vector<Colorref>(first, first + 19);
}

TEST(Palette, SchemeZeroAllEntries) {
    const std::vector<Colorref> expected = {0xFAF8F5, 0x352913, 0x382B17, 0x73634C, 0xFCFCFA, 0xF4F4EE, 0xD8D1C2,
                                            0x5E650C, 0x4C520A, 0x818741, 0xEFF0E7, 0xEAE9DE, 0x534936, 0x453A26,
                                            0x413B11, 0x504B24, 0xA8AC7C, 0xDDDFCC, 0xC7C9AA};
    EXPECT_EQ(entries(derive_palette(0, 0)), expected);
}

TEST(Palette, PresetsAndCustomColours) {
    struct Case {
        int scheme;
        Colorref custom;
        Colorref accent;
    };
    const Case cases[] = {
        {1, 0, 0x9D4D41},        {2, 0, 0x2F4F8D},        {3, 0x000000, 0x2E2E2E},  // black: lifted by 18 % white
        {3, 0xFFFFFF, 0x6E6E6E},  // white: scaled to 43 %
        {3, 0x00FF00, 0x008200},  // green: 51 %
        {3, 0x0000FF, 0x0000E0},  // red: 88 %
        {3, 0xFF0000, 0xFF0000},  // blue: already inside the window
        {3, 0xAB5E650C, 0x5E650C},  // only the low 24 bits count
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.custom);
        EXPECT_EQ(derive_palette(c.scheme, c.custom).accent, c.accent);
    }
    EXPECT_EQ(derive_palette(1, 0).window_bg, 0xFBF8F6u);
    EXPECT_EQ(derive_palette(2, 0).window_bg, 0xF9F8F8u);
    EXPECT_EQ(derive_palette(3, 0x000000).sidebar_bg, 0x2E2215u);
}

TEST(Palette, UnknownSchemesAndIgnoredCustomColours) {
    const Palette zero = derive_palette(0, 0);
    for (int scheme : {0, 7, -1, 4})
        for (Colorref custom : {0x000000u, 0x123456u, 0xFFFFFFu}) EXPECT_EQ(derive_palette(scheme, custom), zero);
    EXPECT_EQ(derive_palette(1, 0x123456), derive_palette(1, 0));
}

TEST(Palette, MixRoundsHalfUpPerChannel) {
    EXPECT_EQ(mix(rgb(0, 0, 0), rgb(255, 255, 255), 50), rgb(128, 128, 128));  // 127.5 -> 128
    EXPECT_EQ(mix(rgb(10, 20, 30), rgb(110, 120, 130), 0), rgb(10, 20, 30));
    EXPECT_EQ(mix(rgb(10, 20, 30), rgb(110, 120, 130), 100), rgb(110, 120, 130));
    EXPECT_EQ(mix(rgb(0, 1, 2), rgb(3, 4, 5), 25), rgb(1, 2, 3));  // 0.75, 1.75, 2.75 -> rounded
}

TEST(Palette, AccentAlwaysLandsInTheLuminanceWindow) {
    for (unsigned r = 0; r < 256; r += 15)
        for (unsigned g = 0; g < 256; g += 15)
            for (unsigned b = 0; b < 256; b += 15) {
                float l = relative_luminance(normalize_accent(rgb(r, g, b)));
                EXPECT_LE(l, 0.16f) << r << "," << g << "," << b;
            }
}

}  // namespace
