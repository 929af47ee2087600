#pragma once

#include <windows.h>

#include <optional>
#include <string>

// The clipboard's Unicode text up to its first NUL unit or the end of its
// memory block, with CR LF line breaks; none when the clipboard is busy, holds
// no Unicode text or holds malformed UTF-16.
std::optional<std::u16string> read_clipboard_text(HWND owner);

// Makes a plain edit control paste (Ctrl+V, its menu) the clipboard text with
// CR LF line breaks: on its own it would show a lone CR or LF as a character
// while the page counts it as a line break.
void paste_with_crlf_line_breaks(HWND plain_edit);
