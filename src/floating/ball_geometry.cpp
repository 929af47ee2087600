#include "floating/ball_geometry.h"

#include <algorithm>
#include <cstdlib>

#include "ui/dpi.h"

BallSizes ball_sizes(int dpi) { return {scale(10, dpi), scale(46, dpi), scale(56, dpi), scale(56, dpi)}; }

int limit_to(int v, int low, int high) { return std::min(std::max(v, low), std::max(low, high)); }

BallRect initial_strip_rect(const BallRect& work, const BallSizes& sizes, int dpi) {
    int x = work.right - sizes.strip_width;
    if (x <= work.left) x = work.left;
    int y = work.bottom - (46 * dpi + 48) / 192 - (119 * dpi + 48) / 96;
    y = limit_to(y, work.top, work.bottom - sizes.strip_height);
    return {x, y, x + sizes.strip_width, y + sizes.strip_height};
}

DockedStrip docked_strip(const BallRect& work, BallPoint p, const BallSizes& sizes) {
    const BallSide side = p.x < work.left + (work.right - work.left) / 2 ? BallSide::Left : BallSide::Right;
    int x = work.right - sizes.strip_width;
    if (side == BallSide::Left || x <= work.left) x = work.left;
    const int y = limit_to(p.y - sizes.strip_height / 2, work.top, work.bottom - sizes.strip_height);
    return {side, {x, y, x + sizes.strip_width, y + sizes.strip_height}};
}

BallRect free_ball_rect(const BallRect& work, BallPoint p, const BallSizes& sizes) {
    const int x = limit_to(p.x - sizes.ball_width / 2, work.left, work.right - sizes.ball_width);
    const int y = limit_to(p.y - sizes.ball_height / 2, work.top, work.bottom - sizes.ball_height);
    return {x, y, x + sizes.ball_width, y + sizes.ball_height};
}

BallRect dragged_ball_rect(BallPoint c, const BallSizes& sizes) {
    const int x = c.x - sizes.ball_width / 2;
    const int y = c.y - sizes.ball_height / 2;
    return {x, y, x + sizes.ball_width, y + sizes.ball_height};
}

BallPoint shape_centre(const BallRect& window, const BallShape& shape, const BallSizes& sizes) {
    if (shape.kind == BallKind::Peek) {
        const int tab_left = shape.side == BallSide::Right ? window.right - sizes.strip_width : window.left;
        return {tab_left + sizes.strip_width / 2, window.top + shape.peek_offset + sizes.strip_height / 2};
    }
    return {window.left + window.width() / 2, window.top + window.height() / 2};
}

PeekPlacement peek_placement(const BallRect& window, const BallRect& work, BallSide side, const BallSizes& sizes) {
    const int half = window.width() / 2;
    const int centre_y = window.top + window.height() / 2;
    const int width = half + sizes.ball_width;
    const int x = side == BallSide::Right ? window.right - width : window.left;
    const int y = limit_to(centre_y - sizes.ball_height / 2, work.top, work.bottom - sizes.ball_height);
    return {{x, y, x + width, y + sizes.ball_height}, {BallKind::Peek, side, window.top - y}};
}

bool within_click(BallPoint press, BallPoint c, int threshold) {
    return std::abs(c.x - press.x) < threshold && std::abs(c.y - press.y) < threshold;
}
