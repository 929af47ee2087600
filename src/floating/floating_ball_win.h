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
#include "ui/window_record_win.h"

inline constexpr wchar_t floating_ball_class[] = L"Brivane.FloatingBall";
inline constexpr wchar_t floating_ball_title[] = L"Lumaro悬浮条";

enum class PointerState : std::uint8_t { Pressed = 0, Dragging = 1, Idle = 2 };

// The ball window's record. The main window decides its lifetime: it
// destroys the ball window, which frees the record.
struct FloatingBall : WindowRecord {
    HWND owner = nullptr;
    BallSizes sizes;  // at the thread's DPI when the record was made
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

struct CreatedBall {
    FloatingBall* record = nullptr;  // the window's own
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

// The record of a ball window, or null.
FloatingBall* floating_ball_record(HWND window);
