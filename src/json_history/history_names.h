#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

__extension__ typedef unsigned __int128 Uint128;

// What a record file's name says: "<created>-<hash>.json".
struct RecordName {
    Uint128 created;
    std::uint64_t content_hash;
};

// Lenient reading: an optional "+" on each number, leading zeros, upper-case
// hex digits; anything else (or an overflow) is not a record name.
std::optional<RecordName> parse_record_name(std::string_view file_name);

// As written: no sign, no leading zeros, 16 lower-case hex digits.
std::string record_file_name(Uint128 created, std::uint64_t content_hash);

std::string to_decimal(Uint128 v);

// The preview of a record from its first bytes: white space collapsed, at most
// 32 characters, "JSON 文本" when nothing is left.
inline constexpr std::size_t preview_read_bytes = 256;
std::string make_preview(std::string_view first_bytes);
