#pragma once

#include <cstddef>
#include <string>
#include <variant>

#include "json/json_error.h"

enum class JsonMode : int { format = 0, compact = 1, escape = 2, unescape = 3 };

// The pretty form may hold at most this many bytes (24 MiB).
inline constexpr std::size_t json_pretty_limit = 25'165'824;

// The text is a std::string so that the byte after it is always a readable
// NUL, which the scanner stops on instead of checking for the end.
std::variant<std::string, JsonError> format_json(const std::string& text, JsonMode mode);
