#pragma once

#include <windows.h>

#include <functional>

// Opens an address in the default browser; false when the browser did not start.
using AddressOpener = std::function<bool(HWND owner, const wchar_t* address)>;

bool open_in_browser(HWND owner, const wchar_t* address);
