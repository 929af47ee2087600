#include "settings/web_page_win.h"

#include <shellapi.h>

#include <cstdint>

bool open_in_browser(HWND owner, const wchar_t* address) {
    HINSTANCE result = ShellExecuteW(owner, L"open", address, nullptr, nullptr, SW_SHOWNORMAL);
    // Not a real handle: a number above 32 means the browser was started.
    return reinterpret_cast<std::intptr_t>(result) > 32;
}
