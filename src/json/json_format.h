#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>

#include "json/json_error.h"

enum class JsonMode : int { format = 0, compact = 1, escape = 2, unescape = 3 };

// The pretty form may hold at most this many bytes (24 MiB).
inline constexpr std::size_t json_pretty_limit = 25'165'824;

std::variant<std::string, JsonError> format_json(std::string_view text, JsonMode mode);
