#include <gtest/gtest.h>

#include "ui/paint_colors.h"

namespace {

const Palette p = derive_palette(0, 0);

TEST(PaintColors, Buttons) {
    const Colorref disabled_fill = mix(p.window_bg, p.text_muted, 6);
    struct Case {
        ButtonState state;
        BoxColors colors;
    };
    const Case cases[] = {
        // accent, pressed, disabled, focus
        {{false, false, false, false}, {color_white, p.border, p.text}},
        {{false, false, false, true}, {color_white, p.accent, p.text}},
        {{false, true, false, false}, {p.accent_soft, p.border, p.text}},
        {{false, true, false, true}, {p.accent_soft, p.accent, p.text}},
        {{true, false, false, false}, {p.accent, p.accent, color_white}},
        {{true, false, false, true}, {p.accent, p.accent_focus, color_white}},
        {{true, true, false, false}, {p.accent_pressed, p.accent_pressed, color_white}},
        {{true, true, false, true}, {p.accent_pressed, p.accent_focus, color_white}},
        // Disabled looks the same whatever the kind, press or focus.
        {{false, false, true, false}, {disabled_fill, p.border, p.text_muted}},
        {{true, false, true, false}, {disabled_fill, p.border, p.text_muted}},
        {{true, true, true, true}, {disabled_fill, p.border, p.text_muted}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.state.accent_style << c.state.pressed << c.state.disabled
                                          << c.state.focus_shown);
        EXPECT_EQ(button_colors(p, c.state), c.colors);
    }
    EXPECT_EQ(disabled_fill, 0xF2EFEBu);
}

TEST(PaintColors, NavItems) {
    struct Case {
        NavItemState state;  // selected, hot, pressed, focus
        Colorref fill;
        Colorref text;
    };
    const Case cases[] = {
        {{false, false, false, false}, p.sidebar_bg, color_nav_text},
        {{false, false, true, false}, p.nav_hover, color_nav_text},
        {{false, true, false, false}, p.nav_hover, color_nav_text},
        {{false, true, true, false}, p.nav_hover, color_nav_text},
        {{true, false, false, false}, p.nav_selected, p.nav_selected_text},
        {{true, false, true, false}, p.nav_selected_hover, p.nav_selected_text},
        {{true, true, false, false}, p.nav_selected_hover, p.nav_selected_text},
        {{true, true, true, false}, p.nav_selected_hover, p.nav_selected_text},
    };
    for (const Case& c : cases) {
        for (bool focus : {false, true}) {
            NavItemState s = c.state;
            s.focus_shown = focus;
            SCOPED_TRACE(::testing::Message() << s.selected << s.hot << s.pressed << focus);
            const BoxColors colors = nav_item_colors(p, s);
            EXPECT_EQ(colors.fill, c.fill);
            EXPECT_EQ(colors.text, c.text);
            EXPECT_EQ(colors.border, focus ? p.nav_focus : c.fill);
        }
    }
}

TEST(PaintColors, DropdownListItemsAndFace) {
    EXPECT_EQ(list_item_colors(p, false, false), (FillAndText{color_white, p.text}));
    EXPECT_EQ(list_item_colors(p, true, false), (FillAndText{p.accent_soft, p.accent_pressed}));
    EXPECT_EQ(list_item_colors(p, false, true), (FillAndText{color_white, p.text_muted}));
    EXPECT_EQ(list_item_colors(p, true, true), (FillAndText{p.accent_soft, p.text_muted}));

    EXPECT_EQ(dropdown_face_colors(p, true, false), (BoxColors{color_white, p.border, p.text}));
    EXPECT_EQ(dropdown_face_colors(p, true, true), (BoxColors{color_white, p.accent, p.text}));
    EXPECT_EQ(dropdown_face_colors(p, false, false), (BoxColors{p.window_bg, p.border, p.text_muted}));
    EXPECT_EQ(dropdown_face_colors(p, false, true), (BoxColors{p.window_bg, p.accent, p.text_muted}));
}

TEST(PaintColors, CtlColorAnswers) {
    using K = ControlKind;
    using M = CtlColorMessage;
    struct Case {
        CtlColorQuery query;  // kind, message, read-only, selected
        Colorref background;
        Colorref text;
    };
    const Case cases[] = {
        {{K::TextField, M::Edit, false, false}, color_white, p.text},
        {{K::TextField, M::Static, true, false}, p.readonly_bg, p.text},
        {{K::TextField, M::Edit, true, false}, p.readonly_bg, p.text},
        {{K::TextField, M::Button, false, false}, color_white, p.text},
        {{K::ResultArea, M::Static, true, false}, p.result_bg, p.text},
        {{K::ResultArea, M::Edit, true, false}, p.result_bg, p.text},
        {{K::BrandLabel, M::Static, false, false}, p.sidebar_bg, color_white},
        {{K::TextArea, M::Edit, false, false}, color_white, p.text},
        {{K::None, M::Edit, false, false}, color_white, p.text},
        {{K::Hint, M::Static, false, false}, p.window_bg, p.text_muted},
        {{K::Hint, M::Edit, false, false}, color_white, p.text},
        {{K::StatusLabel, M::Static, false, false}, p.window_bg, p.text_muted},
        {{K::StatusLabel, M::Static, false, true}, p.window_bg, color_error_text},
        {{K::Label, M::Static, false, false}, p.window_bg, p.text},
        {{K::Label, M::Static, true, true}, p.window_bg, p.text},  // the flags only matter for their kinds
        {{K::PageTitle, M::Static, false, false}, p.window_bg, p.text},
        {{K::Button, M::Button, false, false}, p.window_bg, p.text},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << static_cast<int>(c.query.kind) << " " << static_cast<int>(c.query.message));
        EXPECT_EQ(ctlcolor_colors(p, c.query), (FillAndText{c.background, c.text}));
    }
}

TEST(PaintColors, FrameInsets) {
    struct Case {
        int reference;
        int width;
        int height;
        int dpi;
        FrameInset inset;
    };
    const Case cases[] = {
        {7, 200, 31, 96, {4, 6, true}},    // one 19-px line centred in 31
        {7, 200, 20, 96, {4, 1, true}},    // never less than s(1)
        {7, 200, 2, 96, {4, 1, false}},    // no room vertically
        {7, 8, 31, 96, {4, 6, false}},     // no room horizontally
        {7, 9, 3, 96, {4, 1, true}},
        {7, 300, 47, 144, {6, 9, true}},   // s(19) = 29 at 144 DPI
        {8, 300, 200, 96, {1, 1, true}},
        {9, 300, 200, 144, {2, 2, true}},
        {0, 2, 200, 96, {1, 1, false}},
        {0, 3, 3, 96, {1, 1, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.reference << " " << c.width << "x" << c.height << " @" << c.dpi);
        EXPECT_EQ(frame_inset(c.reference, c.width, c.height, c.dpi), c.inset);
    }
}

}  // namespace
