// The settings page inside a real main window, made through the same code the
// entry uses, with the program's own key in the test prefix's registry (the
// values the tests touch are put back at the end).

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>

#include "../common/main_window_host_win.h"
#include "../ui/ui_test_support_win.h"
#include "ui/app_message.h"
#include "main/main_window_win.h"
#include "settings/settings_controls.h"
#include "settings_test_support_win.h"
#include "ui/controls_win.h"
#include "ui/tool_page_win.h"
#include "ui/ui_resources_win.h"

namespace {

using main_window_test::open_main_window;
using main_window_test::store_preference;
using main_window_test::stored_preference;
using settings_test::selected;
using ui_test::Canvas;
using ui_test::HostWindow;

constexpr wchar_t run_key[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class SettingsInMainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        for (std::size_t i = 0; i < std::size(names_); ++i) saved_[i] = stored_preference(names_[i]);
        store_preference(L"HiddenTools", std::nullopt);
        store_preference(L"ColorScheme", std::nullopt);
        store_preference(L"FloatingBall", std::nullopt);
        store_preference(L"CheckUpdates", std::nullopt);  // no update check from the window's creation
        RegDeleteKeyValueW(HKEY_CURRENT_USER, run_key, L"Brivane");
        ui_resources().palette = derive_palette(0, 0);

        ASSERT_NO_FATAL_FAILURE(open_main_window(hwnd_, w_));
        SendMessageW(hwnd_, message_id(AppMessage::ShowMainWindow), 0, 0);
        open_settings();
        page_ = w_->pages[settings_page];
        ASSERT_NE(page_, nullptr);
    }

    void TearDown() override {
        if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        }
        for (std::size_t i = 0; i < std::size(names_); ++i) store_preference(names_[i], saved_[i]);
        RegDeleteKeyValueW(HKEY_CURRENT_USER, run_key, L"Brivane");
        ui_resources().palette = derive_palette(0, 0);
    }

    // The side-bar entry "设置".
    void open_settings() const {
        SendMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(first_nav_id + settings_page, BN_CLICKED),
                     reinterpret_cast<LPARAM>(w_->settings_item));
        HostWindow::pump();
    }
    HWND control(int id) const { return GetDlgItem(page_, id); }
    void click(int id) const {
        SendMessageW(control(id), BM_CLICK, 0, 0);
        HostWindow::pump();
    }
    int row_of(HWND nav_item) const {
        RECT r;
        GetWindowRect(nav_item, &r);
        MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
        return (unscale(r.top) - 82) / 44;
    }

    // What the main window shows now, after every pending repaint.
    void grab(Canvas& canvas) const {
        HostWindow::pump();
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        canvas.grab(hwnd_, false);
    }
    // A point inside a control, in the main window's client coordinates.
    POINT inside(HWND child, int dx, int dy) const {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
        return {r.left + dx, r.top + dy};
    }

    const wchar_t* names_[4] = {L"HiddenTools", L"ColorScheme", L"FloatingBall", L"CheckUpdates"};
    std::optional<DWORD> saved_[4];
    HWND hwnd_ = nullptr;
    MainWindow* w_ = nullptr;
    HWND page_ = nullptr;
};

TEST_F(SettingsInMainWindow, HidingAToolRemovesItsEntryAtOnce) {
    ASSERT_EQ(w_->current, settings_page);
    click(511);
    click(521);
    EXPECT_FALSE(IsWindowVisible(w_->nav_items[1]));
    EXPECT_EQ(row_of(w_->nav_items[2]), 1);  // the others close up
    EXPECT_EQ(row_of(w_->nav_items[4]), 3);
    EXPECT_EQ(w_->current, settings_page);  // the settings page stays
    EXPECT_TRUE(IsWindowVisible(page_));
    EXPECT_EQ(read_text(w_->status_label), "时间戳已隐藏。");
    click(521);
    EXPECT_TRUE(IsWindowVisible(w_->nav_items[1]));
    EXPECT_EQ(row_of(w_->nav_items[2]), 2);
    EXPECT_EQ(read_text(w_->status_label), "时间戳已显示。");
}

TEST_F(SettingsInMainWindow, HidingAllFiveLeavesOnlySettings) {
    click(511);
    for (int tool = 0; tool < 5; ++tool) click(520 + tool);
    for (HWND item : w_->nav_items) EXPECT_FALSE(IsWindowVisible(item));
    EXPECT_TRUE(IsWindowVisible(w_->settings_item));
    EXPECT_TRUE(selected(w_->settings_item));
    EXPECT_EQ(w_->current, settings_page);
    EXPECT_EQ(stored_preference(L"HiddenTools"), 0x1Fu);
    // Showing one again brings back just that entry, in the first row.
    click(523);
    EXPECT_TRUE(IsWindowVisible(w_->nav_items[3]));
    EXPECT_EQ(row_of(w_->nav_items[3]), 0);
}

TEST_F(SettingsInMainWindow, APaletteChangeReachesEveryWindow) {
    click(512);  // "检查更新" is the primary button on this tab
    HWND check_now = control(532);
    ASSERT_TRUE(IsWindowVisible(check_now));
    RECT client;
    GetClientRect(hwnd_, &client);
    Canvas canvas(client.right, client.bottom);
    const POINT side_bar{scale(6), scale(470)};
    const POINT button = inside(check_now, scale(8), scale(17));
    const POINT page_bg = inside(page_, scale(600), scale(500));

    const Palette before = derive_palette(0, 0);
    grab(canvas);
    EXPECT_EQ(ui_test::hex(canvas.at(side_bar.x, side_bar.y)), ui_test::hex(before.sidebar_bg));
    EXPECT_EQ(ui_test::hex(canvas.at(button.x, button.y)), ui_test::hex(before.accent));
    EXPECT_EQ(ui_test::hex(canvas.at(page_bg.x, page_bg.y)), ui_test::hex(before.window_bg));

    // The list is on tab 0: change the scheme there with the keyboard.
    click(510);
    SendMessageW(control(505), WM_KEYDOWN, VK_DOWN, 0);
    click(512);
    const Palette after = derive_palette(1, 0x5E650C);
    ASSERT_NE(before.sidebar_bg, after.sidebar_bg);
    ASSERT_NE(before.accent, after.accent);
    grab(canvas);
    EXPECT_EQ(ui_test::hex(canvas.at(side_bar.x, side_bar.y)), ui_test::hex(after.sidebar_bg));
    EXPECT_EQ(ui_test::hex(canvas.at(button.x, button.y)), ui_test::hex(after.accent));
    EXPECT_EQ(ui_test::hex(canvas.at(page_bg.x, page_bg.y)), ui_test::hex(after.window_bg));
    EXPECT_EQ(read_text(w_->status_label), "配色已更新。");
    EXPECT_EQ(stored_preference(L"ColorScheme"), 0x15E650Cu);
}

TEST_F(SettingsInMainWindow, ARunEntryRemovedOutsideShowsOffTheNextTimeThePageIsShown) {
    click(503);
    ASSERT_EQ(read_text(control(503)), "已开启");
    ASSERT_EQ(RegDeleteKeyValueW(HKEY_CURRENT_USER, run_key, L"Brivane"), 0);
    SendMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(first_nav_id + 2, BN_CLICKED), 0);  // another page
    open_settings();
    EXPECT_EQ(read_text(control(503)), "已关闭");
    EXPECT_FALSE(selected(control(503)));
    EXPECT_EQ(read_text(w_->status_label), "就绪");
    // Opening the window again from the ball counts as showing the page.
    click(503);
    ASSERT_EQ(RegDeleteKeyValueW(HKEY_CURRENT_USER, run_key, L"Brivane"), 0);
    ShowWindow(hwnd_, SW_HIDE);
    SendMessageW(hwnd_, message_id(AppMessage::ShowMainWindow), 0, 0);
    EXPECT_EQ(read_text(control(503)), "已关闭");
}

TEST_F(SettingsInMainWindow, SelectingSettingsAgainReportsTheFloatingState) {
    w_->ball_enabled = true;  // as the floating ball's switch leaves it
    w_->dock_enabled = false;
    open_settings();
    EXPECT_EQ(read_text(control(501)), "已开启");
    EXPECT_EQ(read_text(control(504)), "已关闭");
    EXPECT_TRUE(IsWindowVisible(control(502)));
}

}  // namespace
