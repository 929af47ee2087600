#include "json/json_clipboard_win.h"

#include <commctrl.h>

#include <string_view>

#include "json/control_text.h"
#include "ui/controls_win.h"

std::optional<std::u16string> read_clipboard_text(HWND owner) {
    if (!open_clipboard(owner)) return std::nullopt;
    std::optional<std::u16string> text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        // The block may lack its terminating NUL: never read past its size.
        const SIZE_T units = GlobalSize(data) / sizeof(char16_t);
        if (const auto* locked = static_cast<const char16_t*>(GlobalLock(data))) {
            text = clipboard_to_control_text(std::u16string_view(locked, units));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

namespace {

LRESULT CALLBACK crlf_paste_subclass(HWND edit, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                                     DWORD_PTR) {
    if (message == WM_PASTE) {
        if (std::optional<std::u16string> text = read_clipboard_text(edit)) {
            SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text->c_str()));
            return 0;
        }
    } else if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(edit, crlf_paste_subclass, id);
    }
    return DefSubclassProc(edit, message, wparam, lparam);
}

}  // namespace

void paste_with_crlf_line_breaks(HWND plain_edit) { SetWindowSubclass(plain_edit, crlf_paste_subclass, 1, 0); }
