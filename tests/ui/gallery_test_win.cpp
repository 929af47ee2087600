#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <thread>
#include <vector>

#include "ui/controls_win.h"
#include "ui/painting_win.h"
#include "ui/ui_resources_win.h"
#include "ui_test_support_win.h"

// Every control kind in each preset colour scheme, side by side: one window
// per scheme, each on a UI thread of its own (the palette is per thread).
// With LUMARO_UI_GALLERY=<seconds> the windows stay on screen that long, for
// a screenshot (docs/ui-gallery.png).

namespace {

constexpr int gallery_width = 620;
constexpr int gallery_height = 700;
constexpr int sidebar_width = 180;

LRESULT CALLBACK gallery_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (LRESULT painted; handle_control_paint_message(message, wparam, lparam, painted)) return painted;
    switch (message) {
        case WM_ERASEBKGND: {
            const Palette& p = ui_resources().palette;
            HDC hdc = reinterpret_cast<HDC>(wparam);
            RECT r;
            GetClientRect(hwnd, &r);
            RECT side = r;
            side.right = scale(sidebar_width);
            r.left = side.right;
            SetDCBrushColor(hdc, p.sidebar_bg);
            FillRect(hdc, &side, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
            SetDCBrushColor(hdc, p.window_bg);
            FillRect(hdc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
            return 1;
        }
        default:
            return DefWindowProcW(hwnd, message, wparam, lparam);
    }
}

struct GalleryControls {
    HWND window;
    HWND nav_selected;
    HWND primary;
    HWND toggle;
    HWND status;
};

GalleryControls build_gallery(int scheme, int x) {
    HWND w = ui_test::create_test_popup(L"Lumaro.UiGallery", gallery_procedure, L"", x, 0, scale(gallery_width),
                                        scale(gallery_height));
    GalleryControls g{w, nullptr, nullptr, nullptr, nullptr};

    place_control(create_control(w, ControlKind::BrandLabel, "Lumaro", 1), 20, 18, 150, 32);
    const char* tools[] = {"JSON 美化", "时间戳", "UUID 生成", "身份证号", "时间差值"};
    for (int i = 0; i < 5; ++i) {
        HWND item = create_control(w, ControlKind::NavItem, tools[i], 10 + i);
        place_control(item, 8, 70 + 44 * i, sidebar_width - 16, 40);
        if (i == 1) {
            SetPropW(item, selected_property, reinterpret_cast<HANDLE>(1));
            g.nav_selected = item;
        }
        if (i == 3) SetPropW(item, hot_property, reinterpret_cast<HANDLE>(1));
    }
    HWND settings = create_control(w, ControlKind::NavItem, "设置", 20);
    place_control(settings, 8, gallery_height - 56, sidebar_width - 16, 40);

    const int left = sidebar_width + 24;
    const int width = gallery_width - left - 24;
    place_control(create_control(w, ControlKind::PageTitle, "时间戳", 30), left, 16, width, 40);
    place_control(create_control(w, ControlKind::Hint, color_scheme_names[scheme], 31), left, 58, width, 20);
    place_control(create_control(w, ControlKind::SectionTitle, "转换", 32), left, 88, width, 26);
    place_control(create_control(w, ControlKind::Label, "时间戳", 33), left, 130, 70, 22);
    place_control(create_control(w, ControlKind::TextField, "1700000000", 34), left + 76, 124, 170, 31);
    HWND unit = create_control(w, ControlKind::Dropdown, "", 35);
    const char* units[] = {"秒", "毫秒"};
    fill_dropdown(unit, units, 2, 0);
    place_control(unit, left + 256, 124, 120, 31);
    place_control(create_control(w, ControlKind::Label, "结果", 36), left, 172, 70, 22);
    HWND read_only = create_control(w, ControlKind::TextField, "2023-11-14 22:13:20", 37);
    SendMessageW(read_only, EM_SETREADONLY, TRUE, 0);
    place_control(read_only, left + 76, 166, 300, 31);

    g.primary = create_control(w, ControlKind::PrimaryButton, "转换", 40);
    place_control(g.primary, left, 212, 90, 32);
    place_control(create_control(w, ControlKind::Button, "复制结果", 41), left + 100, 212, 90, 32);
    HWND disabled = create_control(w, ControlKind::Button, "清空", 42);
    EnableWindow(disabled, FALSE);
    place_control(disabled, left + 200, 212, 80, 32);
    g.toggle = create_control(w, ControlKind::Button, "", 43);
    set_toggle(g.toggle, true);
    place_control(g.toggle, left + 290, 212, 86, 32);

    place_control(create_control(w, ControlKind::Hint, "示例：{\"键\": [1, 2, 3]}", 50), left, 256, width, 20);
    place_control(create_control(w, ControlKind::TextArea, "{\n  \"名称\": \"Lumaro\",\n  \"版本\": \"1.5.0\"\n}", 51),
                  left, 280, width, 140);
    place_control(create_control(w, ControlKind::ResultArea, "{\"名称\":\"Lumaro\",\"版本\":\"1.5.0\"}", 52), left,
                  430, width, 140);

    g.status = create_control(w, ControlKind::StatusLabel, "就绪", status_label_id);
    place_control(g.status, left, gallery_height - 34, width, 22);
    ShowWindow(w, SW_SHOWNOACTIVATE);
    UpdateWindow(w);
    return g;
}

struct SchemeResult {
    Colorref sidebar = 0;
    Colorref page = 0;
    Colorref primary = 0;
    Colorref nav_selected = 0;
};

Colorref screen_pixel(HWND hwnd, int x, int y) {
    HDC dc = GetDC(hwnd);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(hwnd, dc);
    return c;
}

TEST(Gallery, EveryKindInEachPresetScheme) {
    const char* linger = std::getenv("LUMARO_UI_GALLERY");
    const DWORD show_ms = linger ? static_cast<DWORD>(std::atoi(linger)) * 1000 : 0;
    HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    SchemeResult results[3];
    std::vector<std::thread> threads;
    for (int scheme = 0; scheme < 3; ++scheme) {
        threads.emplace_back([scheme, stop, &results] {
            ui_resources().palette = derive_palette(scheme, 0);
            // Side by side; overlapping from the right when the screen is too
            // narrow (144 DPI), which leaves the probed left parts visible.
            const int step = std::min(scale(gallery_width + 8), GetSystemMetrics(SM_CXSCREEN) / 3);
            const GalleryControls g = build_gallery(scheme, scheme * step);
            ui_test::HostWindow::pump();
            RECT r;
            GetClientRect(g.primary, &r);
            results[scheme] = {screen_pixel(g.window, scale(4), scale(gallery_height / 2)),
                               screen_pixel(g.window, scale(sidebar_width + 8), scale(100)),
                               screen_pixel(g.primary, 3, r.bottom / 2),
                               screen_pixel(g.nav_selected, scale(sidebar_width - 24), scale(20))};
            while (MsgWaitForMultipleObjects(1, &stop, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0)
                ui_test::HostWindow::pump();
            DestroyWindow(g.window);
        });
    }
    Sleep(show_ms ? show_ms : 300);
    SetEvent(stop);
    for (std::thread& t : threads) t.join();
    CloseHandle(stop);
    for (int scheme = 0; scheme < 3; ++scheme) {
        SCOPED_TRACE(scheme);
        const Palette p = derive_palette(scheme, 0);
        EXPECT_EQ(ui_test::hex(results[scheme].sidebar), ui_test::hex(p.sidebar_bg));
        EXPECT_EQ(ui_test::hex(results[scheme].page), ui_test::hex(p.window_bg));
        EXPECT_EQ(ui_test::hex(results[scheme].primary), ui_test::hex(p.accent));
        EXPECT_EQ(ui_test::hex(results[scheme].nav_selected), ui_test::hex(p.nav_selected));
    }
}

}  // namespace
