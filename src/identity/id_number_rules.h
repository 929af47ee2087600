#pragma once

// The rules of one ID-number batch, each on its own so that it can be tested:
// ages, the birth-date range, the candidate areas, the sequence numbers by
// sex, decoding a drawn index into a number and its check character.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "identity/region_table.h"
#include "timestamp/calendar.h"

inline constexpr std::string_view age_message = "请输入 0 到 120 之间的整数年龄。";
inline constexpr std::string_view province_message = "请选择有效的省级地区。";
inline constexpr std::string_view county_message = "请选择有效的区县。";
inline constexpr std::string_view age_range_message =
    "年龄范围应在 0–120 周岁之间，最小年龄不能大于最大年龄。";
inline constexpr std::string_view date_too_early_message = "系统日期过早，请检查 Windows 日期设置。";
inline constexpr std::string_view date_too_late_message = "系统日期超出可用范围，请检查 Windows 日期设置。";
// "当前条件下最多可生成 {total} 条不重复的号码。"
std::string max_count_message(std::uint64_t total);

inline constexpr std::uint32_t max_age = 120;

// An age box: trimmed, an optional "+", ASCII digits, at most 2^32 - 1.
std::optional<std::uint32_t> parse_age(std::string_view text);

// The sex list: 0 "随机" (and anything unexpected), 1 "男", 2 "女".
struct SequenceRange {
    std::uint32_t first;
    std::uint32_t step;
    std::uint32_t count;
};
SequenceRange sequence_range(int sex_position);

// The areas for the two list positions (negative: no selection, taken as 0), or
// province_message / county_message.
std::variant<std::span<const AreaEntry>, std::string> candidate_areas(int province_position,
                                                                      int county_position);

// Birth dates, as day numbers, of everyone whose age in completed years on
// today lies in min_age..max_age (inclusive at both ends). Or
// age_range_message, date_too_early_message, date_too_late_message.
struct BirthRange {
    std::int64_t earliest;
    std::int64_t latest;
    std::uint64_t days() const { return static_cast<std::uint64_t>(latest - earliest + 1); }
};
std::variant<BirthRange, std::string> birth_date_range(CivilDate today, std::uint32_t min_age,
                                                       std::uint32_t max_age);

// Every number the conditions allow, numbered 0..total()-1 as area-major,
// then day, then sequence.
struct IdNumberSpace {
    std::span<const AreaEntry> areas;
    BirthRange birth;
    SequenceRange sequence;
    std::uint64_t total() const { return areas.size() * birth.days() * sequence.count; }
};

struct IdNumberParts {
    std::uint32_t area_code;
    CivilDate birth_date;
    std::uint32_t sequence;
};
IdNumberParts decode_index(const IdNumberSpace& space, std::uint64_t index);

// ISO 7064 MOD 11-2 over 17 ASCII digits: one of "10X98765432".
char check_character(std::string_view digits17);

inline constexpr std::size_t id_number_line_bytes = 19;  // 18 characters and a LF

// Appends the 18 characters: area, YYYYMMDD, sequence, check character.
void append_id_number(std::string& out, const IdNumberParts& parts);
