#include "ui/controls_win.h"
#include "ui/text_convert.h"

// wchar_t is UTF-16 on Windows, so the portable results copy over unit for unit.
static_assert(sizeof(wchar_t) == sizeof(char16_t));

namespace {

std::wstring as_wide(const std::u16string& s) { return std::wstring(s.begin(), s.end()); }

}  // namespace

std::wstring to_wide(std::string_view utf8) { return as_wide(utf8_to_utf16(utf8)); }

std::wstring to_wide_crlf(std::string_view utf8) { return as_wide(utf8_to_utf16_crlf(utf8)); }

std::string from_wide(std::wstring_view utf16) {
    return utf16_to_utf8(std::u16string_view(reinterpret_cast<const char16_t*>(utf16.data()), utf16.size()));
}
