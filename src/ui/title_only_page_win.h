#pragma once

#include <windows.h>

#include <memory>

#include "ui/tool_page_win.h"

// A page whose tool has not been built yet: only its title, no commands.
std::unique_ptr<PageVariant> make_title_only_page(HWND page, int index);
