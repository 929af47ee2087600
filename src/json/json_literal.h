#pragma once

#include <string>
#include <string_view>
#include <variant>

#include "json/json_error.h"

// The whole text, byte for byte, as one JSON string literal. Cannot fail.
std::string escape_json_text(std::string_view text);

// The decoded text of the one JSON string literal that the input must hold
// (after any leading U+FEFF marks, within JSON white space).
std::variant<std::string, JsonError> unescape_json_literal(std::string_view text);
