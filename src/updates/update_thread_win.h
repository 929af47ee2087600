#pragma once

#include <windows.h>

#include <functional>
#include <optional>

inline constexpr wchar_t update_thread_name[] = L"lumaro-updates";

// Runs body on a new thread named "lumaro-updates", never joined. Nothing on
// success, else the system's error code.
std::optional<DWORD> start_update_thread(std::function<void()> body);
