#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The JSON tool's one error record. A scanner failure is only a message and a
// byte offset; make_json_error turns that into what the page shows and selects.
struct JsonError {
    bool positioned = false;
    std::uint64_t line = 0;          // 1-based
    std::uint64_t column_utf16 = 0;  // 0-based, UTF-16 units from the line start
    std::uint64_t length_utf16 = 0;  // 0 at end of text, 1 or 2 otherwise
    std::string message;
    std::string context;
};

JsonError make_json_error(std::string_view text, std::size_t offset, std::string_view message);
JsonError plain_json_error(std::string_view message);
