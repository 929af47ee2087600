#pragma once

#include <string_view>
#include <vector>

// Whether any argument after the program path is exactly "--startup".
bool has_startup_flag(const std::vector<std::wstring_view>& args);
