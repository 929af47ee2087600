#pragma once

#include <windows.h>

#include <functional>
#include <optional>

// Runs body on a new thread named "lumaro-updates", never joined. Nothing on
// success, else the system's error code.
std::optional<DWORD> start_update_thread(std::function<void()> body);
