#include "floating/floating_ball_win.h"

#include <windowsx.h>

#include <cstdlib>

#include "floating/ball_render_win.h"
#include "ui/app_message.h"
#include "ui/controls_win.h"
#include "ui/ui_resources_win.h"

namespace {

LRESULT CALLBACK floating_ball_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

BallRect to_ball_rect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
RECT to_rect(const BallRect& r) { return {r.left, r.top, r.right, r.bottom}; }
BallPoint to_ball_point(POINT p) { return {p.x, p.y}; }

bool same_point(POINT a, POINT b) { return a.x == b.x && a.y == b.y; }

// The position of the message being handled, as signed 16-bit coordinates.
POINT message_point() {
    const DWORD pos = GetMessagePos();
    return {GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
}

std::optional<BallRect> work_area_near(POINT p) {
    HMONITOR monitor = MonitorFromPoint(p, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!monitor || !GetMonitorInfoW(monitor, &info)) return std::nullopt;
    return to_ball_rect(info.rcWork);
}

std::optional<RECT> window_rect(HWND window) {
    RECT r;
    if (!GetWindowRect(window, &r)) return std::nullopt;
    return r;
}

bool track_mouse_leave(HWND window, bool on) {
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof track;
    track.dwFlags = on ? TME_LEAVE : TME_LEAVE | TME_CANCEL;
    track.hwndTrack = window;
    track.dwHoverTime = 0;
    return TrackMouseEvent(&track) != 0;
}

void move_window(HWND window, const BallRect& r) {
    SetWindowPos(window, nullptr, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A free ball is a ball whatever side it came from.
constexpr BallShape free_ball{BallKind::Ball, BallSide::Right, 0};

// Draws the shape when it differs from the one shown, otherwise only moves.
void show_shape(HWND window, FloatingBall& ball, const BallShape& shape, const BallRect& r) {
    if (ball.shape == shape) {
        move_window(window, r);
        return;
    }
    if (render_ball_window(window, ball, shape, to_rect(r))) ball.shape = shape;
}

void post_to_owner(const FloatingBall& ball, AppMessage message) {
    PostMessageW(ball.owner, message_id(message), 0, 0);
}

// The press or drag ended without a click of ours (capture taken away, mode
// cancelled): the shape goes back where the docking rule puts it, and the tab
// under the unmoved cursor stays closed.
void pointer_cancelled(HWND window, FloatingBall& ball, bool cancel_mode) {
    const PointerState previous = ball.pointer_state;
    ball.pointer_state = PointerState::Idle;
    if (cancel_mode && GetCapture() == window) ReleaseCapture();
    if (previous == PointerState::Dragging || (previous == PointerState::Pressed && ball.shape.kind == BallKind::Peek)) {
        ball.hover_block = ball.last_point;
        place_ball(window, ball, std::nullopt);
    }
}

void button_up(HWND window, FloatingBall& ball) {
    if (ball.pointer_state == PointerState::Idle) return;
    const PointerState previous = ball.pointer_state;
    // Idle first: releasing the capture sends WM_CAPTURECHANGED, which must
    // not take this for a cancelled drag.
    ball.pointer_state = PointerState::Idle;
    if (GetCapture() == window) ReleaseCapture();
    const POINT cursor = message_point();
    if (previous == PointerState::Pressed &&
        within_click(to_ball_point(ball.press_point), to_ball_point(cursor), ball.drag_threshold)) {
        post_to_owner(ball, AppMessage::ShowMainWindow);
        return;
    }
    ball.hover_block = cursor;
    place_ball(window, ball, cursor);
}

void peek_ball(HWND window, FloatingBall& ball, BallSide side) {
    std::optional<RECT> r = window_rect(window);
    if (!r) return;
    const int half = (r->right - r->left) / 2;
    const int centre_y = r->top + (r->bottom - r->top) / 2;
    std::optional<BallRect> work = work_area_near({r->left + half, centre_y});
    if (!work) return;
    if (!track_mouse_leave(window, true)) return;
    const PeekPlacement peek = peek_placement(to_ball_rect(*r), *work, side, ball.sizes);
    show_shape(window, ball, peek.shape, peek.rect);
    // Drawing failed: nothing is open that the mouse could leave.
    if (ball.shape.kind == BallKind::Strip) track_mouse_leave(window, false);
}

void drag_ball(HWND window, FloatingBall& ball, POINT cursor) {
    if (same_point(cursor, ball.last_point)) return;
    if (ball.pointer_state == PointerState::Pressed &&
        within_click(to_ball_point(ball.press_point), to_ball_point(cursor), ball.drag_threshold))
        return;
    if (ball.shape.kind == BallKind::Peek) track_mouse_leave(window, false);
    ball.last_point = cursor;
    ball.pointer_state = PointerState::Dragging;
    show_shape(window, ball, free_ball, dragged_ball_rect(to_ball_point(cursor), ball.sizes));
}

// The menu runs its own message loop, in which the ball window may be
// destroyed (switched off, or the program ended): then nothing is posted.
void show_ball_menu(HWND window, HWND owner, POINT at) {
    HMENU menu = CreatePopupMenu();
    if (!menu) return;
    AppendMenuW(menu, MF_STRING, message_id(AppMessage::ShowMainWindow), to_wide("打开Lumaro").c_str());
    AppendMenuW(menu, MF_STRING, message_id(AppMessage::CloseFloatingBall), to_wide("关闭悬浮球").c_str());
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, message_id(AppMessage::ExitApp), to_wide("退出Lumaro").c_str());
    // The menu closes when it loses the foreground only if its window has it.
    SetForegroundWindow(window);
    const std::optional<UINT> command = run_nested_loop(window, [&] {
        return static_cast<UINT>(
            TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, at.x, at.y, 0, window, nullptr));
    });
    DestroyMenu(menu);
    if (!command) return;
    PostMessageW(window, WM_NULL, 0, 0);
    if (*command != 0) PostMessageW(owner, *command, 0, 0);
}

void hover(HWND window, FloatingBall& ball) {
    if (ball.shape.kind != BallKind::Strip || !ball.docking) return;
    const POINT cursor = message_point();
    if (ball.hover_block && same_point(*ball.hover_block, cursor)) return;
    ball.hover_block.reset();
    peek_ball(window, ball, ball.shape.side);
}

void context_menu(HWND window, const FloatingBall& ball, LPARAM lparam) {
    if (ball.pointer_state != PointerState::Idle) return;
    POINT at{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
    // From the keyboard (the point -1, -1 in the low 32 bits, whatever the
    // upper half holds): below the middle of the window.
    if (at.x == -1 && at.y == -1) {
        std::optional<RECT> r = window_rect(window);
        if (!r) return;
        at = {r->left + (r->right - r->left) / 2, r->bottom};
    }
    show_ball_menu(window, ball.owner, at);
}

std::unique_ptr<FloatingBall> make_floating_ball(HWND owner) {
    auto ball = std::make_unique<FloatingBall>();
    ball->owner = owner;
    ball->sizes = ball_sizes(ui_resources().dpi);
    ball->drag_threshold = scale(4);
    return ball;
}

bool register_floating_ball_class() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = floating_ball_proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_HAND);
    wc.lpszClassName = floating_ball_class;
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

LRESULT CALLBACK floating_ball_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCDESTROY) {
        detach_window_record(hwnd);
        return DefWindowProcW(hwnd, message, wparam, lparam);
    }
    FloatingBall* ball = floating_ball_record(hwnd);
    if (!ball) return DefWindowProcW(hwnd, message, wparam, lparam);

    switch (message) {
    case WM_WININICHANGE:
    case WM_DISPLAYCHANGE:
        // The work area or the screens changed.
        if (ball->pointer_state == PointerState::Idle) place_ball(hwnd, *ball, std::nullopt);
        return 0;
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED:
        pointer_cancelled(hwnd, *ball, message == WM_CANCELMODE);
        return 0;
    case WM_CONTEXTMENU:
        context_menu(hwnd, *ball, lparam);
        return 0;
    case WM_KEYUP:
        if (wparam == VK_RETURN || wparam == VK_SPACE) {
            post_to_owner(*ball, AppMessage::ShowMainWindow);
            return 0;
        }
        break;
    case WM_CLOSE:
        // Closing the stand-in opens what it stands for.
        post_to_owner(*ball, AppMessage::ShowMainWindow);
        return 0;
    case WM_MOUSEMOVE:
        if (ball->pointer_state == PointerState::Idle)
            hover(hwnd, *ball);
        else
            drag_ball(hwnd, *ball, message_point());
        return 0;
    case WM_LBUTTONDOWN:
        SetCapture(hwnd);
        if (GetCapture() == hwnd) {
            ball->press_point = ball->last_point = message_point();
            ball->pointer_state = PointerState::Pressed;
        }
        return 0;
    case WM_LBUTTONUP:
        button_up(hwnd, *ball);
        return 0;
    case WM_MOUSELEAVE:
        if (ball->pointer_state == PointerState::Idle && ball->shape.kind == BallKind::Peek)
            place_ball(hwnd, *ball, std::nullopt);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
}

}  // namespace

FloatingBall* floating_ball_record(HWND window) { return static_cast<FloatingBall*>(window_record(window)); }

std::optional<CreatedBall> create_floating_ball(HWND owner) {
    if (!register_floating_ball_class()) return std::nullopt;
    HMONITOR monitor = MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!monitor || !GetMonitorInfoW(monitor, &info)) return std::nullopt;

    std::unique_ptr<FloatingBall> record = make_floating_ball(owner);
    FloatingBall& ball = *record;
    const BallRect r = initial_strip_rect(to_ball_rect(info.rcWork), ball.sizes, ui_resources().dpi);
    const CreatedBall created{&ball, CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST,
                                                     floating_ball_class, floating_ball_title, WS_POPUP, r.left, r.top,
                                                     r.width(), r.height(), nullptr, nullptr,
                                                     GetModuleHandleW(nullptr), nullptr)};
    if (!created.window) return std::nullopt;
    // Handed over once the window exists: it needs its record for no
    // message of its creation, and frees it when it is destroyed.
    attach_window_record(created.window, std::move(record));
    const BallShape first{BallKind::Strip, BallSide::Right, 0};
    if (!render_ball_window(created.window, ball, first, to_rect(r))) {
        DestroyWindow(created.window);
        return std::nullopt;
    }
    ball.shape = first;
    return created;
}

void reset_ball(HWND window, FloatingBall& ball) {
    ball.hover_block.reset();
    ball.pointer_state = PointerState::Idle;
    track_mouse_leave(window, false);
    if (GetCapture() == window) ReleaseCapture();
}

void place_ball(HWND window, FloatingBall& ball, std::optional<POINT> reference) {
    POINT p;
    if (reference) {
        p = *reference;
    } else {
        std::optional<RECT> r = window_rect(window);
        if (!r) return;
        const BallPoint centre = shape_centre(to_ball_rect(*r), ball.shape, ball.sizes);
        p = {centre.x, centre.y};
    }
    std::optional<BallRect> work = work_area_near(p);
    if (!work) return;
    if (ball.shape.kind == BallKind::Peek) track_mouse_leave(window, false);
    if (ball.docking) {
        const DockedStrip docked = docked_strip(*work, to_ball_point(p), ball.sizes);
        show_shape(window, ball, {BallKind::Strip, docked.side, 0}, docked.rect);
    } else {
        show_shape(window, ball, free_ball, free_ball_rect(*work, to_ball_point(p), ball.sizes));
    }
}

