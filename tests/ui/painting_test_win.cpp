#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <algorithm>

#include "ui/control_subclass_win.h"
#include "ui/controls_win.h"
#include "ui/paint_colors.h"
#include "ui/painting_win.h"
#include "ui/ui_resources_win.h"
#include "ui_test_support_win.h"

namespace {

using ui_test::Canvas;
using ui_test::HostWindow;
using ui_test::hex;

// Sets the thread's palette for one test and puts scheme 0 back after it.
class PaletteScope {
public:
    explicit PaletteScope(const Palette& p) { ui_resources().palette = p; }
    ~PaletteScope() { ui_resources().palette = derive_palette(0, 0); }
    PaletteScope(const PaletteScope&) = delete;
    PaletteScope& operator=(const PaletteScope&) = delete;
};

// Scheme 0 and a second palette, to show that painting follows a change.
const Palette palettes[] = {derive_palette(0, 0), derive_palette(1, 0), derive_palette(3, 0x00FF00)};

#define EXPECT_PIXEL(canvas, x, y, color) \
    EXPECT_EQ(hex((canvas).at((x), (y))), hex(color)) << "at " << (x) << "," << (y)

void hide_focus_cues(HWND control, bool hide) {
    SendMessageW(control, WM_UPDATEUISTATE, MAKEWPARAM(hide ? UIS_SET : UIS_CLEAR, UISF_HIDEFOCUS), 0);
}

void draw_button(HWND button, Canvas& canvas, UINT state) {
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.CtlID = static_cast<UINT>(GetDlgCtrlID(button));
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = state;
    item.hwndItem = button;
    item.hDC = canvas.dc();
    item.rcItem = {0, 0, canvas.width(), canvas.height()};
    canvas.fill(0xFF00FF);
    paint_owner_item(item);
}

// The outline every rounded box shares: corners in the outer colour, a
// one-pixel border at the middle of each side, the fill just inside.
void expect_rounded_box(const Canvas& c, Colorref outer, Colorref fill, Colorref border) {
    const int w = c.width(), h = c.height();
    EXPECT_PIXEL(c, 0, 0, outer);
    EXPECT_PIXEL(c, w - 1, 0, outer);
    EXPECT_PIXEL(c, 0, h - 1, outer);
    EXPECT_PIXEL(c, w - 1, h - 1, outer);
    EXPECT_PIXEL(c, w / 2, 0, border);
    EXPECT_PIXEL(c, w / 2, h - 1, border);
    EXPECT_PIXEL(c, 0, h / 2, border);
    EXPECT_PIXEL(c, w - 1, h / 2, border);
    EXPECT_PIXEL(c, 1, h / 2, fill);
    EXPECT_PIXEL(c, w - 2, h / 2, fill);
    EXPECT_PIXEL(c, w / 2, 1, fill);
    EXPECT_PIXEL(c, w / 2, h - 2, fill);
}

// Text is drawn with anti-aliasing; its stems still reach the exact colour.
void expect_text(const Canvas& c, const RECT& area, Colorref color) {
    EXPECT_TRUE(c.contains(area, color)) << "no pixel of " << hex(color);
}

TEST(PaintOwnerItem, ButtonsInEveryState) {
    HostWindow host;
    HWND button = create_control(host.hwnd(), ControlKind::Button, "确定", 1);
    HWND primary = create_control(host.hwnd(), ControlKind::PrimaryButton, "格式化", 2);
    HWND toggle = create_control(host.hwnd(), ControlKind::Button, "", 3);
    set_toggle(toggle, true);
    for (HWND b : {button, primary, toggle}) hide_focus_cues(b, false);

    for (const Palette& p : palettes) {
        PaletteScope scope(p);
        const Colorref disabled_fill = mix(p.window_bg, p.text_muted, 6);
        struct Case {
            const char* name;
            HWND button;
            UINT state;
            Colorref fill, border, text;
        };
        const Case cases[] = {
            {"rest", button, 0, color_white, p.border, p.text},
            {"pressed", button, ODS_SELECTED, p.accent_soft, p.border, p.text},
            {"focused", button, ODS_FOCUS, color_white, p.accent, p.text},
            {"focus rect off", button, ODS_FOCUS | ODS_NOFOCUSRECT, color_white, p.border, p.text},
            {"disabled", button, ODS_DISABLED, disabled_fill, p.border, p.text_muted},
            {"primary", primary, 0, p.accent, p.accent, color_white},
            {"primary pressed", primary, ODS_SELECTED, p.accent_pressed, p.accent_pressed, color_white},
            {"primary focused", primary, ODS_FOCUS, p.accent, p.accent_focus, color_white},
            {"primary pressed focused", primary, ODS_SELECTED | ODS_FOCUS, p.accent_pressed, p.accent_focus,
             color_white},
            {"primary disabled", primary, ODS_DISABLED, disabled_fill, p.border, p.text_muted},
            {"selected toggle", toggle, 0, p.accent, p.accent, color_white},
            {"selected toggle pressed", toggle, ODS_SELECTED, p.accent_pressed, p.accent_pressed, color_white},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(::testing::Message() << c.name << " / accent " << hex(p.accent));
            Canvas canvas(scale(120), scale(32));
            draw_button(c.button, canvas, c.state);
            expect_rounded_box(canvas, p.window_bg, c.fill, c.border);
            expect_text(canvas, {scale(20), 0, scale(100), scale(32)}, c.text);
            // Centred: the left and right quarters stay empty.
            EXPECT_PIXEL(canvas, scale(10), scale(16), c.fill);
            EXPECT_PIXEL(canvas, scale(110), scale(16), c.fill);
        }
    }
}

// Answers WM_QUERYUISTATE as a window whose focus cues are hidden (after a
// mouse click). Wine 8 keeps no UI state, so the answer is made here.
LRESULT CALLBACK cues_hidden(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR) {
    if (message == WM_QUERYUISTATE) return UISF_HIDEFOCUS | UISF_HIDEACCEL;
    return DefSubclassProc(hwnd, message, wparam, lparam);
}

TEST(PaintOwnerItem, FocusBorderOnlyWhenCuesAreShown) {
    HostWindow host;
    HWND primary = create_control(host.hwnd(), ControlKind::PrimaryButton, "生成", 1);
    HWND nav = create_control(host.hwnd(), ControlKind::NavItem, "设置", 2);
    const Palette& p = ui_resources().palette;
    Canvas canvas(scale(100), scale(32));
    hide_focus_cues(primary, false);  // reached with the keyboard
    draw_button(primary, canvas, ODS_FOCUS);
    EXPECT_PIXEL(canvas, canvas.width() / 2, 0, p.accent_focus);
    draw_button(nav, canvas, ODS_FOCUS);
    EXPECT_PIXEL(canvas, canvas.width() / 2, 0, p.nav_focus);

    SetWindowSubclass(primary, cues_hidden, 9, 0);
    SetWindowSubclass(nav, cues_hidden, 9, 0);
    draw_button(primary, canvas, ODS_FOCUS);
    EXPECT_PIXEL(canvas, canvas.width() / 2, 0, p.accent);
    draw_button(nav, canvas, ODS_FOCUS);
    EXPECT_PIXEL(canvas, canvas.width() / 2, 0, p.sidebar_bg);
}

TEST(PaintOwnerItem, NavItems) {
    HostWindow host;
    HWND item = create_control(host.hwnd(), ControlKind::NavItem, "时间戳", 1);
    hide_focus_cues(item, false);
    for (const Palette& p : palettes) {
        PaletteScope scope(p);
        struct Case {
            const char* name;
            bool selected, hot;
            UINT state;
            Colorref fill, border, text;
        };
        const Case cases[] = {
            {"rest", false, false, 0, p.sidebar_bg, p.sidebar_bg, color_nav_text},
            {"hot", false, true, 0, p.nav_hover, p.nav_hover, color_nav_text},
            {"pressed", false, false, ODS_SELECTED, p.nav_hover, p.nav_hover, color_nav_text},
            {"focused", false, false, ODS_FOCUS, p.sidebar_bg, p.nav_focus, color_nav_text},
            {"selected", true, false, 0, p.nav_selected, p.nav_selected, p.nav_selected_text},
            {"selected hot", true, true, 0, p.nav_selected_hover, p.nav_selected_hover, p.nav_selected_text},
            {"selected focused", true, false, ODS_FOCUS, p.nav_selected, p.nav_focus, p.nav_selected_text},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(::testing::Message() << c.name << " / accent " << hex(p.accent));
            if (c.selected)
                SetPropW(item, selected_property, reinterpret_cast<HANDLE>(1));
            else
                RemovePropW(item, selected_property);
            if (c.hot)
                SetPropW(item, hot_property, reinterpret_cast<HANDLE>(1));
            else
                RemovePropW(item, hot_property);
            Canvas canvas(scale(200), scale(40));
            draw_button(item, canvas, c.state);
            const int w = canvas.width(), h = canvas.height();
            EXPECT_PIXEL(canvas, 0, 0, p.sidebar_bg);
            EXPECT_PIXEL(canvas, w / 2, 0, c.border);
            EXPECT_PIXEL(canvas, w - 1, h / 2, c.border);
            EXPECT_PIXEL(canvas, w - 2, h / 2, c.fill);
            // The indicator bar: columns s(3) to s(6), rows s(11) to h - s(11).
            const Colorref bar = c.selected ? p.nav_indicator : c.fill;
            EXPECT_PIXEL(canvas, scale(3), h / 2, bar);
            EXPECT_PIXEL(canvas, scale(6) - 1, h / 2, bar);
            EXPECT_PIXEL(canvas, scale(3), scale(11), bar);
            EXPECT_PIXEL(canvas, scale(3), h - scale(11) - 1, bar);
            EXPECT_PIXEL(canvas, scale(6), h / 2, c.fill);
            EXPECT_PIXEL(canvas, scale(3), scale(11) - 1, c.fill);
            EXPECT_PIXEL(canvas, scale(3), h - scale(11), c.fill);
            // Left-aligned text from s(17).
            expect_text(canvas, {scale(17), 0, scale(80), h}, c.text);
            EXPECT_FALSE(canvas.contains({scale(7), 0, scale(17), h}, c.text));
        }
    }
}

TEST(PaintOwnerItem, NavItemTextIsCutWithAnEllipsis) {
    HostWindow host;
    HWND item = create_control(host.hwnd(), ControlKind::NavItem, "一个很长很长很长很长很长的名字", 1);
    Canvas canvas(scale(80), scale(40));
    draw_button(item, canvas, 0);
    // Cut at a whole character with "..." after it, so the text stops short
    // of the edge instead of running into it.
    const Palette& p = ui_resources().palette;
    const int w = canvas.width(), h = canvas.height();
    for (int x = w - scale(3); x < w - 1; ++x)
        for (int y = 2; y < h - 2; ++y) EXPECT_PIXEL(canvas, x, y, p.sidebar_bg);
    expect_text(canvas, {scale(17), 0, w, h}, color_nav_text);
}

TEST(PaintOwnerItem, DropdownListItems) {
    HostWindow host;
    HWND dropdown = create_control(host.hwnd(), ControlKind::Dropdown, "", 1);
    const char* items[] = {"毫秒", "秒"};
    fill_dropdown(dropdown, items, 2, 0);
    for (const Palette& p : palettes) {
        PaletteScope scope(p);
        struct Case {
            const char* name;
            int index;
            UINT state;
            Colorref fill, text;
        };
        const Case cases[] = {
            {"plain", 0, 0, color_white, p.text},
            {"highlighted", 0, ODS_SELECTED, p.accent_soft, p.accent_pressed},
            {"selection field", 0, ODS_SELECTED | ODS_COMBOBOXEDIT, color_white, p.text},
            {"disabled", 1, ODS_DISABLED, color_white, p.text_muted},
            {"disabled highlighted", 1, ODS_DISABLED | ODS_SELECTED, p.accent_soft, p.text_muted},
            {"no item", -1, 0, color_white, color_white},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(::testing::Message() << c.name << " / accent " << hex(p.accent));
            Canvas canvas(scale(120), scale(28));
            canvas.fill(0xFF00FF);
            DRAWITEMSTRUCT item{};
            item.CtlType = ODT_COMBOBOX;
            item.itemID = static_cast<UINT>(c.index);
            item.itemState = c.state;
            item.hwndItem = dropdown;
            item.hDC = canvas.dc();
            item.rcItem = {0, 0, canvas.width(), canvas.height()};
            paint_owner_item(item);
            EXPECT_PIXEL(canvas, 0, 0, c.fill);
            EXPECT_PIXEL(canvas, canvas.width() - 1, canvas.height() - 1, c.fill);
            EXPECT_FALSE(canvas.contains({0, 0, scale(9), canvas.height()}, c.text == c.fill ? 0xFF00FF : c.text));
            if (c.index >= 0) {
                expect_text(canvas, {scale(9), 0, scale(60), canvas.height()}, c.text);
            } else {
                EXPECT_FALSE(canvas.contains({0, 0, canvas.width(), canvas.height()}, p.text));
            }
        }
    }
}

// The face of a closed or open dropdown, printed through its subclass.
void print_dropdown(HWND dropdown, Canvas& canvas) {
    canvas.fill(0xFF00FF);
    SendMessageW(dropdown, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
}

TEST(PaintDropdown, ClosedOpenDisabledAndFocused) {
    HWND host = ui_test::focus_host();
    HWND dropdown = create_control(host, ControlKind::Dropdown, "", 1);
    HWND other = create_control(host, ControlKind::Button, "x", 2);
    place_control(dropdown, 10, 10, 160, 30);
    place_control(other, 10, 60, 80, 30);
    const char* items[] = {"UTC", "本地时间"};
    fill_dropdown(dropdown, items, 2, 1);
    SetFocus(other);
    RECT client;
    GetClientRect(dropdown, &client);
    const int w = client.right, h = client.bottom;
    const int cx = w - scale(15), cy = h / 2;

    for (const Palette& p : palettes) {
        PaletteScope scope(p);
        Canvas canvas(w, h);
        SCOPED_TRACE(hex(p.accent));

        print_dropdown(dropdown, canvas);
        expect_rounded_box(canvas, p.window_bg, color_white, p.border);
        expect_text(canvas, {scale(10), 0, w - scale(29), h}, p.text);
        EXPECT_PIXEL(canvas, cx, cy + scale(2), p.text_muted);  // "v": its point at the bottom
        EXPECT_PIXEL(canvas, cx - scale(4), cy - scale(2), p.text_muted);
        EXPECT_PIXEL(canvas, cx, cy - scale(2), color_white);

        SendMessageW(dropdown, CB_SHOWDROPDOWN, TRUE, 0);
        print_dropdown(dropdown, canvas);
        EXPECT_PIXEL(canvas, w / 2, 0, p.accent);
        EXPECT_PIXEL(canvas, cx, cy - scale(2), p.text_muted);  // inverted "v"
        EXPECT_PIXEL(canvas, cx, cy + scale(2), color_white);
        SendMessageW(dropdown, CB_SHOWDROPDOWN, FALSE, 0);
        print_dropdown(dropdown, canvas);
        EXPECT_PIXEL(canvas, w / 2, 0, GetFocus() == dropdown ? p.accent : p.border);
        EXPECT_PIXEL(canvas, cx, cy + scale(2), p.text_muted);

        SetFocus(dropdown);
        ASSERT_EQ(GetFocus(), dropdown);
        print_dropdown(dropdown, canvas);
        expect_rounded_box(canvas, p.window_bg, color_white, p.accent);
        SetFocus(other);

        EnableWindow(dropdown, FALSE);
        print_dropdown(dropdown, canvas);
        expect_rounded_box(canvas, p.window_bg, p.window_bg, p.border);
        expect_text(canvas, {scale(10), 0, w - scale(29), h}, p.text_muted);
        EnableWindow(dropdown, TRUE);
    }

    // Nothing selected: no text, only the chevron.
    SendMessageW(dropdown, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    Canvas canvas(w, h);
    print_dropdown(dropdown, canvas);
    EXPECT_FALSE(canvas.contains({scale(10), 1, w - scale(29), h - 1}, ui_resources().palette.text));
    DestroyWindow(dropdown);
    DestroyWindow(other);
}

TEST(PaintDropdown, FaceIsInvalidatedWhenItsStateMayChange) {
    HWND host = ui_test::focus_host();
    HWND dropdown = create_control(host, ControlKind::Dropdown, "", 1);
    HWND other = create_control(host, ControlKind::Button, "x", 2);
    place_control(dropdown, 10, 10, 160, 30);
    const char* items[] = {"UTC", "本地时间"};
    fill_dropdown(dropdown, items, 2, 0);
    const struct {
        const char* name;
        void (*change)(HWND dropdown, HWND other);
    } cases[] = {
        {"CB_SETCURSEL", [](HWND d, HWND) { SendMessageW(d, CB_SETCURSEL, 1, 0); }},
        {"WM_SETFOCUS", [](HWND d, HWND) { SetFocus(d); }},
        {"WM_KILLFOCUS", [](HWND, HWND o) { SetFocus(o); }},
        {"WM_ENABLE off", [](HWND d, HWND) { EnableWindow(d, FALSE); }},
        {"WM_ENABLE on", [](HWND d, HWND) { EnableWindow(d, TRUE); }},
        {"WM_KEYDOWN", [](HWND d, HWND) { SendMessageW(d, WM_KEYDOWN, VK_UP, 0); }},
        {"WM_CHAR", [](HWND d, HWND) { SendMessageW(d, WM_CHAR, L'U', 0); }},
        {"WM_MOUSEWHEEL", [](HWND d, HWND) { SendMessageW(d, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0); }},
        {"WM_CANCELMODE", [](HWND d, HWND) { SendMessageW(d, WM_CANCELMODE, 0, 0); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        UpdateWindow(dropdown);
        ValidateRect(dropdown, nullptr);
        c.change(dropdown, other);
        RECT update{};
        EXPECT_TRUE(GetUpdateRect(dropdown, &update, FALSE));
        RECT client;
        GetClientRect(dropdown, &client);
        EXPECT_TRUE(EqualRect(&update, &client));
    }
    // Messages that change nothing on the face leave it alone.
    UpdateWindow(dropdown);
    ValidateRect(dropdown, nullptr);
    SendMessageW(dropdown, CB_GETCURSEL, 0, 0);
    EXPECT_FALSE(GetUpdateRect(dropdown, nullptr, FALSE));
    DestroyWindow(dropdown);
    DestroyWindow(other);
}

// What a control shows on screen, frame included. Without `repaint_all`
// only what the control itself marked for repainting is painted, so a state
// change that forgets to redraw its frame shows the old frame.
void grab_window(HWND control, Canvas& canvas, bool repaint_all = true) {
    if (repaint_all) RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE);
    RedrawWindow(control, nullptr, nullptr, RDW_UPDATENOW);
    HostWindow::pump();
    canvas.grab(control, true);
}

TEST(PaintFieldFrame, TextFieldRestFocusAndReadOnly) {
    HWND host = ui_test::focus_host();
    HWND field = create_control(host, ControlKind::TextField, "", 1);
    HWND other = create_control(host, ControlKind::Button, "x", 2);
    place_control(field, 10, 10, 200, 31);
    place_control(other, 10, 60, 80, 30);
    SetFocus(other);
    RECT window;
    GetWindowRect(field, &window);
    const int w = window.right - window.left, h = window.bottom - window.top;
    // The client area: s(4) in from the sides, one s(19) line centred.
    RECT client;
    GetClientRect(field, &client);
    EXPECT_EQ(client.right, w - 2 * scale(4));
    EXPECT_EQ(client.bottom, h - 2 * std::max(scale(1), (h - scale(19)) / 2));
    EXPECT_EQ(SendMessageW(field, WM_NCHITTEST, 0, MAKELPARAM(window.left + 1, window.top + 1)), HTCLIENT);

    for (const Palette& p : palettes) {
        PaletteScope scope(p);
        SCOPED_TRACE(hex(p.accent));
        Canvas canvas(w, h);

        grab_window(field, canvas);
        expect_rounded_box(canvas, p.window_bg, color_white, p.border);
        EXPECT_PIXEL(canvas, w - scale(4) - 2, h / 2, color_white);  // client, erased by the edit

        SetFocus(field);
        grab_window(field, canvas, false);
        expect_rounded_box(canvas, p.window_bg, color_white, p.accent);
        SetFocus(other);
        grab_window(field, canvas, false);
        EXPECT_PIXEL(canvas, w / 2, 0, p.border);

        SendMessageW(field, EM_SETREADONLY, TRUE, 0);
        grab_window(field, canvas, false);
        expect_rounded_box(canvas, p.window_bg, p.readonly_bg, p.border);
        EXPECT_PIXEL(canvas, w - scale(4) - 2, h / 2, p.readonly_bg);
        SendMessageW(field, EM_SETREADONLY, FALSE, 0);
    }
    DestroyWindow(field);
    DestroyWindow(other);
}

TEST(PaintFieldFrame, SquareFrameOfMultiLineAreas) {
    HostWindow host;
    for (ControlKind kind : {ControlKind::TextArea, ControlKind::ResultArea}) {
        HWND area = create_control(host.hwnd(), kind, "", 1);
        place_control(area, 10, 10, 200, 120);
        RECT window;
        GetWindowRect(area, &window);
        const int w = window.right - window.left, h = window.bottom - window.top;
        for (const Palette& p : palettes) {
            PaletteScope scope(p);
            SCOPED_TRACE(::testing::Message() << static_cast<int>(kind) << " " << hex(p.accent));
            Canvas canvas(w, h);
            grab_window(area, canvas);
            // s(1) rings of the border colour, square corners.
            for (int ring = 0; ring < scale(1); ++ring) {
                EXPECT_PIXEL(canvas, ring, ring, p.border);
                EXPECT_PIXEL(canvas, w / 2, ring, p.border);
                EXPECT_PIXEL(canvas, ring, h / 2, p.border);
                EXPECT_PIXEL(canvas, w - 1 - ring, h - 1 - ring, p.border);
            }
            EXPECT_NE(hex(canvas.at(scale(1), scale(1) + 4)), hex(p.border));
        }
        DestroyWindow(area);
    }
}

TEST(ControlColors, AnswersFollowThePalette) {
    HostWindow host;
    HWND status = create_control(host.hwnd(), ControlKind::StatusLabel, "就绪", status_label_id);
    HWND field = create_control(host.hwnd(), ControlKind::TextField, "", 2);
    Canvas canvas(4, 4);
    for (const Palette& p : palettes) {
        PaletteScope scope(p);
        HBRUSH brush = control_colors(WM_CTLCOLORSTATIC, canvas.dc(), status);
        EXPECT_EQ(brush, GetStockObject(DC_BRUSH));
        EXPECT_EQ(GetTextColor(canvas.dc()), p.text_muted);
        EXPECT_EQ(GetBkColor(canvas.dc()), p.window_bg);
        EXPECT_EQ(GetDCBrushColor(canvas.dc()), p.window_bg);
        SetPropW(status, selected_property, reinterpret_cast<HANDLE>(1));
        control_colors(WM_CTLCOLORSTATIC, canvas.dc(), status);
        EXPECT_EQ(GetTextColor(canvas.dc()), color_error_text);
        RemovePropW(status, selected_property);

        SendMessageW(field, EM_SETREADONLY, TRUE, 0);
        control_colors(WM_CTLCOLORSTATIC, canvas.dc(), field);
        EXPECT_EQ(GetBkColor(canvas.dc()), p.readonly_bg);
        EXPECT_EQ(GetDCBrushColor(canvas.dc()), p.readonly_bg);
        SendMessageW(field, EM_SETREADONLY, FALSE, 0);
        control_colors(WM_CTLCOLOREDIT, canvas.dc(), field);
        EXPECT_EQ(GetBkColor(canvas.dc()), color_white);
    }
    EXPECT_EQ(control_colors(WM_CTLCOLORLISTBOX, canvas.dc(), field), nullptr);
    EXPECT_EQ(control_colors(WM_CTLCOLORSCROLLBAR, canvas.dc(), field), nullptr);
}

TEST(RefreshControlColors, ResultAreaAndTreeViewTakeTheNewPalette) {
    HostWindow host;
    HWND result = create_control(host.hwnd(), ControlKind::ResultArea, "", 1);
    HWND tree = CreateWindowExW(0, WC_TREEVIEWW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, host.hwnd(), nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    SetWindowSubclass(tree, control_subclass, control_subclass_id, 0);
    const Palette& p = palettes[1];
    PaletteScope scope(p);
    EnumChildWindows(host.hwnd(), refresh_control_colors, 0);
    EXPECT_EQ(SendMessageW(tree, TVM_GETBKCOLOR, 0, 0), static_cast<LRESULT>(p.result_bg));
    EXPECT_EQ(SendMessageW(tree, TVM_GETTEXTCOLOR, 0, 0), static_cast<LRESULT>(p.text));
    EXPECT_EQ(SendMessageW(tree, TVM_GETLINECOLOR, 0, 0), static_cast<LRESULT>(p.border));
    if (ui_resources().rich_edit_state == RichEditState::Available) {
        EXPECT_EQ(static_cast<Colorref>(SendMessageW(result, EM_SETBKGNDCOLOR, 0, 0)), p.result_bg);
    }
    // Other controls are left alone, and the callback never stops early.
    EXPECT_TRUE(refresh_control_colors(host.hwnd(), 0));
}

TEST(SetToggle, RepaintsAsAnAccentButtonAtOnce) {
    HostWindow host;
    HWND toggle = create_control(host.hwnd(), ControlKind::Button, "", 1);
    place_control(toggle, 0, 0, 100, 32);
    RECT r;
    GetClientRect(toggle, &r);
    Canvas canvas(r.right, r.bottom);
    const Palette& p = ui_resources().palette;
    set_toggle(toggle, false);
    UpdateWindow(toggle);
    canvas.grab(toggle, false);
    EXPECT_PIXEL(canvas, 2, r.bottom / 2, color_white);
    set_toggle(toggle, true);
    UpdateWindow(toggle);
    canvas.grab(toggle, false);
    EXPECT_PIXEL(canvas, 2, r.bottom / 2, p.accent);
    expect_text(canvas, {0, 0, r.right, r.bottom}, color_white);
}

struct DcState {
    HGDIOBJ brush, pen, font;
    COLORREF text;
    int background_mode;
    friend bool operator==(const DcState&, const DcState&) = default;
};

DcState dc_state(HDC hdc) {
    return {GetCurrentObject(hdc, OBJ_BRUSH), GetCurrentObject(hdc, OBJ_PEN), GetCurrentObject(hdc, OBJ_FONT),
            GetTextColor(hdc), GetBkMode(hdc)};
}

TEST(Painting, LeavesTheDcAsItWasAndCreatesNoGdiObjects) {
    HostWindow host;
    HWND button = create_control(host.hwnd(), ControlKind::PrimaryButton, "生成", 1);
    HWND nav = create_control(host.hwnd(), ControlKind::NavItem, "时间戳", 2);
    SetPropW(nav, selected_property, reinterpret_cast<HANDLE>(1));
    HWND dropdown = create_control(host.hwnd(), ControlKind::Dropdown, "", 3);
    const char* items[] = {"a", "b"};
    fill_dropdown(dropdown, items, 2, 0);
    place_control(dropdown, 0, 40, 120, 30);
    Canvas canvas(scale(120), scale(32));
    SetTextColor(canvas.dc(), 0x010203);
    SetBkMode(canvas.dc(), OPAQUE);
    const DcState before = dc_state(canvas.dc());
    draw_button(button, canvas, ODS_FOCUS);
    EXPECT_TRUE(dc_state(canvas.dc()) == before);
    draw_button(nav, canvas, ODS_SELECTED);
    EXPECT_TRUE(dc_state(canvas.dc()) == before);
    print_dropdown(dropdown, canvas);
    EXPECT_TRUE(dc_state(canvas.dc()) == before);

    // Windows counts the process's GDI objects; Wine answers 0, and then only
    // the DC checks above apply.
    const DWORD objects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    for (int i = 0; i < 200; ++i) {
        draw_button(button, canvas, i % 2 ? ODS_SELECTED : 0);
        print_dropdown(dropdown, canvas);
    }
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), objects);
}

}  // namespace
