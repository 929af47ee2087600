#include "ui/system_error_win.h"

#include <string_view>

#include "ui/controls_win.h"

namespace {

bool is_http_service_code(DWORD code) { return code >= 12000 && code < 13000; }

}  // namespace

std::string system_error_text(DWORD code) {
    wchar_t buffer[2048];
    DWORD flags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    HMODULE module = nullptr;
    if (is_http_service_code(code)) {
        module = GetModuleHandleW(L"winhttp.dll");
        if (module) flags |= FORMAT_MESSAGE_FROM_HMODULE;
    }
    DWORD length = FormatMessageW(flags, module, code, 0, buffer, static_cast<DWORD>(std::size(buffer)), nullptr);
    if (length == 0) {
        DWORD lookup_error = GetLastError();
        return "OS Error " + std::to_string(code) + " (FormatMessageW() returned error " +
               std::to_string(lookup_error) + ")";
    }
    // The system's texts end in a line break, which has no place in a status line.
    std::wstring_view text(buffer, length);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) text.remove_suffix(1);
    return from_wide(text) + " (os error " + std::to_string(code) + ")";
}
