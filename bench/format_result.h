// The text of a format_json result, or null when it is an error.
#pragma once

#include <string>
#include <variant>

#include "json/json_error.h"

namespace bench {

inline const std::string* as_string(const std::variant<std::string, JsonError>& r) { return std::get_if<std::string>(&r); }

}  // namespace bench
