#pragma once

// The yyjson peer (built only when its sources are found, see CMakeLists.txt).
// It reads numbers as raw text, so like our engine it keeps every number as
// written and its output is byte for byte ours.

#include <cstddef>
#include <string>

namespace peer {

// yyjson_read + yyjson_write (2-space pretty, or compact) of a fresh document;
// the written text is handed to `keep` when given, then freed. Returns the
// output size, or 0 on a parse error.
std::size_t yyjson_pretty(const std::string& text, std::string* keep = nullptr);
std::size_t yyjson_compact(const std::string& text, std::string* keep = nullptr);
// yyjson_read of a fresh document, freed before returning. False on an error.
bool yyjson_dom(const std::string& text);

}  // namespace peer
