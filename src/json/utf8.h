#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Length of the well-formed UTF-8 character at the start of bytes, or 0 when
// it does not start with one.
std::size_t utf8_char_length(std::string_view bytes);

bool is_valid_utf8(std::string_view bytes);

// Appends bytes, replacing each maximal ill-formed subpart by one U+FFFD (so a
// character cut short at the end becomes a single U+FFFD).
void append_utf8_lossy(std::string& out, std::string_view bytes);
