#include "main/message_loop_win.h"

#include <imm.h>

#include "ui/controls_win.h"

namespace {

bool composition_open(HWND target) {
    HIMC context = ImmGetContext(target);
    if (!context) return false;
    LONG length = ImmGetCompositionStringW(context, GCS_COMPSTR, nullptr, 0);
    ImmReleaseContext(target, context);
    return length > 0;
}

bool escape_wanted(HWND target) {
    if (control_kind(target) == ControlKind::Dropdown && SendMessageW(target, CB_GETDROPPEDSTATE, 0, 0)) return true;
    return composition_open(target);
}

// The dialog handling would turn Enter on these owner-drawn buttons into a
// command the main window ignores.
bool pressed_by_enter(HWND target) {
    switch (control_kind(target)) {
        case ControlKind::Button:
        case ControlKind::PrimaryButton:
        case ControlKind::NavItem: return true;
        default: return false;
    }
}

}  // namespace

KeyRoute route_key(HWND main, const MSG& msg) {
    if (msg.message != WM_KEYDOWN || (msg.wParam != VK_ESCAPE && msg.wParam != VK_RETURN)) return KeyRoute::Dialog;
    if (msg.hwnd != main && !IsChild(main, msg.hwnd)) return KeyRoute::Dialog;
    const bool repeat = (msg.lParam & (1 << 30)) != 0;
    if (msg.wParam == VK_RETURN) {
        if (!pressed_by_enter(msg.hwnd)) return KeyRoute::Dialog;
        if (!repeat) SendMessageW(msg.hwnd, BM_CLICK, 0, 0);
        return KeyRoute::Consumed;
    }
    if (escape_wanted(msg.hwnd)) return KeyRoute::Dispatch;
    if (!repeat) SendMessageW(main, WM_CLOSE, 0, 0);
    return KeyRoute::Consumed;
}

int run_message_loop(HWND main) {
    MSG msg;
    for (;;) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1) return -1;
        if (got == 0) return 0;
        if (IsWindowVisible(main)) {
            const KeyRoute route = route_key(main, msg);
            if (route == KeyRoute::Consumed) continue;
            if (route == KeyRoute::Dialog && IsDialogMessageW(main, &msg)) continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}
