#pragma once

// The JSON page's text handling that needs no window: the blank test, the
// drop-down header and the tree status.

#include <cstddef>
#include <string>
#include <string_view>

// A control's units are empty or only Unicode white space, judged without
// making UTF-8 of them first.
bool is_blank_input(std::u16string_view units);

std::string history_header(std::size_t entries);
std::string tree_status(std::size_t nodes);

