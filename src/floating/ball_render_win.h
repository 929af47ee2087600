#pragma once

#include <windows.h>

#include "floating/ball_geometry.h"

struct FloatingBall;

// Draws the shape into a fresh premultiplied picture of the rectangle's size
// in the accent colour of the thread's palette, and moves, resizes and
// repaints the layered window with it in one step. False when the picture
// could not be made or the window not updated; the window then keeps its
// previous picture.
bool render_ball_window(HWND window, const FloatingBall& ball, const BallShape& shape, const RECT& rect);
