#pragma once

// Where the floating ball goes: the docking rule, the free ball's limits and
// the hover shape's rectangle, in device pixels and screen coordinates. Kept
// free of Win32 so that the rules are tested natively.

#include <cstdint>

#include "floating/ball_pixels.h"

enum class BallKind : std::uint8_t { Strip = 0, Peek = 1, Ball = 2 };

// What is drawn in the window: the tab alone, the tab with the ball slid out
// beside it (the tab peek_offset rows from the top), or the free ball.
struct BallShape {
    BallKind kind = BallKind::Strip;
    BallSide side = BallSide::Right;  // for Strip and Peek
    std::int32_t peek_offset = 0;     // for Peek

    friend constexpr bool operator==(const BallShape&, const BallShape&) = default;
};

struct BallPoint {
    int x = 0;
    int y = 0;
    friend constexpr bool operator==(const BallPoint&, const BallPoint&) = default;
};

// Left, top, right, bottom, as a Windows RECT.
struct BallRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    friend constexpr bool operator==(const BallRect&, const BallRect&) = default;
};

struct BallSizes {
    int strip_width = 10;
    int strip_height = 46;
    int ball_width = 56;
    int ball_height = 56;
};

// The sizes at a DPI: the tab 10 by 46 and the ball 56 by 56 logical pixels.
BallSizes ball_sizes(int dpi);

// v limited to low .. max(low, high): a window larger than the work area
// keeps its top-left corner inside it.
int limit_to(int v, int low, int high);

// The first tab: on the work area's right edge, 142 logical pixels above its
// bottom (rounded as the system rounds each half of that distance).
BallRect initial_strip_rect(const BallRect& work, const BallSizes& sizes, int dpi);

struct DockedStrip {
    BallSide side;
    BallRect rect;
};
// The tab docked to the nearer edge of the work area, centred on p's height;
// the exact middle counts as right.
DockedStrip docked_strip(const BallRect& work, BallPoint p, const BallSizes& sizes);

// The free ball centred on p and pulled inside the work area.
BallRect free_ball_rect(const BallRect& work, BallPoint p, const BallSizes& sizes);

// The ball following the cursor: centred on it, without limits.
BallRect dragged_ball_rect(BallPoint c, const BallSizes& sizes);

// The point a shape stands for: the tab's centre inside a Peek window, the
// window's centre otherwise.
BallPoint shape_centre(const BallRect& window, const BallShape& shape, const BallSizes& sizes);

struct PeekPlacement {
    BallRect rect;
    BallShape shape;
};
// The hover shape opened from the window rectangle of a tab on that side:
// half the tab's width plus the ball, the tab staying where it was.
PeekPlacement peek_placement(const BallRect& window, const BallRect& work, BallSide side, const BallSizes& sizes);

// Whether a press that went down at press and is now at c is still a click.
bool within_click(BallPoint press, BallPoint c, int threshold);
