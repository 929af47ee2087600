#pragma once

// What the UUID and ID-number pages share around one press of "生成": reading
// the count box, the result of a batch, and the texts shown after it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

inline constexpr std::uint32_t max_batch_count = 10000;
inline constexpr std::string_view count_message = "数量必须是 1 到 10000 之间的整数。";

// An optional "+" and one or more ASCII digits, leading zeros allowed, as an
// unsigned 64-bit value without overflow; nothing for anything else. The
// text is taken as it is (callers trim it first).
std::optional<std::uint64_t> parse_unsigned(std::string_view text);

// The count box's text, trimmed, as 1..10000; or count_message.
std::variant<std::uint32_t, std::string> validate_count(std::string_view count_text);

// A finished batch: the lines joined by single LF characters (no trailing LF)
// and how many there are. A failed batch is its message instead.
struct Batch {
    std::string text;
    std::uint32_t count = 0;
};
using BatchOutcome = std::variant<Batch, std::string>;

// "生成结果（N 条）" over the results and "已生成 N 条。" on the status line.
std::string results_heading(std::uint32_t count);
std::string generated_status(std::uint32_t count);
