#pragma once

#include <cstddef>
#include <string_view>

// Code points with the Unicode White_Space property: what the tools trim from
// typed input and what history previews collapse.
bool is_unicode_white_space(char32_t c);

// Byte length of the white-space character that text starts with, or 0.
std::size_t white_space_length(std::string_view text);

std::string_view trim_unicode_white_space(std::string_view text);
