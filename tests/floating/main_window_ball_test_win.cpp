// The main window with its floating ball: collapsing, the two switches, the
// ball's requests and the colour change, through the main window's messages.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <vector>

#include "../common/main_window_host_win.h"
#include "ball_test_support_win.h"
#include "ui/app_message.h"
#include "main/main_window_win.h"
#include "ui/controls_win.h"
#include "ui/tool_page_win.h"
#include "ui/ui_resources_win.h"

namespace {

using namespace ball_test;

using main_window_test::open_main_window;
using main_window_test::store_preference;
using main_window_test::stored_preference;

std::vector<WPARAM> floating_states;

LRESULT CALLBACK record_state(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR) {
    if (message == message_id(AppMessage::FloatingStateChanged)) floating_states.push_back(wparam);
    return DefSubclassProc(hwnd, message, wparam, lparam);
}

// The screen's pixel, as a COLORREF.
COLORREF screen_pixel(POINT p) {
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return c;
}

class MainWindowBall : public ::testing::Test {
protected:
    HWND hwnd = nullptr;
    MainWindow* w = nullptr;
    RECT work{};

    void open(std::optional<DWORD> ball_on, std::optional<DWORD> dock_on, bool show = true) {
        store_preference(L"FloatingBall", ball_on);
        store_preference(L"FloatingBallDock", dock_on);
        floating_states.clear();
        ASSERT_NO_FATAL_FAILURE(open_main_window(hwnd, w));
        MONITORINFO info{};
        info.cbSize = sizeof info;
        GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &info);
        work = info.rcWork;
        move_cursor(neutral_point(work));
        if (show) SendMessageW(hwnd, message_id(AppMessage::ShowMainWindow), 0, 0);
        pump();
    }
    void TearDown() override {
        if (hwnd && IsWindow(hwnd)) DestroyWindow(hwnd);
        pump();
        store_preference(L"FloatingBall", std::nullopt);
        store_preference(L"FloatingBallDock", std::nullopt);
        ui_resources().palette = derive_palette(0, 0);
    }

    LRESULT collapse() { return SendMessageW(hwnd, message_id(AppMessage::CollapseToBall), 0, 0); }
    void watch_settings_page() {
        SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(first_nav_id + settings_page, 0), 0);
        ASSERT_NE(w->pages[settings_page], nullptr);
        floating_states.clear();
        SetWindowSubclass(w->pages[settings_page], record_state, 1, 0);
    }
    std::string status() const { return read_text(w->status_label); }
    bool status_is_error() const { return has_property(w->status_label, selected_property); }
};

TEST_F(MainWindowBall, WithTheBallOffNothingCollapses) {
    open(std::nullopt, std::nullopt);
    EXPECT_EQ(collapse(), 0);
    EXPECT_EQ(w->ball, nullptr);
    EXPECT_TRUE(IsWindowVisible(hwnd));
}

TEST_F(MainWindowBall, TheFirstCollapseShowsTheTabOnTheRightEdgeAndHidesTheWindow) {
    open(1, std::nullopt);
    ASSERT_EQ(collapse(), 1);
    ASSERT_NE(w->ball, nullptr);
    EXPECT_FALSE(IsWindowVisible(hwnd));
    EXPECT_TRUE(IsWindowVisible(w->ball_window));
    expect_rect(w->ball_window, first_tab(work));
    EXPECT_EQ(w->ball->shape, (BallShape{BallKind::Strip, BallSide::Right, 0}));
    EXPECT_EQ(w->ball->owner, hwnd);
    EXPECT_TRUE(w->ball->docking);
}

TEST_F(MainWindowBall, StartingHiddenShowsOnlyTheBall) {
    open(1, std::nullopt, false);  // as a start at login does
    ASSERT_EQ(collapse(), 1);
    EXPECT_FALSE(IsWindowVisible(hwnd));
    EXPECT_TRUE(IsWindowVisible(w->ball_window));
}

TEST_F(MainWindowBall, WithoutDockingTheFirstCollapseShowsABallOnTheTabsCentre) {
    open(1, 0);
    ASSERT_EQ(collapse(), 1);
    EXPECT_EQ(w->ball->shape.kind, BallKind::Ball);
    EXPECT_FALSE(w->ball->docking);
    const RECT tab = first_tab(work);
    const int size = scale(56);
    const int centre_y = tab.top + scale(46) / 2;
    // Centred on the tab's centre, pulled inside the work area.
    expect_rect(w->ball_window, {work.right - size, centre_y - size / 2, work.right, centre_y - size / 2 + size});
}

TEST_F(MainWindowBall, ClosingTheWindowHidesItBehindTheBall) {
    open(1, std::nullopt);
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    pump();
    ASSERT_TRUE(IsWindow(hwnd));
    EXPECT_FALSE(IsWindowVisible(hwnd));
    ASSERT_NE(w->ball, nullptr);
    EXPECT_TRUE(IsWindowVisible(w->ball_window));
}

TEST_F(MainWindowBall, MinimisingHidesTheWindowBehindTheBall) {
    open(1, std::nullopt);
    ShowWindow(hwnd, SW_MINIMIZE);
    pump();  // the collapse is posted
    ASSERT_NE(w->ball, nullptr);
    EXPECT_FALSE(IsWindowVisible(hwnd));
    EXPECT_TRUE(IsWindowVisible(w->ball_window));
    // Opened again from the ball: restored, not left minimised.
    SendMessageW(w->ball_window, WM_KEYUP, VK_RETURN, 0);
    pump();
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_FALSE(IsIconic(hwnd));
    EXPECT_FALSE(IsWindowVisible(w->ball_window));
}

TEST_F(MainWindowBall, AClickOnTheBallOpensTheWindowWhichHidesAndResetsTheBall) {
    open(1, std::nullopt);
    ASSERT_EQ(collapse(), 1);
    HWND ball = w->ball_window;
    const POINT p = centre_of(rect_of(ball));
    mouse_at(ball, WM_LBUTTONDOWN, p);
    mouse_at(ball, WM_LBUTTONUP, {p.x + scale(3), p.y});
    pump();
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_FALSE(IsWindowVisible(ball));
    EXPECT_EQ(w->ball_window, ball);  // kept for the next collapse

    // Shown again while the ball was busy: the ball is put back to rest.
    ASSERT_EQ(collapse(), 1);
    mouse_at(ball, WM_LBUTTONDOWN, centre_of(rect_of(ball)));
    w->ball->hover_block = POINT{3, 4};
    ASSERT_EQ(GetCapture(), ball);
    SendMessageW(hwnd, message_id(AppMessage::ShowMainWindow), 0, 0);
    EXPECT_FALSE(IsWindowVisible(ball));
    EXPECT_EQ(w->ball->pointer_state, PointerState::Idle);
    EXPECT_FALSE(w->ball->hover_block);
    EXPECT_NE(GetCapture(), ball);
}

TEST_F(MainWindowBall, ADroppedBallKeepsItsPlaceAcrossCollapses) {
    open(1, std::nullopt);
    ASSERT_EQ(collapse(), 1);
    HWND ball = w->ball_window;
    const POINT p = centre_of(rect_of(ball));
    mouse_at(ball, WM_LBUTTONDOWN, p);
    const POINT drop{work.left + 40, work.top + 250};
    mouse_at(ball, WM_MOUSEMOVE, drop);
    mouse_at(ball, WM_LBUTTONUP, drop);
    const RECT docked{work.left, drop.y - scale(46) / 2, work.left + scale(10), drop.y - scale(46) / 2 + scale(46)};
    expect_rect(w->ball_window, docked);
    SendMessageW(hwnd, message_id(AppMessage::ShowMainWindow), 0, 0);
    ASSERT_EQ(collapse(), 1);
    expect_rect(w->ball_window, docked);
}

TEST_F(MainWindowBall, ClosingTheBallWindowOpensTheMainWindow) {
    open(1, std::nullopt);
    ASSERT_EQ(collapse(), 1);
    SendMessageW(w->ball_window, WM_CLOSE, 0, 0);
    pump();
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_TRUE(IsWindow(w->ball_window));
    EXPECT_FALSE(IsWindowVisible(w->ball_window));
}

TEST_F(MainWindowBall, DockingTogglesConvertTheBallInPlace) {
    open(1, std::nullopt);
    ASSERT_EQ(collapse(), 1);
    SendMessageW(hwnd, message_id(AppMessage::ShowMainWindow), 0, 0);
    watch_settings_page();
    const RECT tab = first_tab(work);
    const POINT centre{tab.left + scale(10) / 2, tab.top + scale(46) / 2};
    const int size = scale(56);

    SendMessageW(hwnd, message_id(AppMessage::ToggleDock), 0, 0);
    EXPECT_FALSE(w->dock_enabled);
    EXPECT_EQ(stored_preference(L"FloatingBallDock"), 0u);
    EXPECT_EQ(w->ball->shape.kind, BallKind::Ball);
    expect_rect(w->ball_window, {work.right - size, centre.y - size / 2, work.right, centre.y - size / 2 + size});
    EXPECT_EQ(status(), "自动贴边已关闭。");
    EXPECT_FALSE(status_is_error());
    EXPECT_EQ(floating_states, std::vector<WPARAM>{1});

    SendMessageW(hwnd, message_id(AppMessage::ToggleDock), 0, 0);
    EXPECT_TRUE(w->dock_enabled);
    EXPECT_EQ(stored_preference(L"FloatingBallDock"), 1u);
    EXPECT_EQ(w->ball->shape, (BallShape{BallKind::Strip, BallSide::Right, 0}));
    // Docked to the nearer edge at the ball's centre height.
    const int ball_centre_y = centre.y - size / 2 + size / 2;
    expect_rect(w->ball_window, {work.right - scale(10), ball_centre_y - scale(46) / 2, work.right,
                    ball_centre_y - scale(46) / 2 + scale(46)});
    EXPECT_EQ(status(), "自动贴边已开启。");
    EXPECT_EQ(floating_states, (std::vector<WPARAM>{1, 3}));
}

TEST_F(MainWindowBall, DockingCanBeSwitchedBeforeAnyBallExists) {
    open(std::nullopt, std::nullopt);
    SendMessageW(hwnd, message_id(AppMessage::ToggleDock), 0, 0);
    EXPECT_FALSE(w->dock_enabled);
    EXPECT_EQ(w->ball, nullptr);
    EXPECT_EQ(status(), "自动贴边已关闭。");
}

TEST_F(MainWindowBall, TheBallSwitchSavesAndSwitchingOffDestroysTheBall) {
    open(std::nullopt, std::nullopt);
    watch_settings_page();
    SendMessageW(hwnd, message_id(AppMessage::ToggleFloatingBall), 0, 0);
    EXPECT_TRUE(w->ball_enabled);
    EXPECT_EQ(stored_preference(L"FloatingBall"), 1u);
    EXPECT_EQ(w->ball, nullptr);  // shown only at the next collapse
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_EQ(status(), "悬浮球已开启。");
    EXPECT_FALSE(status_is_error());

    ASSERT_EQ(collapse(), 1);
    HWND ball = w->ball_window;
    SendMessageW(hwnd, message_id(AppMessage::ShowMainWindow), 0, 0);
    SendMessageW(hwnd, message_id(AppMessage::ToggleFloatingBall), 0, 0);
    EXPECT_FALSE(w->ball_enabled);
    EXPECT_EQ(stored_preference(L"FloatingBall"), 0u);
    EXPECT_EQ(w->ball, nullptr);
    EXPECT_FALSE(IsWindow(ball));
    EXPECT_EQ(status(), "悬浮球已关闭。");
    // Switched on, shown again from the ball (the settings page is current),
    // switched off.
    EXPECT_EQ(floating_states, (std::vector<WPARAM>{3, 3, 2}));
    EXPECT_EQ(collapse(), 0);
}

TEST_F(MainWindowBall, TheMenusCloseItemShowsTheWindowAndSwitchesTheBallOff) {
    open(1, std::nullopt);
    ASSERT_EQ(collapse(), 1);
    HWND ball = w->ball_window;
    PostMessageW(ball, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(ball, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(ball, WM_KEYDOWN, VK_RETURN, 0);
    SendMessageW(ball, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(ball), -1);
    pump();
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_FALSE(IsWindow(ball));
    EXPECT_FALSE(w->ball_enabled);
    EXPECT_EQ(stored_preference(L"FloatingBall"), 0u);
    EXPECT_EQ(status(), "悬浮球已关闭。");
}

TEST_F(MainWindowBall, TheMenusExitItemEndsTheProgramWindowAndTheBall) {
    open(1, std::nullopt);
    ASSERT_EQ(collapse(), 1);
    HWND ball = w->ball_window;
    for (int i = 0; i < 3; ++i) PostMessageW(ball, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(ball, WM_KEYDOWN, VK_RETURN, 0);
    SendMessageW(ball, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(ball), -1);
    pump();
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_FALSE(IsWindow(ball));
    hwnd = nullptr;
}

TEST_F(MainWindowBall, AColourChangeDrawsTheBallAgain) {
    open(1, std::nullopt);
    ASSERT_EQ(collapse(), 1);
    const RECT tab = rect_of(w->ball_window);
    // The tab's screen-edge column in its middle row is the plain accent.
    const POINT edge{tab.right - 1, tab.top + scale(46) / 2};
    pump();
    const COLORREF before = screen_pixel(edge);
    EXPECT_EQ(before, ui_resources().palette.accent);
    ui_resources().palette = derive_palette(1, 0);
    SendMessageW(hwnd, message_id(AppMessage::PaletteChanged), 0, 0);
    pump();
    EXPECT_EQ(screen_pixel(edge), derive_palette(1, 0).accent);
    EXPECT_NE(screen_pixel(edge), before);
    expect_rect(w->ball_window, tab);  // same place, same shape
    EXPECT_EQ(w->ball->shape, (BallShape{BallKind::Strip, BallSide::Right, 0}));
}

}  // namespace
