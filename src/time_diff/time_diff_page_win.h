#pragma once

#include <windows.h>

#include <memory>

#include "ui/tool_page_win.h"

// Builds the controls and initial content of the time-difference calculator page inside the page
// window and returns its variant.
std::unique_ptr<PageVariant> build_time_diff_page(HWND page);
