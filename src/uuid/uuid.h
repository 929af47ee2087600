#pragma once

// Random version-4 UUIDs as the UUID page shows them.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "uuid/batch.h"
#include "uuid/system_random.h"

// The separator list: "连字符  -", "下划线  _", "无分隔符".
enum class UuidSeparator { Hyphen, Underscore, None };
// The letter-case list: "小写", "大写".
enum class LetterCase { Lower, Upper };

// A list position as the page reads it (-1 for no selection); anything
// unexpected counts as the first item.
UuidSeparator separator_from_selection(int position);
LetterCase letter_case_from_selection(int position);

using UuidBytes = std::array<std::uint8_t, 16>;

// UUID byte k is random byte 15 - k; then the version nibble (4) and the
// RFC 9562 variant bits (10) are set.
UuidBytes uuid_from_random(const UuidBytes& random);

inline constexpr std::size_t uuid_line_bytes = 37;  // 36 characters and a LF

// Appends the UUID's text: 36 characters with a separator, 32 without.
void append_uuid(std::string& out, const UuidBytes& uuid, UuidSeparator separator, LetterCase letter_case);

// count UUIDs, one call to source per UUID, joined by LF, in one buffer
// reserved up front for 37 bytes each.
std::string generate_uuids(std::uint32_t count, UuidSeparator separator, LetterCase letter_case,
                           RandomSource& source);

// "生成" on the UUID page: the count box's text and the two list positions in,
// the batch or the count message out.
BatchOutcome generate_uuid_batch(std::string_view count_text, int separator_position, int case_position,
                                 RandomSource& source = system_random());
