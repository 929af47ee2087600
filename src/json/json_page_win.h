#pragma once

#include <windows.h>

#include <memory>

#include "ui/tool_page_win.h"

// Builds the controls and initial content of the JSON formatter page inside the page
// window and returns its variant.
std::unique_ptr<PageVariant> build_json_page(HWND page);
