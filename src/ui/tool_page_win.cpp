#include "ui/tool_page_win.h"

#include <optional>

#include "ui/app_message.h"
#include "ui/painting_win.h"
#include "ui/ui_resources_win.h"

LRESULT PageVariant::notify(HWND page, WPARAM wparam, LPARAM lparam) {
    return DefWindowProcW(page, WM_NOTIFY, wparam, lparam);
}

bool PageVariant::handle(HWND, UINT, WPARAM, LPARAM) { return false; }

void PageVariant::floating_state_changed(bool, bool) {}

namespace {

void fill_background(HWND page, HDC hdc) {
    RECT client;
    GetClientRect(page, &client);
    fill_rect(hdc, client, ui_resources().palette.window_bg);
}

// Run with the record borrowed; nothing when the message goes to default
// processing, which runs after the record is free again.
std::optional<LRESULT> route(PageVariant& variant, HWND page, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_SIZE:
            variant.layout(unscale(LOWORD(lparam)), unscale(HIWORD(lparam)));
            return 0;
        case WM_NOTIFY:
            return variant.notify(page, wparam, lparam);
        case WM_COMMAND:
            variant.command(wparam);
            return 0;
        default:
            break;
    }
    if (message == message_id(AppMessage::FloatingStateChanged)) {
        variant.floating_state_changed((wparam & 1) != 0, (wparam & 2) != 0);
        return 0;
    }
    if (variant.handle(page, message, wparam, lparam)) return 0;
    return std::nullopt;
}

}  // namespace

ToolPage* tool_page_of(HWND page) { return static_cast<ToolPage*>(window_record(page)); }

void attach_tool_page(HWND page, std::unique_ptr<ToolPage> record) { attach_window_record(page, std::move(record)); }

LRESULT CALLBACK page_procedure(HWND page, UINT message, WPARAM wparam, LPARAM lparam) {
    if (LRESULT painted; handle_control_paint_message(message, wparam, lparam, painted)) return painted;
    switch (message) {
        case WM_ERASEBKGND:
            fill_background(page, reinterpret_cast<HDC>(wparam));
            return 1;
        case WM_NCDESTROY:
            detach_window_record(page);
            return DefWindowProcW(page, message, wparam, lparam);
        case WM_CLOSE:
            // A multi-line edit that has been through the dialog keyboard
            // handling posts this to its parent on Esc; a page lives as long
            // as the main window.
            return 0;
        default:
            break;
    }
    std::optional<LRESULT> result;
    {
        RecordBorrow use(tool_page_of(page));
        const ToolPage* record = static_cast<const ToolPage*>(use.get());
        if (!use.held() || !record->variant) return DefWindowProcW(page, message, wparam, lparam);
        result = route(*record->variant, page, message, wparam, lparam);
    }
    return result ? *result : DefWindowProcW(page, message, wparam, lparam);
}

bool register_page_class(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = page_procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = page_class_name;
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND create_page_window(HWND main_window) {
    return CreateWindowExW(WS_EX_CONTROLPARENT, page_class_name, L"", WS_CHILD | WS_CLIPCHILDREN, 0, 0, 0, 0,
                           main_window, nullptr, GetModuleHandleW(nullptr), nullptr);
}
