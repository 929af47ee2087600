#pragma once

#include <windows.h>

#include <memory>

#include "ui/tool_page_win.h"

// Creates the controls and initial content of the page of that index inside
// the page window and returns its variant.
std::unique_ptr<PageVariant> build_page_variant(HWND page, int index);
