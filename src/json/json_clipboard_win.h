#pragma once

#include <windows.h>

#include <optional>
#include <string>

// The clipboard's Unicode text as UTF-8, up to its first NUL unit or the end
// of its memory block; none when the clipboard is busy, holds no Unicode text
// or holds malformed UTF-16.
std::optional<std::string> read_clipboard_text(HWND owner);
