#pragma once

// The floating ball: a small always-on-top layered window that stands in for
// the main window while that is hidden. Docked, it is a narrow tab on the
// left or right edge of the work area that slides a ball out while the mouse
// is over it; free, it is the ball alone. A click opens the main window, a
// drag moves it, its menu opens the program, switches the ball off or exits.
// All requests go to the owner (the main window) as posted messages.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>

#include "floating/ball_geometry.h"

inline constexpr wchar_t floating_ball_class[] = L"Brivane.FloatingBall";
inline constexpr wchar_t floating_ball_title[] = L"Lumaro悬浮条";

enum class PointerState : std::uint8_t { Pressed = 0, Dragging = 1, Idle = 2 };

// Owned by the main window; the ball window reaches it through its user data.
struct FloatingBall {
    HWND owner = nullptr;
    std::int32_t strip_width = 0;
    std::int32_t strip_height = 0;
    std::int32_t ball_width = 0;
    std::int32_t ball_height = 0;
    BallShape shape{BallKind::Strip, BallSide::Right, 0};  // the last one drawn successfully
    std::int32_t drag_threshold = 0;  // a press that moves less in both axes is a click
    POINT press_point{};
    POINT last_point{};
    PointerState pointer_state = PointerState::Idle;
    // While set, the tab under a cursor that has not moved since a drop or a
    // cancelled press does not open again.
    std::optional<POINT> hover_block;
    bool docking = true;
};

// A fresh record for the owner, sized at the thread's DPI.
std::unique_ptr<FloatingBall> make_floating_ball(HWND owner);
BallSizes ball_sizes_of(const FloatingBall& ball);

// Registers the class on first use; true when it is (or already was) there.
bool register_floating_ball_class();

struct CreatedBall {
    std::unique_ptr<FloatingBall> record;
    HWND window = nullptr;
};
// The ball window, hidden, with the tab drawn on the right edge of the work
// area of the monitor nearest to the owner; nothing when any step failed
// (nothing is left behind then).
std::optional<CreatedBall> create_floating_ball(HWND owner);

// Back to rest: no hover block, Idle, no mouse-leave tracking, no capture.
void reset_ball(HWND window, FloatingBall& ball);

// Where the docking rule puts the window, with the right shape; without a
// reference point the current shape's centre is used.
void place_ball(HWND window, FloatingBall& ball, std::optional<POINT> reference);
// Opens the hover shape from the tab on that side.
void peek_ball(HWND window, FloatingBall& ball, BallSide side);
// Follows the cursor while the button is held, once it left the click range.
void drag_ball(HWND window, FloatingBall& ball, POINT cursor);
// The context menu; the chosen command is posted to owner.
void show_ball_menu(HWND window, HWND owner, POINT at);

LRESULT CALLBACK floating_ball_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

// The record of a ball window, or null.
FloatingBall* floating_ball_record(HWND window);
