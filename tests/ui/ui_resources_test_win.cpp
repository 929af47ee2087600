#include <gtest/gtest.h>

#include <windows.h>

#include <thread>

#include "ui/ui_resources_win.h"
#include "ui_test_support_win.h"

namespace {

LOGFONTW logfont(HFONT font) {
    LOGFONTW lf{};
    GetObjectW(font, sizeof(lf), &lf);
    return lf;
}

struct FontHeights {
    int dpi;
    LONG body, title, heading, small, mono, brand;
};

void expect_heights(const UiResources& r, const FontHeights& h) {
    EXPECT_EQ(logfont(r.body_font).lfHeight, h.body);
    EXPECT_EQ(logfont(r.title_font).lfHeight, h.title);
    EXPECT_EQ(logfont(r.heading_font).lfHeight, h.heading);
    EXPECT_EQ(logfont(r.small_font).lfHeight, h.small);
    EXPECT_EQ(logfont(r.mono_font).lfHeight, h.mono);
    EXPECT_EQ(logfont(r.brand_font).lfHeight, h.brand);
}

const FontHeights heights[] = {
    {96, -15, -28, -17, -13, -15, -21},
    {120, -18, -35, -21, -16, -18, -26},
    {144, -22, -42, -25, -19, -22, -31},  // floors of 22.5, 25.5, 19.5, 31.5
};

TEST(UiResources, SystemDpiOfThisRun) {
    EXPECT_EQ(ui_resources().dpi, ui_test::expected_dpi());
    for (const FontHeights& h : heights)
        if (h.dpi == ui_test::expected_dpi()) expect_heights(ui_resources(), h);
}

TEST(UiResources, FontsAtEachDpi) {
    for (const FontHeights& h : heights) {
        SCOPED_TRACE(h.dpi);
        UiResources r(h.dpi);
        expect_heights(r, h);
        const LOGFONTW body = logfont(r.body_font);
        EXPECT_STREQ(body.lfFaceName, L"Microsoft YaHei UI");
        EXPECT_EQ(body.lfWeight, FW_NORMAL);
        EXPECT_EQ(body.lfWidth, 0);
        EXPECT_EQ(body.lfEscapement, 0);
        EXPECT_FALSE(body.lfItalic || body.lfUnderline || body.lfStrikeOut);
        EXPECT_EQ(body.lfCharSet, DEFAULT_CHARSET);
        EXPECT_EQ(body.lfQuality, CLEARTYPE_QUALITY);
        EXPECT_EQ(body.lfPitchAndFamily, 0);
        EXPECT_STREQ(logfont(r.mono_font).lfFaceName, L"Consolas");
        EXPECT_EQ(logfont(r.title_font).lfWeight, FW_BOLD);
        EXPECT_EQ(logfont(r.heading_font).lfWeight, 600);
        EXPECT_EQ(logfont(r.brand_font).lfWeight, FW_BOLD);
        EXPECT_EQ(logfont(r.small_font).lfWeight, FW_NORMAL);
    }
}

TEST(UiResources, StartsWithSchemeZeroAndNoProbe) {
    std::thread([] {
        EXPECT_EQ(ui_resources().palette, derive_palette(0, 0));
        EXPECT_EQ(ui_resources().rich_edit_state, RichEditState::NotProbed);
    }).join();
}

TEST(UiResources, OnePerThreadAndFontsDeletedAtThreadEnd) {
    const UiResources* here = &ui_resources();
    EXPECT_EQ(&ui_resources(), here);
    const UiResources* there = nullptr;
    HFONT there_font = nullptr;
    std::thread([&] {
        there = &ui_resources();
        there_font = ui_resources().body_font;
        EXPECT_EQ(GetObjectType(there_font), static_cast<DWORD>(OBJ_FONT));
    }).join();
    EXPECT_NE(there, here);
    EXPECT_NE(there_font, ui_resources().body_font);
    EXPECT_EQ(GetObjectType(there_font), 0u);  // deleted with its thread's record
}

TEST(UiResources, ScaleAtTheThreadDpi) {
    const int dpi = ui_resources().dpi;
    for (int v : {-3, 0, 1, 5, 11, 27, 1076}) EXPECT_EQ(scale(v), scale(v, dpi)) << v;
    for (int px : {0, 1, 2, 1614}) EXPECT_EQ(unscale(px), unscale(px, dpi)) << px;
    EXPECT_EQ(unscale(scale(1076)), 1076);
    if (dpi == 144) {
        EXPECT_EQ(scale(1), 2);
        EXPECT_EQ(unscale(1614), 1076);
        EXPECT_EQ(scale(11), 17);  // the corner ellipse
    }
}

}  // namespace
