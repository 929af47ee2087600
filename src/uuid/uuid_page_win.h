#pragma once

#include <windows.h>

#include <memory>

#include "ui/tool_page_win.h"

inline constexpr int uuid_generate_id = 301;
inline constexpr int uuid_copy_id = 302;

// Builds the controls and initial content of the UUID generator page inside the page
// window and returns its variant.
std::unique_ptr<PageVariant> build_uuid_page(HWND page);
