#pragma once

// Texts of the tree view's items, cut straight from a JsonTree's text by the
// offsets of its node table (nothing is parsed again).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "json/json_tree.h"

// Characters (Unicode scalar values, not bytes) kept of a key or a value.
inline constexpr std::size_t json_label_part_limit = 88;

// The item that stands for the siblings not inserted yet.
inline constexpr std::string_view json_load_more_label = "加载更多条目…";

// A text of at most 88 characters stays whole; a longer one keeps its first
// 88 characters followed by "…". A byte that does not start a well-formed
// UTF-8 character counts as one character, so a character is never split.
std::string shorten(std::string_view text);

// Prefix (key as written and ": ", "[index]: ", or nothing at the top level)
// and value (the token as written, or "{…} N 项", "{}", "[…] N 项", "[]").
// Offsets beyond the text are clamped, and an index outside the table gives
// an empty label.
std::string json_node_label(const JsonTree& tree, std::uint32_t index);
