#pragma once

#include <windows.h>

#include <memory>

#include "ui/tool_page_win.h"

// Builds the controls and initial content of the ID number generator page inside the page
// window and returns its variant.
std::unique_ptr<PageVariant> build_id_number_page(HWND page);
