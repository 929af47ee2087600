#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "ui/control_kind.h"

inline constexpr wchar_t kind_property[] = L"Brivane.Kind";
inline constexpr wchar_t selected_property[] = L"Brivane.Selected";
inline constexpr wchar_t hot_property[] = L"Brivane.Hot";

// The id of the main window's status line.
inline constexpr int status_label_id = 9;

// ControlKind::None for windows the factory did not make.
ControlKind control_kind(HWND control);
bool has_property(HWND control, const wchar_t* name);

// Made at 0, 0 with size 0, 0; the page places it. A null handle on failure,
// which every later call on it tolerates.
HWND create_control(HWND parent, ControlKind kind, std::string_view text, int id);

// Logical position and size; a width or height below 1 becomes 0.
void place_control(HWND control, int x, int y, int w, int h);

void set_status(HWND from, std::string_view text, bool is_error);
void copy_result(HWND owner, std::string_view text);
// length counts UTF-16 units including the terminating NUL.
bool copy_text_to_clipboard(HWND owner, const wchar_t* text, std::size_t length);
// OpenClipboard, tried again for a few milliseconds: clipboard viewers and
// managers open it for a moment after every change.
bool open_clipboard(HWND owner);
void fill_dropdown(HWND dropdown, const char* const* items, int count, int selected);
// The picked position of a drop-down list; -1 when nothing is picked.
int dropdown_selection(HWND dropdown);
// "Brivane.Selected" set or removed, and the control repainted.
void mark_selected(HWND control, bool selected);
void set_toggle(HWND button, bool on);
std::string read_text(HWND control);
void set_text(HWND control, std::string_view utf8);
void clear_text(HWND control);

std::wstring to_wide(std::string_view utf8);
std::wstring to_wide_crlf(std::string_view utf8);
std::string from_wide(std::wstring_view utf16);
