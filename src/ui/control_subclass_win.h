#pragma once

#include <windows.h>
#include <commctrl.h>

// Subclass id of both procedures below (SetWindowSubclass).
inline constexpr UINT_PTR control_subclass_id = 1;

// GetWindowSubclass: comctl32 exports it by ordinal (411) only, and MinGW's
// import library does not list it.
bool find_window_subclass(HWND hwnd, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR* reference);

// Frames, insets and repaint triggers of text fields, text areas, dropdowns
// (reference = their ControlKind) and the JSON tree view (reference 0).
LRESULT CALLBACK control_subclass(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                                  DWORD_PTR reference);

// Hover tracking of side-bar entries ("Brivane.Hot").
LRESULT CALLBACK nav_item_subclass(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                                   DWORD_PTR reference);

// EnumChildWindows callback after a palette change: hands the new colours to
// the controls that keep their own copy. Always continues.
BOOL CALLBACK refresh_control_colors(HWND child, LPARAM unused);
