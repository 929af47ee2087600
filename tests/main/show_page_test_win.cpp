#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "../common/main_window_host_win.h"
#include "../ui/ui_test_support_win.h"
#include "main/main_window_win.h"
#include "preferences/preferences.h"
#include "ui/app_message.h"
#include "ui/controls_win.h"
#include "ui/page_layout.h"
#include "ui/tool_page_win.h"
#include "ui/ui_resources_win.h"

namespace {

// The real main window, shown without activation and with no page made yet.
HWND open_shown_main_window() {
    main_window_test::store_preference(L"HiddenTools", std::nullopt);
    HWND hwnd = nullptr;
    MainWindow* record = nullptr;
    main_window_test::open_main_window(hwnd, record);
    ShowWindow(hwnd, SW_SHOWNA);
    return hwnd;
}

std::wstring text_of(HWND hwnd) {
    wchar_t buffer[256] = {};
    GetWindowTextW(hwnd, buffer, 256);
    return buffer;
}

RECT rect_in(HWND child, HWND parent) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void expect_rect(const RECT& r, int x, int y, int w, int h) {
    EXPECT_EQ(r.left, scale(x));
    EXPECT_EQ(r.top, scale(y));
    EXPECT_EQ(r.right - r.left, w < 1 ? 0 : scale(w));
    EXPECT_EQ(r.bottom - r.top, h < 1 ? 0 : scale(h));
}

class ShowPage : public ::testing::Test {
protected:
    ShowPage() : hwnd_(open_shown_main_window()), main_(*main_window_record(hwnd_)) {}
    ~ShowPage() override {
        DestroyWindow(hwnd_);
        ui_test::HostWindow::pump();
    }

    HWND entry(int index) const {
        return index == settings_page ? main_.settings_item : main_.nav_items[static_cast<std::size_t>(index)];
    }
    HWND page(int index) const { return main_.pages[static_cast<std::size_t>(index)]; }

    void expect_selected_only(int index) const {
        for (int i = 0; i < page_count; ++i) EXPECT_EQ(has_property(entry(i), selected_property), i == index) << i;
    }

    // Where the main window's layout puts the page: 168, 0, W - 168 by H - 30.
    void expect_page_placed(int index) const {
        RECT client;
        GetClientRect(main_.hwnd, &client);
        expect_rect(rect_in(page(index), main_.hwnd), 168, 0, unscale(client.right) - 168,
                    unscale(client.bottom) - 30);
    }

    HWND hwnd_;
    MainWindow& main_;
};

TEST_F(ShowPage, CreatesThePageOnFirstShowAndKeepsIt) {
    for (int i = 0; i < page_count; ++i) EXPECT_EQ(page(i), nullptr);
    show_page(main_, json_page);
    HWND json = page(json_page);
    ASSERT_NE(json, nullptr);
    wchar_t name[32] = {};
    GetClassNameW(json, name, 32);
    EXPECT_STREQ(name, page_class_name);
    EXPECT_EQ(GetParent(json), main_.hwnd);
    EXPECT_TRUE(IsWindowVisible(json));
    ASSERT_NE(tool_page_of(json), nullptr);
    EXPECT_EQ(tool_page_of(json)->borrow, 0);
    for (int i = 1; i < page_count; ++i) EXPECT_EQ(page(i), nullptr);

    show_page(main_, uuid_page);
    HWND uuid = page(uuid_page);
    ASSERT_NE(uuid, nullptr);
    EXPECT_EQ(main_.current, uuid_page);
    EXPECT_TRUE(IsWindow(json));
    EXPECT_FALSE(IsWindowVisible(json));
    EXPECT_TRUE(IsWindowVisible(uuid));

    show_page(main_, json_page);
    EXPECT_EQ(page(json_page), json);
    EXPECT_EQ(page(uuid_page), uuid);
    EXPECT_TRUE(IsWindowVisible(json));
    EXPECT_FALSE(IsWindowVisible(uuid));
    EXPECT_EQ(main_.current, json_page);
}

TEST_F(ShowPage, OnlyTheCurrentEntryIsSelected) {
    for (int index : {timestamp_page, settings_page, json_page, time_diff_page}) {
        show_page(main_, index);
        expect_selected_only(index);
    }
}

TEST_F(ShowPage, ResetsTheStatusLineToReady) {
    set_status(main_.hwnd, "已复制到剪贴板。", true);
    show_page(main_, id_number_page);
    EXPECT_EQ(text_of(main_.status_label), L"就绪");
    EXPECT_FALSE(has_property(main_.status_label, selected_property));
    // The page already shown: the page stays, the status line is reset again.
    HWND shown = page(id_number_page);
    set_status(main_.hwnd, "请先生成或转换结果。", true);
    show_page(main_, id_number_page);
    EXPECT_EQ(page(id_number_page), shown);
    EXPECT_TRUE(IsWindowVisible(shown));
    EXPECT_EQ(text_of(main_.status_label), L"就绪");
    EXPECT_FALSE(has_property(main_.status_label, selected_property));
}

TEST_F(ShowPage, LaysOutTheMainWindowEachTime) {
    for (int index : {json_page, json_page, settings_page}) {
        show_page(main_, index);
        expect_page_placed(index);
        SetWindowPos(page(index), nullptr, 0, 0, 5, 5, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

TEST_F(ShowPage, AHiddenToolIsNotShown) {
    main_.visible_tools = ToolMask::all().with(uuid_page, false);
    show_page(main_, json_page);
    set_status(main_.hwnd, "x", false);
    show_page(main_, uuid_page);
    EXPECT_EQ(page(uuid_page), nullptr);
    EXPECT_EQ(main_.current, json_page);
    EXPECT_EQ(text_of(main_.status_label), L"x");
    expect_selected_only(json_page);
}

TEST_F(ShowPage, SettingsIsShownWithEveryToolHidden) {
    main_.visible_tools = ToolMask();
    main_.current = settings_page;
    show_page(main_, settings_page);
    ASSERT_NE(page(settings_page), nullptr);
    EXPECT_TRUE(IsWindowVisible(page(settings_page)));
    for (int i = 0; i < 5; ++i) {
        show_page(main_, i);
        EXPECT_EQ(page(i), nullptr);
    }
    EXPECT_EQ(main_.current, settings_page);
}

TEST_F(ShowPage, IndicesOutOfRangeDoNothing) {
    show_page(main_, timestamp_page);
    show_page(main_, -1);
    show_page(main_, page_count);
    EXPECT_EQ(main_.current, timestamp_page);
    expect_selected_only(timestamp_page);
}

TEST_F(ShowPage, HidingAToolKeepsItsPage) {
    show_page(main_, timestamp_page);
    HWND timestamp = page(timestamp_page);
    main_.visible_tools = main_.visible_tools.with(timestamp_page, false);
    show_page(main_, json_page);
    EXPECT_TRUE(IsWindow(timestamp));
    EXPECT_FALSE(IsWindowVisible(timestamp));
    main_.visible_tools = main_.visible_tools.with(timestamp_page, true);
    show_page(main_, timestamp_page);
    EXPECT_EQ(page(timestamp_page), timestamp);
    EXPECT_TRUE(IsWindowVisible(timestamp));
}

TEST_F(ShowPage, SwitchingAwayAndBackKeepsThePageContent) {
    show_page(main_, json_page);
    HWND title = GetWindow(page(json_page), GW_CHILD);
    HWND extra = create_control(page(json_page), ControlKind::TextArea, "{\"a\": 1}", 108);
    SetWindowTextW(title, L"changed");
    show_page(main_, settings_page);
    show_page(main_, json_page);
    EXPECT_EQ(GetWindow(page(json_page), GW_CHILD), title);
    EXPECT_EQ(text_of(title), L"changed");
    EXPECT_TRUE(IsWindow(extra));
    EXPECT_EQ(read_text(extra), "{\"a\": 1}");
}

TEST_F(ShowPage, DoesNotMoveTheKeyboardFocus) {
    HWND before = GetFocus();
    show_page(main_, json_page);
    show_page(main_, settings_page);
    EXPECT_EQ(GetFocus(), before);
}

// The JSON page's title leaves room for the history drop-down at its right.
int title_width(int index, int page_width) {
    if (index == json_page) return std::max(page_width - 216, 0);
    return page_content_width(index, page_width);
}

// A page's first control is its title, placed by the shared layout rules:
// the page at 168, 0 in the main window, the title at 28, 24.
TEST_F(ShowPage, APageStartsWithItsTitleWhereTheLayoutPutsIt) {
    RECT client;
    GetClientRect(main_.hwnd, &client);
    const int w = unscale(client.right) - 168;
    const int h = unscale(client.bottom) - 30;
    for (int index = 0; index < page_count; ++index) {
        SCOPED_TRACE(index);
        show_page(main_, index);
        HWND p = page(index);
        ASSERT_NE(p, nullptr);
        expect_rect(rect_in(p, main_.hwnd), 168, 0, w, h);
        HWND title = GetWindow(p, GW_CHILD);
        ASSERT_NE(title, nullptr);
        EXPECT_EQ(control_kind(title), ControlKind::PageTitle);
        EXPECT_EQ(text_of(title), to_wide(page_titles[index]));
        expect_rect(rect_in(title, p), 28, 24, title_width(index, w), page_title_height(index));
    }
}

TEST_F(ShowPage, TitlesFollowTheContentWidthRules) {
    const int w = 1000;  // wide enough for every cap, narrow enough for the screen at 144 DPI
    RECT r{0, 0, scale(168 + w), scale(690)};
    AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW, FALSE, 0);
    SetWindowPos(main_.hwnd, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    const int expected[page_count] = {w - 216, 880, w - 56, w - 56, 760, 720 - 28};
    for (int index = 0; index < page_count; ++index) {
        SCOPED_TRACE(index);
        show_page(main_, index);
        HWND title = GetWindow(page(index), GW_CHILD);
        expect_rect(rect_in(title, page(index)), 28, 24, expected[index], index == json_page ? 38 : 39);
    }
}

TEST_F(ShowPage, PositionsScaleWithTheSystemDpi) {
    show_page(main_, uuid_page);
    const RECT r = rect_in(GetWindow(page(uuid_page), GW_CHILD), page(uuid_page));
    const int dpi = ui_resources().dpi;
    EXPECT_EQ(r.left, ::scale(28, dpi));
    EXPECT_EQ(r.top, ::scale(24, dpi));
    EXPECT_EQ(r.bottom - r.top, ::scale(39, dpi));
    if (dpi == 96) {
        // At 96 DPI the device pixels are the logical ones.
        EXPECT_EQ(r.left, 28);
        EXPECT_EQ(r.right - r.left, 1076 - 168 - 56);
    } else {
        EXPECT_NE(r.left, 28);
    }
}

std::vector<std::pair<HWND, WPARAM>> floating_messages;

LRESULT CALLBACK record_floating_state(int code, WPARAM wparam, LPARAM lparam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lparam);
    if (code == HC_ACTION && sent->message == message_id(AppMessage::FloatingStateChanged))
        floating_messages.emplace_back(sent->hwnd, sent->wParam);
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

TEST_F(ShowPage, SelectingSettingsAlwaysSendsTheFloatingFlags) {
    floating_messages.clear();
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, record_floating_state, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    main_.ball_enabled = true;
    main_.dock_enabled = false;
    show_page(main_, settings_page);
    main_.ball_enabled = false;
    main_.dock_enabled = true;
    show_page(main_, settings_page);  // already shown: sent again
    show_page(main_, json_page);      // other pages: nothing sent
    main_.ball_enabled = true;
    show_page(main_, settings_page);
    UnhookWindowsHookEx(hook);
    const std::vector<std::pair<HWND, WPARAM>> expected = {
        {page(settings_page), 1}, {page(settings_page), 2}, {page(settings_page), 3}};
    EXPECT_EQ(floating_messages, expected);
}

LRESULT CALLBACK refuse_window_creation(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HCBT_CREATEWND) return 1;
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

TEST_F(ShowPage, AFailedPageCreationLeavesEverythingAsItWas) {
    show_page(main_, json_page);
    HWND json = page(json_page);
    HHOOK hook = SetWindowsHookExW(WH_CBT, refuse_window_creation, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    show_page(main_, time_diff_page);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(page(time_diff_page), nullptr);
    EXPECT_EQ(main_.current, json_page);
    EXPECT_TRUE(IsWindowVisible(json));
    expect_selected_only(json_page);
    EXPECT_EQ(text_of(main_.status_label), L"无法打开工具页面。");
    EXPECT_TRUE(has_property(main_.status_label, selected_property));
    // A later attempt that succeeds creates the page.
    show_page(main_, time_diff_page);
    EXPECT_NE(page(time_diff_page), nullptr);
    EXPECT_EQ(main_.current, time_diff_page);
}

}  // namespace
