#pragma once

#include <windows.h>

#include <optional>
#include <string>

// The clipboard's Unicode text up to its first NUL unit or the end of its
// memory block, with CR LF line breaks; none when the clipboard is busy, holds
// no Unicode text or holds malformed UTF-16.
std::optional<std::u16string> read_clipboard_text(HWND owner);
