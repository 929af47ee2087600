// The main window, created in this process through the same code the entry
// uses, with the stored tool list in the test prefix's registry.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <imm.h>

#include <optional>
#include <string>
#include <vector>

#include "../common/main_window_host_win.h"
#include "../ui/ui_test_support_win.h"
#include "ui/app_message.h"
#include "main/main_window_win.h"
#include "main/message_loop_win.h"
#include "main/update_state.h"
#include "settings/settings_controls.h"
#include "ui/controls_win.h"
#include "ui/tool_page_win.h"
#include "ui/ui_resources_win.h"
#include "uuid/uuid_page_win.h"

namespace {

using main_window_test::open_main_window;
using main_window_test::store_preference;

class MainWindowTest : public ::testing::Test {
protected:
    HWND hwnd = nullptr;
    MainWindow* w = nullptr;

    void open(std::optional<DWORD> hidden = std::nullopt) {
        store_preference(L"HiddenTools", hidden);
        ASSERT_NO_FATAL_FAILURE(open_main_window(hwnd, w));
        SendMessageW(hwnd, message_id(AppMessage::ShowMainWindow), 0, 0);
    }
    void TearDown() override {
        if (hwnd && IsWindow(hwnd)) DestroyWindow(hwnd);
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        }
        store_preference(L"HiddenTools", std::nullopt);
    }

    // A child's rectangle in logical client coordinates of the main window.
    RECT logical_rect(HWND child) const {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&r), 2);
        return {unscale(r.left), unscale(r.top), unscale(r.right - r.left), unscale(r.bottom - r.top)};
    }
    void expect_at(HWND child, int x, int y, int width, int height) const {
        RECT r = logical_rect(child);
        EXPECT_EQ(r.left, x);
        EXPECT_EQ(r.top, y);
        EXPECT_EQ(r.right, width);
        EXPECT_EQ(r.bottom, height);
    }
    int client_height() const {
        RECT c;
        GetClientRect(hwnd, &c);
        return unscale(c.bottom);
    }
    static bool selected(HWND item) { return has_property(item, selected_property); }

    void show_tool(int index) { SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(first_nav_id + index, BN_CLICKED), 0); }
    // The first control of that kind on a page.
    HWND first_of_kind(int page, ControlKind kind) const {
        for (HWND c = GetWindow(w->pages[page], GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            if (control_kind(c) == kind) return c;
        return nullptr;
    }
    // The program's own loop over what is queued now.
    void run_loop() const {
        PostQuitMessage(0);
        run_message_loop(hwnd);
    }
};

TEST_F(MainWindowTest, LayoutOfTheSideBarStatusLineAndPage) {
    // The same layout in logical pixels at 96 DPI and, in its own run, at 144.
    EXPECT_EQ(ui_resources().dpi, ui_test::expected_dpi());
    open();
    const int width = main_client_width, height = client_height();
    EXPECT_EQ(height, main_client_height);
    expect_at(w->brand_label, 56, 29, 96, 32);
    for (int k = 0; k < 5; ++k) expect_at(w->nav_items[k], 12, 82 + 44 * k, 144, 38);
    expect_at(w->settings_item, 12, height - 56, 144, 38);
    expect_at(w->status_label, 196, height - 24, width - 214, 24);
    ASSERT_NE(w->pages[0], nullptr);
    expect_at(w->pages[0], 168, 0, width - 168, height - 30);
    EXPECT_EQ(read_text(w->status_label), "就绪");
}

TEST_F(MainWindowTest, HiddenToolsCloseUpAndTheFirstVisibleToolIsShown) {
    open(0b00011);  // JSON and timestamp hidden
    EXPECT_FALSE(IsWindowVisible(w->nav_items[0]));
    EXPECT_FALSE(IsWindowVisible(w->nav_items[1]));
    expect_at(w->nav_items[2], 12, 82, 144, 38);
    expect_at(w->nav_items[4], 12, 82 + 88, 144, 38);
    EXPECT_EQ(w->current, 2);
    EXPECT_TRUE(selected(w->nav_items[2]));
}

TEST_F(MainWindowTest, EveryToolHiddenStartsOnTheSettingsPage) {
    open(0x1F);
    EXPECT_EQ(w->current, settings_page);
    EXPECT_TRUE(IsWindowVisible(w->settings_item));
    for (HWND item : w->nav_items) EXPECT_FALSE(IsWindowVisible(item));
    EXPECT_NE(w->pages[settings_page], nullptr);
}

TEST_F(MainWindowTest, SideBarEntriesSwitchPagesThatAreKept) {
    open();
    HWND json_page = w->pages[0];
    set_status(hwnd, "某个错误", true);
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(12, 0), reinterpret_cast<LPARAM>(w->nav_items[2]));
    EXPECT_EQ(w->current, 2);
    EXPECT_EQ(w->pages[1], nullptr);  // created on first show only
    ASSERT_NE(w->pages[2], nullptr);
    EXPECT_TRUE(IsWindowVisible(w->pages[2]));
    EXPECT_FALSE(IsWindowVisible(json_page));
    EXPECT_EQ(read_text(w->status_label), "就绪");
    for (int i = 0; i < 5; ++i) EXPECT_EQ(selected(w->nav_items[i]), i == 2) << i;
    EXPECT_FALSE(selected(w->settings_item));
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(10, 0), reinterpret_cast<LPARAM>(w->nav_items[0]));
    EXPECT_EQ(w->pages[0], json_page);
    EXPECT_TRUE(IsWindowVisible(json_page));
}

TEST_F(MainWindowTest, ToolListChanges) {
    open();
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(11, 0), 0);
    store_preference(L"HiddenTools", 0b00100);  // hide UUID: not the shown page
    SendMessageW(hwnd, message_id(AppMessage::ToolsChanged), 0, 0);
    EXPECT_EQ(w->current, 1);
    expect_at(w->nav_items[3], 12, 82 + 88, 144, 38);
    store_preference(L"HiddenTools", 0b00011);  // hide the shown page's tool
    SendMessageW(hwnd, message_id(AppMessage::ToolsChanged), 0, 0);
    EXPECT_EQ(w->current, 2);
    EXPECT_TRUE(IsWindowVisible(w->pages[2]));
}

TEST_F(MainWindowTest, MinimumTrackingSize) {
    open();
    MINMAXINFO info{};
    SendMessageW(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    RECT r{0, 0, scale(768), scale(585)};
    AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW, FALSE, 0);
    EXPECT_EQ(info.ptMinTrackSize.x, r.right - r.left);
    EXPECT_EQ(info.ptMinTrackSize.y, r.bottom - r.top);
}

TEST_F(MainWindowTest, GuardedMessagesWhileBorrowedGetDefaultProcessing) {
    open();
    w->borrow = -1;  // as if a guarded handler were running further up the stack
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(12, 0), 0);
    EXPECT_EQ(w->current, 0);
    SetWindowPos(w->status_label, nullptr, 0, 0, 5, 5, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client;
    GetClientRect(hwnd, &client);
    SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    expect_at(w->status_label, 0, 0, unscale(5), unscale(5));  // no layout while borrowed
    w->borrow = 0;
    SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    expect_at(w->status_label, 196, client_height() - 24, main_client_width - 214, 24);
    w->borrow = -1;
    SendMessageW(hwnd, WM_CLOSE, 0, 0);  // default processing would destroy it
    EXPECT_FALSE(IsWindow(hwnd));
    hwnd = nullptr;
}

TEST_F(MainWindowTest, StaleCollapseFromAMinimiseIsDropped) {
    open();
    EXPECT_EQ(SendMessageW(hwnd, message_id(AppMessage::CollapseToBall), 1, 0), 0);
    EXPECT_TRUE(IsWindowVisible(hwnd));
}

TEST_F(MainWindowTest, EscapeClosesOnceAndLeavesAnOpenListAlone) {
    open();
    HWND dropdown = create_control(w->pages[0], ControlKind::Dropdown, "", 999);
    const char* items[] = {"a", "b"};
    fill_dropdown(dropdown, items, 2, 0);
    place_control(dropdown, 10, 10, 100, 252);
    SendMessageW(dropdown, CB_SHOWDROPDOWN, TRUE, 0);
    MSG esc{dropdown, WM_KEYDOWN, VK_ESCAPE, 1, 0, {}};
    EXPECT_EQ(route_key(hwnd, esc), KeyRoute::Dispatch);  // the list takes it
    SendMessageW(dropdown, CB_SHOWDROPDOWN, FALSE, 0);

    MSG repeat{w->nav_items[0], WM_KEYDOWN, VK_ESCAPE, 1 | (1 << 30), 0, {}};
    EXPECT_EQ(route_key(hwnd, repeat), KeyRoute::Consumed);
    EXPECT_TRUE(IsWindow(hwnd));  // a held-down key closes nothing

    MSG other{w->nav_items[0], WM_KEYDOWN, VK_TAB, 1, 0, {}};
    EXPECT_EQ(route_key(hwnd, other), KeyRoute::Dialog);

    MSG press{w->nav_items[0], WM_KEYDOWN, VK_ESCAPE, 1, 0, {}};
    EXPECT_EQ(route_key(hwnd, press), KeyRoute::Consumed);
    EXPECT_FALSE(IsWindow(hwnd));  // no floating ball: the window is gone
    hwnd = nullptr;
}

// Each nested loop the program runs, with the main window destroyed inside
// it (as by the ball's "退出Lumaro"). Freed records are decommitted (see
// window_record_win.h): a handler touching one after its loop would fault.
enum class NestedLoop { UpdateOffer, ColorDialog, BallMenu };
class ExitInsideNestedLoop : public MainWindowTest, public ::testing::WithParamInterface<NestedLoop> {};

TEST_P(ExitInsideNestedLoop, NothingTouchesAFreedRecord) {
    store_preference(L"CheckUpdates", std::nullopt);
    open();
    PostMessageW(hwnd, message_id(AppMessage::ExitApp), 0, 0);
    if (GetParam() == NestedLoop::UpdateOffer) {
        lock_update_state()->manual = true;
        store_update_outcome({UpdateOutcome::Available{UpdateManifest{"9.9.9", 4096, std::string(64, '0'), ""}}});
        SendMessageW(hwnd, message_id(AppMessage::UpdateFinished), 0, 0);
        *lock_update_state() = UpdateState{};
    } else if (GetParam() == NestedLoop::ColorDialog) {
        show_tool(settings_page);
        SendMessageW(w->pages[settings_page], WM_COMMAND, MAKEWPARAM(settings_id::pick_color, BN_CLICKED), 0);
    } else {
        w->ball_enabled = true;
        ASSERT_EQ(SendMessageW(hwnd, message_id(AppMessage::CollapseToBall), 0, 0), 1);
        PostMessageW(w->ball_window, WM_KEYDOWN, VK_ESCAPE, 1);  // ends the menu should it outlive its window
        SendMessageW(w->ball_window, WM_CONTEXTMENU, 0, -1);
    }
    EXPECT_FALSE(IsWindow(hwnd));
    hwnd = nullptr;
}

INSTANTIATE_TEST_SUITE_P(Loops, ExitInsideNestedLoop,
                         ::testing::Values(NestedLoop::UpdateOffer, NestedLoop::ColorDialog, NestedLoop::BallMenu));

// The focused control gets the focus back when the window is active again;
// the side-bar entry of the page shown when that control is gone or hidden.
enum class Meanwhile { Nothing, ControlDestroyed, ControlHidden, FocusOnTheFrame };
struct FocusCase {
    Meanwhile meanwhile;
    bool from_the_ball;  // else another window was active
    bool control_again;
};
class ActivationFocus : public MainWindowTest, public ::testing::WithParamInterface<FocusCase> {};

LRESULT CALLBACK plain_proc(HWND h, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcW(h, m, wp, lp); }

TEST_P(ActivationFocus, TheFocusedControlOrTheCurrentEntryGetsTheFocusBack) {
    const FocusCase c = GetParam();
    open();
    show_tool(uuid_page);
    HWND control = first_of_kind(uuid_page, ControlKind::TextField);
    SetFocus(c.meanwhile == Meanwhile::FocusOnTheFrame ? hwnd : control);
    HWND other = ui_test::create_test_popup(L"Lumaro.OtherWindow", plain_proc, L"", 0, 0, 50, 50);
    ShowWindow(c.from_the_ball ? hwnd : other, c.from_the_ball ? SW_HIDE : SW_SHOW);  // hidden as behind the ball
    if (!c.from_the_ball) SetForegroundWindow(other);
    ui_test::HostWindow::pump();
    ASSERT_NE(GetActiveWindow(), hwnd);
    if (c.meanwhile == Meanwhile::ControlDestroyed) DestroyWindow(control);
    if (c.meanwhile == Meanwhile::ControlHidden) ShowWindow(control, SW_HIDE);
    if (c.from_the_ball)
        SendMessageW(hwnd, message_id(AppMessage::ShowMainWindow), 0, 0);
    else
        SetForegroundWindow(hwnd);
    ui_test::HostWindow::pump();
    EXPECT_EQ(GetFocus(), c.control_again ? control : w->nav_items[uuid_page]);
    DestroyWindow(other);
}

INSTANTIATE_TEST_SUITE_P(Cases, ActivationFocus,
                         ::testing::Values(FocusCase{Meanwhile::Nothing, false, true},
                                           FocusCase{Meanwhile::Nothing, true, true},
                                           FocusCase{Meanwhile::ControlDestroyed, false, false},
                                           FocusCase{Meanwhile::ControlHidden, false, false},
                                           FocusCase{Meanwhile::FocusOnTheFrame, true, false}));

std::vector<UINT> escape_seen;

LRESULT CALLBACK record_escape(HWND h, UINT m, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    if ((m == WM_KEYDOWN || m == WM_CHAR) && wp == VK_ESCAPE) escape_seen.push_back(m);
    return DefSubclassProc(h, m, wp, lp);
}

// Keys through the program's loop. Enter presses the focused button or
// side-bar entry and does nothing in a text box; with a composition open, Esc
// reaches the control (and its input method) and closes nothing.
TEST_F(MainWindowTest, KeysThroughTheLoop) {
    open();
    show_tool(uuid_page);
    HWND field = first_of_kind(uuid_page, ControlKind::TextField);
    struct Case {
        HWND target;
        WPARAM key;
        int page_after;
        const char* status_after;
    };
    const Case cases[] = {
        {field, VK_RETURN, uuid_page, "就绪"},
        {GetDlgItem(w->pages[uuid_page], uuid_generate_id), VK_RETURN, uuid_page, "已生成 10 条。"},
        {field, VK_ESCAPE, uuid_page, "就绪"},
        {w->nav_items[timestamp_page], VK_RETURN, timestamp_page, "就绪"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << GetDlgCtrlID(c.target) << " " << c.key);
        set_status(hwnd, "就绪", false);
        SetFocus(c.target);
        if (c.key == VK_ESCAPE) {
            HIMC context = ImmGetContext(field);
            wchar_t typed[] = L"ni";
            ImmSetCompositionStringW(context, SCS_SETSTR, typed, 2 * sizeof(wchar_t), nullptr, 0);
            ASSERT_GT(ImmGetCompositionStringW(context, GCS_COMPSTR, nullptr, 0), 0);
            ImmReleaseContext(field, context);
            escape_seen.clear();
            SetWindowSubclass(field, record_escape, 7, 0);
        }
        PostMessageW(c.target, WM_KEYDOWN, c.key, 1);
        run_loop();
        RemoveWindowSubclass(field, record_escape, 7);
        EXPECT_EQ(w->current, c.page_after);
        EXPECT_EQ(read_text(w->status_label), c.status_after);
        EXPECT_TRUE(IsWindowVisible(hwnd));
    }
    EXPECT_EQ(escape_seen, (std::vector<UINT>{WM_KEYDOWN, WM_CHAR}));
}

TEST_F(MainWindowTest, APageOutlivesCloseAndIsMadeAgainWhenGone) {
    open();
    HWND json = w->pages[json_page];
    SendMessageW(json, WM_CLOSE, 0, 0);  // what a multi-line edit posts on Esc
    EXPECT_TRUE(IsWindow(json));
    DestroyWindow(json);
    show_tool(json_page);
    EXPECT_TRUE(IsWindowVisible(w->pages[json_page]));
}

}  // namespace
