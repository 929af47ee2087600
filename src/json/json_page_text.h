#pragma once

// The JSON page's text handling that needs no window: what the result box
// shows, the drop-down header, the tree status, and the clipboard and
// capacity checks of a paste.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// An edit control cannot hold NUL, so each NUL byte is shown as U+2400.
std::string displayable_result(std::string_view text);

// Empty or only Unicode white space.
bool is_blank_input(std::string_view text);

std::string history_header(std::size_t entries);
std::string tree_status(std::size_t nodes);

// Clipboard text up to its first NUL unit; none when it is not well-formed
// UTF-16 (an unpaired surrogate).
std::optional<std::string> clipboard_text_to_utf8(std::u16string_view units);

// The length the input box gives this text once its line breaks are CR LF:
// UTF-16 units, a line break counting 2 in a plain edit control and 1 in a
// rich-edit control.
std::uint64_t input_box_length(std::string_view utf8, bool rich_edit);
