#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "json_history/history_names.h"
#include "json_history/history_path.h"

// The JSON tool's recent inputs: one file per text under
// %LOCALAPPDATA%\Lumaro\json-history, newest first, at most ten.
struct JsonHistoryEntry {
    HistoryPath path;
    Uint128 created = 0;  // nanoseconds since 1970, strictly increasing per directory
    std::uint64_t content_hash = 0;
    std::string preview;  // filled for the ten newest entries of a listing
};

using JsonHistoryListing = std::vector<JsonHistoryEntry>;

enum class HistoryErrorKind { os, no_directory, invalid_data };

struct HistoryError {
    HistoryErrorKind kind = HistoryErrorKind::os;
    std::uint32_t os_code = 0;  // for os errors
    std::string message;
};

inline constexpr std::size_t history_keep = 10;
inline constexpr std::size_t history_record_limit = 67'108'864;  // 64 MiB

std::optional<HistoryPath> history_directory();
std::variant<JsonHistoryListing, HistoryError> list_history(const HistoryPath& directory);
std::variant<JsonHistoryListing, HistoryError> save_history(std::string_view text);
std::variant<std::string, HistoryError> load_history_record(const HistoryPath& path);
