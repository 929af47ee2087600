// The ball window on its own, with an owner that only records what the ball
// asks of it.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "ball_test_support_win.h"
#include "floating/floating_ball_win.h"
#include "ui/app_message.h"
#include "ui/ui_resources_win.h"

namespace {

using namespace ball_test;

std::vector<UINT> received;

LRESULT CALLBACK owner_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message >= WM_APP && message < 0xC000) {
        received.push_back(message);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
}

HWND make_owner() { return ui_test::create_test_popup(L"Lumaro.BallTestOwner", owner_proc, L"", 0, 0, 100, 100); }

constexpr UINT show_main = message_id(AppMessage::ShowMainWindow);

class FloatingBallTest : public ::testing::Test {
protected:
    HWND owner = nullptr;
    HWND window = nullptr;
    FloatingBall* ball = nullptr;  // the window's own
    RECT work{};

    void SetUp() override {
        received.clear();
        owner = make_owner();
        ASSERT_NE(owner, nullptr);
        work = work_area_at({0, 0});
        move_cursor(neutral_point(work));
        std::optional<CreatedBall> created = create_floating_ball(owner);
        ASSERT_TRUE(created);
        ball = created->record;
        window = created->window;
        ShowWindow(window, SW_SHOWNOACTIVATE);
        pump();
        received.clear();
    }
    void TearDown() override {
        if (window) DestroyWindow(window);
        if (owner) DestroyWindow(owner);
        move_cursor(neutral_point(work));
        pump();
    }

    BallKind kind() const { return ball->shape.kind; }
    // The free ball centred on c.
    static RECT ball_around(POINT c) {
        const int size = scale(56);
        return {c.x - size / 2, c.y - size / 2, c.x - size / 2 + size, c.y - size / 2 + size};
    }
    // Pressed on the tab, then moved far enough to drag.
    POINT start_drag() {
        const POINT p = centre_of(rect_of(window));
        mouse_at(window, WM_LBUTTONDOWN, p);
        const POINT moved{p.x - scale(4), p.y};
        mouse_at(window, WM_MOUSEMOVE, moved);
        return moved;
    }
};

TEST_F(FloatingBallTest, WindowClassStylesAndTitle) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    EXPECT_EQ(std::wstring(name), L"Brivane.FloatingBall");
    GetWindowTextW(window, name, 64);
    EXPECT_EQ(std::wstring(name), L"Lumaro悬浮条");
    const LONG_PTR ex = GetWindowLongPtrW(window, GWL_EXSTYLE);
    EXPECT_EQ(ex & (WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST),
              static_cast<LONG_PTR>(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST));
    EXPECT_EQ(GetWindowLongPtrW(window, GWL_STYLE) & WS_POPUP, static_cast<LONG_PTR>(WS_POPUP));
    EXPECT_EQ(GetParent(window), nullptr);
    EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);
    EXPECT_EQ(floating_ball_record(window), ball);
    EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrW(window, GCLP_HCURSOR)), LoadCursorW(nullptr, IDC_HAND));
}

TEST_F(FloatingBallTest, SizesFollowTheSystemDpi) {
    // 96 DPI here and, in its own run, 144.
    const int dpi = ui_test::expected_dpi();
    ASSERT_EQ(ui_resources().dpi, dpi);
    const RECT r = rect_of(window);
    EXPECT_EQ(r.right - r.left, dpi == 144 ? 15 : 10);
    EXPECT_EQ(r.bottom - r.top, dpi == 144 ? 69 : 46);
    EXPECT_EQ(ball->sizes.ball_width, dpi == 144 ? 84 : 56);
    EXPECT_EQ(ball->drag_threshold, dpi == 144 ? 6 : 4);
}

TEST_F(FloatingBallTest, TheFirstTabSitsOnTheRightEdge) {
    expect_rect(window, first_tab(work));
    EXPECT_EQ(ball->shape, (BallShape{BallKind::Strip, BallSide::Right, 0}));
    EXPECT_EQ(ball->pointer_state, PointerState::Idle);
}

TEST_F(FloatingBallTest, HoverOpensTheBallBesideTheTabAndLeavingClosesIt) {
    const RECT tab = first_tab(work);
    move_cursor(centre_of(tab));  // the system's own WM_MOUSEMOVE
    ASSERT_TRUE(pump_until([&] { return kind() == BallKind::Peek; }));
    const RECT peek = rect_of(window);
    EXPECT_EQ(peek.right - peek.left, scale(10) / 2 + scale(56));
    EXPECT_EQ(peek.bottom - peek.top, scale(56));
    EXPECT_EQ(peek.right, tab.right);  // the tab stays where it was
    EXPECT_EQ(peek.top + ball->shape.peek_offset, tab.top);
    EXPECT_EQ(ball->shape.side, BallSide::Right);

    move_cursor(neutral_point(work));
    ASSERT_TRUE(pump_until([&] { return kind() == BallKind::Strip; }));
    expect_rect(window, tab);
    EXPECT_TRUE(received.empty());
}

TEST_F(FloatingBallTest, APressReleasedWithinThreePixelsIsAClick) {
    const POINT p = centre_of(first_tab(work));
    mouse_at(window, WM_LBUTTONDOWN, p);
    EXPECT_EQ(ball->pointer_state, PointerState::Pressed);
    EXPECT_EQ(GetCapture(), window);
    mouse_at(window, WM_MOUSEMOVE, {p.x - scale(3), p.y + scale(3)});
    EXPECT_EQ(ball->pointer_state, PointerState::Pressed);
    EXPECT_NE(kind(), BallKind::Ball);
    mouse_at(window, WM_LBUTTONUP, {p.x - scale(3), p.y + scale(3)});
    EXPECT_EQ(received, std::vector<UINT>{show_main});
    EXPECT_EQ(ball->pointer_state, PointerState::Idle);
    EXPECT_NE(GetCapture(), window);
}

TEST_F(FloatingBallTest, AFourPixelMoveStartsADragThatFollowsTheCursor) {
    const POINT moved = start_drag();
    EXPECT_EQ(ball->pointer_state, PointerState::Dragging);
    EXPECT_EQ(kind(), BallKind::Ball);
    expect_rect(window, ball_around(moved));
    // Free of the work area while dragged (the cursor itself stays on the screen).
    const POINT outside{work.right - 3, work.bottom - 3};
    mouse_at(window, WM_MOUSEMOVE, outside);
    expect_rect(window, ball_around(outside));
    EXPECT_TRUE(received.empty());
}

TEST_F(FloatingBallTest, ADropLeftOfTheMiddleDocksLeftAtTheDropHeight) {
    start_drag();
    const int middle = work.left + (work.right - work.left) / 2;
    const POINT drop{middle - 1, work.top + 300};
    mouse_at(window, WM_MOUSEMOVE, drop);
    mouse_at(window, WM_LBUTTONUP, drop);
    EXPECT_TRUE(received.empty());  // a drag is no click
    EXPECT_EQ(ball->shape, (BallShape{BallKind::Strip, BallSide::Left, 0}));
    expect_rect(window, {work.left, drop.y - scale(46) / 2, work.left + scale(10), drop.y - scale(46) / 2 + scale(46)});
    EXPECT_EQ(ball->pointer_state, PointerState::Idle);
}

TEST_F(FloatingBallTest, ADropExactlyOnTheMiddleDocksRight) {
    start_drag();
    const POINT drop{work.left + (work.right - work.left) / 2, work.top + 200};
    mouse_at(window, WM_MOUSEMOVE, drop);
    mouse_at(window, WM_LBUTTONUP, drop);
    EXPECT_EQ(ball->shape, (BallShape{BallKind::Strip, BallSide::Right, 0}));
    expect_rect(window, {work.right - scale(10), drop.y - scale(46) / 2, work.right, drop.y - scale(46) / 2 + scale(46)});
}

TEST_F(FloatingBallTest, AfterADropTheTabUnderTheUnmovedCursorStaysClosed) {
    start_drag();
    // Dropped near the left edge: the new tab lies under the cursor.
    const POINT drop{work.left + scale(3), work.top + 400};
    mouse_at(window, WM_MOUSEMOVE, drop);
    mouse_at(window, WM_LBUTTONUP, drop);
    ASSERT_EQ(kind(), BallKind::Strip);
    mouse_at(window, WM_MOUSEMOVE, drop);
    EXPECT_EQ(kind(), BallKind::Strip);
    mouse_at(window, WM_MOUSEMOVE, {drop.x + 1, drop.y});
    EXPECT_EQ(kind(), BallKind::Peek);
    EXPECT_EQ(ball->shape.side, BallSide::Left);
    EXPECT_EQ(rect_of(window).left, work.left);
}

TEST_F(FloatingBallTest, WithoutDockingTheDroppedBallIsPulledInsideTheWorkArea) {
    ball->docking = false;
    place_ball(window, *ball, std::nullopt);
    ASSERT_EQ(kind(), BallKind::Ball);
    const int size = scale(56);
    // The tab's centre, the ball pulled inside.
    const POINT tab_centre = centre_of(first_tab(work));
    expect_rect(window, {work.right - size, tab_centre.y - size / 2, work.right, tab_centre.y - size / 2 + size});
    // No hover shape without docking.
    move_cursor(centre_of(rect_of(window)));
    mouse_at(window, WM_MOUSEMOVE, {centre_of(rect_of(window)).x + 1, centre_of(rect_of(window)).y});
    EXPECT_EQ(kind(), BallKind::Ball);

    const POINT p = centre_of(rect_of(window));
    mouse_at(window, WM_LBUTTONDOWN, p);
    const POINT drop{work.right - 5, work.bottom - 5};
    mouse_at(window, WM_MOUSEMOVE, drop);
    expect_rect(window, ball_around(drop));
    mouse_at(window, WM_LBUTTONUP, drop);
    EXPECT_EQ(kind(), BallKind::Ball);
    expect_rect(window, {work.right - size, work.bottom - size, work.right, work.bottom});
    EXPECT_TRUE(received.empty());
}

TEST_F(FloatingBallTest, ALostCaptureEndsTheDragWhereTheDockingRulePutsIt) {
    const POINT moved = start_drag();
    ReleaseCapture();  // as when another window takes the mouse
    pump();
    EXPECT_EQ(ball->pointer_state, PointerState::Idle);
    EXPECT_EQ(ball->shape, (BallShape{BallKind::Strip, BallSide::Right, 0}));
    ASSERT_TRUE(ball->hover_block);
    EXPECT_EQ(ball->hover_block->x, moved.x);
    EXPECT_EQ(ball->hover_block->y, moved.y);
    EXPECT_TRUE(received.empty());
}

TEST_F(FloatingBallTest, CancelModeReleasesTheCapture) {
    const POINT p = centre_of(first_tab(work));
    mouse_at(window, WM_LBUTTONDOWN, p);
    ASSERT_EQ(GetCapture(), window);
    SendMessageW(window, WM_CANCELMODE, 0, 0);
    EXPECT_NE(GetCapture(), window);
    EXPECT_EQ(ball->pointer_state, PointerState::Idle);
    mouse_at(window, WM_LBUTTONUP, p);
    EXPECT_TRUE(received.empty());  // no click after a cancelled press
}

TEST_F(FloatingBallTest, ACancelledPressOnTheOpenBallClosesItUntilTheCursorMoves) {
    const RECT tab = first_tab(work);
    const POINT p = centre_of(tab);
    move_cursor(p);
    ASSERT_TRUE(pump_until([&] { return kind() == BallKind::Peek; }));
    mouse_at(window, WM_LBUTTONDOWN, p);
    ASSERT_EQ(ball->pointer_state, PointerState::Pressed);
    SendMessageW(window, WM_CANCELMODE, 0, 0);
    EXPECT_EQ(ball->pointer_state, PointerState::Idle);
    EXPECT_EQ(ball->shape, (BallShape{BallKind::Strip, BallSide::Right, 0}));
    expect_rect(window, tab);
    mouse_at(window, WM_MOUSEMOVE, p);
    EXPECT_EQ(kind(), BallKind::Strip);
    mouse_at(window, WM_MOUSEMOVE, {p.x, p.y + 1});
    EXPECT_EQ(kind(), BallKind::Peek);
    EXPECT_TRUE(received.empty());
}

TEST_F(FloatingBallTest, AChangedWorkAreaRefitsTheIdleBall) {
    // As if the screens had changed under it: the tab is now far outside.
    SetWindowPos(window, nullptr, work.left + 100, work.top - 500, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(window, WM_DISPLAYCHANGE, 32, MAKELPARAM(work.right, work.bottom));
    expect_rect(window, {work.left, work.top, work.left + scale(10), work.top + scale(46)});
    EXPECT_EQ(ball->shape.side, BallSide::Left);
    SetWindowPos(window, nullptr, work.right + 300, work.top + 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(window, WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
    expect_rect(window, {work.right - scale(10), work.top + 100, work.right, work.top + 100 + scale(46)});
    EXPECT_EQ(ball->shape.side, BallSide::Right);
}

TEST_F(FloatingBallTest, ClosingTheBallOpensTheMainWindowInstead) {
    SendMessageW(window, WM_CLOSE, 0, 0);
    pump();
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(received, std::vector<UINT>{show_main});
}

TEST_F(FloatingBallTest, EnterAndSpaceOpenTheMainWindowOtherKeysDoNot) {
    SendMessageW(window, WM_KEYUP, VK_RETURN, 0);
    SendMessageW(window, WM_KEYUP, 'A', 0);
    SendMessageW(window, WM_KEYUP, VK_SPACE, 0);
    pump();
    EXPECT_EQ(received, (std::vector<UINT>{show_main, show_main}));
}

TEST_F(FloatingBallTest, ResetClearsThePressAndTheHoverBlock) {
    mouse_at(window, WM_LBUTTONDOWN, centre_of(first_tab(work)));
    ball->hover_block = POINT{1, 2};
    reset_ball(window, *ball);
    EXPECT_EQ(ball->pointer_state, PointerState::Idle);
    EXPECT_FALSE(ball->hover_block);
    EXPECT_NE(GetCapture(), window);
}

// The menu runs its own message loop; the keys posted before it opens are
// what the user types into it.
struct MenuCase {
    int downs;
    AppMessage expected;
};

class BallMenu : public FloatingBallTest, public ::testing::WithParamInterface<MenuCase> {};

TEST_P(BallMenu, TheChosenCommandIsPostedToTheOwner) {
    for (int i = 0; i < GetParam().downs; ++i) PostMessageW(window, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(window, WM_KEYDOWN, VK_RETURN, 0);
    const RECT r = rect_of(window);
    SendMessageW(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), MAKELPARAM(r.left - 150, r.top));
    pump();
    EXPECT_EQ(received, std::vector<UINT>{message_id(GetParam().expected)});
}

INSTANTIATE_TEST_SUITE_P(Items, BallMenu,
                         ::testing::Values(MenuCase{1, AppMessage::ShowMainWindow},
                                           MenuCase{2, AppMessage::CloseFloatingBall},
                                           MenuCase{3, AppMessage::ExitApp}));

// From the keyboard the low 32 bits of lParam hold (-1, -1), whatever the upper half holds.
TEST_F(FloatingBallTest, AKeyboardMenuOpensBelowTheMiddleOfTheBall) {
    static RECT menu;
    const RECT r = rect_of(window);
    for (LPARAM lparam : {LPARAM{-1}, static_cast<LPARAM>(0xFFFFFFFFu)}) {
        menu = {};
        // Runs inside the menu's own loop: notes where the menu is and closes it.
        SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR id, DWORD) {
            KillTimer(nullptr, id);
            GetWindowRect(FindWindowW(L"#32768", nullptr), &menu);
            EndMenu();
        });
        SendMessageW(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), lparam);
        EXPECT_EQ(menu.top, r.bottom) << lparam;
        EXPECT_TRUE(menu.left <= centre_of(r).x && centre_of(r).x <= menu.right) << lparam;
    }
}

TEST_F(FloatingBallTest, NoMenuWhileTheButtonIsHeld) {
    mouse_at(window, WM_LBUTTONDOWN, centre_of(first_tab(work)));
    PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);  // would close a menu, if one opened
    SendMessageW(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), -1);
    EXPECT_EQ(ball->pointer_state, PointerState::Pressed);
    reset_ball(window, *ball);
    pump();
    EXPECT_TRUE(received.empty());
}

}  // namespace
