#pragma once

// Driving the floating ball as the mouse would: the ball reads every position
// from the message it handles, and a posted message carries the cursor's
// position at the time it was posted, so each step puts the cursor there
// first. Moving the cursor over a window also makes the system send it a
// real WM_MOUSEMOVE, as a user's mouse would.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <thread>

#include "../ui/ui_test_support_win.h"
#include "floating/floating_ball_win.h"

namespace ball_test {

inline void pump() { ui_test::HostWindow::pump(); }

// Pumps until the condition holds or the time is up; the result is the condition.
inline bool pump_until(const std::function<bool()>& condition, int milliseconds = 2000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    for (;;) {
        pump();
        if (condition()) return true;
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

inline void move_cursor(POINT p) {
    SetCursorPos(p.x, p.y);
    pump();
}

// The mouse message at a screen point, in the window's client coordinates.
inline void mouse_at(HWND window, UINT message, POINT screen) {
    move_cursor(screen);
    POINT client = screen;
    ScreenToClient(window, &client);
    const bool held = message == WM_LBUTTONDOWN || (message == WM_MOUSEMOVE && GetCapture() == window);
    PostMessageW(window, message, held ? MK_LBUTTON : 0, MAKELPARAM(client.x, client.y));
    pump();
}

inline RECT rect_of(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

inline POINT centre_of(const RECT& r) { return {r.left + (r.right - r.left) / 2, r.top + (r.bottom - r.top) / 2}; }

inline RECT work_area_at(POINT p) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromPoint(p, MONITOR_DEFAULTTONEAREST), &info);
    return info.rcWork;
}

// Where a new ball puts its tab: on the work area's right edge, 142 logical
// pixels above its bottom.
inline RECT first_tab(const RECT& work) {
    const int d = ui_resources().dpi;
    const int y = std::max(work.top, std::min(work.bottom - (46 * d + 48) / 192 - (119 * d + 48) / 96,
                                              work.bottom - scale(46)));
    return {work.right - scale(10), y, work.right, y + scale(46)};
}

inline void expect_rect(HWND window, const RECT& expected) {
    const RECT r = rect_of(window);
    EXPECT_EQ(r.left, expected.left);
    EXPECT_EQ(r.top, expected.top);
    EXPECT_EQ(r.right, expected.right);
    EXPECT_EQ(r.bottom, expected.bottom);
}

// Away from every place the tests put the ball.
inline POINT neutral_point(const RECT& work) {
    return {work.left + (work.right - work.left) / 3, work.top + (work.bottom - work.top) / 3};
}

}  // namespace ball_test
