#include "json/json_clipboard_win.h"

#include <string_view>

#include "json/json_page_text.h"

std::optional<std::string> read_clipboard_text(HWND owner) {
    if (!OpenClipboard(owner)) return std::nullopt;
    std::optional<std::string> text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        // The block may lack its terminating NUL: never read past its size.
        const SIZE_T units = GlobalSize(data) / sizeof(char16_t);
        if (const auto* locked = static_cast<const char16_t*>(GlobalLock(data))) {
            text = clipboard_text_to_utf8(std::u16string_view(locked, units));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}
