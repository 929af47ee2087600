#include "floating/ball_render_win.h"

#include <cstdint>
#include <cstring>
#include <span>

#include "floating/ball_pixels.h"
#include "floating/floating_ball_win.h"
#include "ui/ui_resources_win.h"

namespace {

void draw_shape(std::span<std::uint32_t> picture, int width, const BallSizes& sizes, const BallShape& shape,
                int height, Colorref accent) {
    switch (shape.kind) {
    case BallKind::Strip:
        draw_strip(picture, width, 0, 0, width, height, shape.side, accent);
        break;
    case BallKind::Peek: {
        const bool right = shape.side == BallSide::Right;
        const int tab_x = right ? width - sizes.strip_width : 0;
        const int ball_x = right ? 0 : width - sizes.ball_width;
        // The ball goes on top of the tab.
        draw_strip(picture, width, tab_x, shape.peek_offset, sizes.strip_width, sizes.strip_height, shape.side,
                   accent);
        draw_ball(picture, width, ball_x, sizes.ball_width, accent);
        break;
    }
    case BallKind::Ball:
        draw_ball(picture, width, 0, width, accent);
        break;
    }
}

}  // namespace

bool render_ball_window(HWND window, const FloatingBall& ball, const BallShape& shape, const RECT& rect) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return false;

    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    if (screen) ReleaseDC(nullptr, screen);
    if (!dc) return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) {
        if (bitmap) DeleteObject(bitmap);
        DeleteDC(dc);
        return false;
    }
    HGDIOBJ previous = SelectObject(dc, bitmap);
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    std::span<std::uint32_t> picture(static_cast<std::uint32_t*>(bits), count);
    std::memset(bits, 0, count * sizeof(std::uint32_t));

    draw_shape(picture, width, ball.sizes, shape, height, ui_resources().palette.accent);
    GdiFlush();

    POINT position{rect.left, rect.top};
    SIZE size{width, height};
    POINT source{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    const bool updated = UpdateLayeredWindow(window, nullptr, &position, &size, dc, &source, 0, &blend, ULW_ALPHA) != 0;

    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return updated;
}
