#pragma once

#include <windows.h>

#include <memory>

#include "ui/tool_page_win.h"

// Control ids of the JSON page (WM_COMMAND); the tree view is 109.
namespace json_page_ids {
inline constexpr int format = 100;
inline constexpr int compact = 101;
inline constexpr int escape = 102;
inline constexpr int unescape = 103;
inline constexpr int paste = 104;
inline constexpr int clear = 105;
inline constexpr int view = 106;
inline constexpr int copy = 107;
inline constexpr int input = 108;
inline constexpr int history = 110;
}  // namespace json_page_ids

// The automatic format waits this long after the last edit (timer id 1).
inline constexpr UINT json_idle_timer_id = 1;
inline constexpr UINT json_idle_delay_ms = 400;

// Builds the controls and initial content of the JSON formatter page inside the page
// window and returns its variant.
std::unique_ptr<PageVariant> build_json_page(HWND page);
