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

}  // namespace

bool consume_escape(HWND main, const MSG& msg) {
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_ESCAPE) return false;
    if (msg.hwnd != main && !IsChild(main, msg.hwnd)) return false;
    if (control_kind(msg.hwnd) == ControlKind::Dropdown && SendMessageW(msg.hwnd, CB_GETDROPPEDSTATE, 0, 0))
        return false;
    if (composition_open(msg.hwnd)) return false;
    if (!(msg.lParam & (1 << 30))) SendMessageW(main, WM_CLOSE, 0, 0);
    return true;
}

int run_message_loop(HWND main) {
    MSG msg;
    for (;;) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1) return -1;
        if (got == 0) return 0;
        if (IsWindowVisible(main)) {
            if (consume_escape(main, msg)) continue;
            if (IsDialogMessageW(main, &msg)) continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

