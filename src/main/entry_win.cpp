// The program's entry: one copy per logon, the main window, the message loop.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <vector>

#include "ui/app_message.h"
#include "main/main_window_win.h"
#include "main/message_loop_win.h"
#include "main/startup_args.h"
#include "ui/tool_page_win.h"
#include "preferences/preferences_win.h"
#include "ui/system_dpi_win.h"
#include "ui/ui_resources_win.h"

namespace {

constexpr wchar_t instance_mutex[] = L"Local\\Brivane.Instance." LUMARO_VERSION;

void failure_box() { MessageBoxW(nullptr, L"初始化窗口失败。", L"Lumaro", MB_ICONERROR); }

bool startup_requested() {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv) return false;
    std::vector<std::wstring_view> args(argv, argv + argc);
    bool flag = has_startup_flag(args);
    LocalFree(argv);
    return flag;
}

// Hands over to a running copy; true when this process should end.
bool another_copy_runs(HANDLE mutex, DWORD mutex_error, bool startup) {
    HWND running = FindWindowW(main_window_class, nullptr);
    if (!running && !(mutex && mutex_error == ERROR_ALREADY_EXISTS)) return false;
    if (!startup && running) {
        DWORD pid = 0;
        GetWindowThreadProcessId(running, &pid);
        if (pid != 0) AllowSetForegroundWindow(pid);
        PostMessageW(running, message_id(AppMessage::ShowMainWindow), 0, 0);
    }
    return true;
}

struct Placement {
    int x, y, width, height;
};

// The full window for the logical client size, centred in the work area and
// clipped to it.
Placement initial_placement() {
    RECT r{0, 0, scale(main_client_width), scale(main_client_height)};
    AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, FALSE, 0);
    int width = r.right - r.left, height = r.bottom - r.top;
    RECT work;
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) return {CW_USEDEFAULT, CW_USEDEFAULT, width, height};
    width = std::min<int>(width, work.right - work.left);
    height = std::min<int>(height, work.bottom - work.top);
    return {work.left + (work.right - work.left - width) / 2, work.top + (work.bottom - work.top - height) / 2, width,
            height};
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    bool startup = startup_requested();
    HANDLE mutex = CreateMutexW(nullptr, FALSE, instance_mutex);
    DWORD mutex_error = GetLastError();
    auto close_mutex = [&] {
        if (mutex) CloseHandle(mutex);
        mutex = nullptr;
    };
    if (another_copy_runs(mutex, mutex_error, startup)) {
        close_mutex();
        return 0;
    }

    declare_system_dpi_awareness();
    ColorSchemeSetting scheme = Preferences().load_color_scheme();
    ui_resources().palette = derive_palette(scheme.scheme, scheme.color);

    INITCOMMONCONTROLSEX icc{8, ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    if (!register_main_window_class(instance) || !register_page_class(instance)) {
        close_mutex();
        failure_box();
        return 0;
    }

    Placement at = initial_placement();
    HWND main = CreateWindowExW(0, main_window_class, main_window_caption, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                at.x, at.y, at.width, at.height, nullptr, nullptr, instance, nullptr);
    if (!main) {
        close_mutex();
        failure_box();
        return 0;
    }
    if (!startup || SendMessageW(main, message_id(AppMessage::CollapseToBall), 0, 0) == 0)
        SendMessageW(main, message_id(AppMessage::ShowMainWindow), 0, 0);

    int result = run_message_loop(main);
    close_mutex();
    if (result != 0) failure_box();
    return 0;
}
