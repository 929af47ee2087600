#include "json/json_clipboard_win.h"

#include <string_view>

#include "json/control_text.h"

std::optional<std::u16string> read_clipboard_text(HWND owner) {
    if (!OpenClipboard(owner)) return std::nullopt;
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
