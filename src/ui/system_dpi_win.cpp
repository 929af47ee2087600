#include "ui/system_dpi_win.h"

#include <windows.h>

namespace {

template <class Function>
Function user32_function(const char* name) {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    FARPROC proc = user32 ? GetProcAddress(user32, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(proc));
}

}  // namespace

void declare_system_dpi_awareness() {
    using SetContext = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
    if (auto set_context = user32_function<SetContext>("SetProcessDpiAwarenessContext"))
        set_context(DPI_AWARENESS_CONTEXT_SYSTEM_AWARE);
    else
        SetProcessDPIAware();
}

unsigned system_dpi() {
    using GetDpi = UINT(WINAPI*)();
    if (auto get_dpi = user32_function<GetDpi>("GetDpiForSystem")) return get_dpi();
    HDC screen = GetDC(nullptr);
    if (!screen) return 0;
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<unsigned>(dpi) : 0;
}
