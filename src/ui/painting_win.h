#pragma once

#include <windows.h>

#include "ui/palette.h"

// Fills the rectangle with the DC brush in that colour.
void fill_rect(HDC hdc, const RECT& rect, Colorref color);

// WM_DRAWITEM of the main window and of every page (dropdown list items,
// buttons, navigation items); the caller returns TRUE.
void paint_owner_item(const DRAWITEMSTRUCT& item);

// The face of a closed dropdown.
void paint_dropdown(HWND dropdown, HDC hdc);

// Non-client frame: rounded for a TextField, square for multi-line controls
// and the tree view.
void paint_field_frame(HWND control, bool rounded);

// Answer to WM_CTLCOLOREDIT, WM_CTLCOLORBTN and WM_CTLCOLORSTATIC: the DC
// brush, coloured like the background. Null for any other message.
HBRUSH control_colors(UINT message, HDC hdc, HWND control);

// What every window holding controls does with WM_DRAWITEM and the
// WM_CTLCOLOR* messages; false for any other message.
bool handle_control_paint_message(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);
