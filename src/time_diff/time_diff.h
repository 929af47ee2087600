#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The time-difference calculator without Win32: reading the two typed
// date-times, the difference in a chosen unit and its breakdown. Both times
// are read in the same unnamed zone, so no offset or daylight rule applies.

// A date-time as typed: the date "YYYY-M-D" (each separator "-" or "/"),
// then optionally "T" or a space and the time "H:MM", "H:MM:SS" or
// "H:MM:SS.f" with one to three digits of fraction; surrounding Unicode white
// space is ignored. The date must exist; hours run to 23, minutes and seconds
// to 59. Gives milliseconds since 1970-01-01 00:00:00 of the same calendar.
std::optional<std::int64_t> read_moment(std::string_view text);

struct TimeDiffUnit {
    const char* name;
    std::int64_t milliseconds;
};

// The units in the order of the page's list; a year is 365 days, a month 30.
inline constexpr int time_diff_unit_count = 6;
inline constexpr TimeDiffUnit time_diff_units[time_diff_unit_count] = {
    {"年", 31'536'000'000}, {"月", 2'592'000'000}, {"日", 86'400'000},
    {"小时", 3'600'000},    {"分钟", 60'000},      {"秒", 1'000},
};
// The unit at a list position; any position outside the list (no selection)
// is the first.
const TimeDiffUnit& time_diff_unit_at(int position);

// The difference in the unit (one of time_diff_units), rounded half up to
// millionths, for any 64-bit difference; without trailing zeros ("1.5", "2",
// "-0.25", "0.000347") and without a minus sign when it rounds to 0.
std::string format_unit_value(std::int64_t difference_ms, std::int64_t unit_ms);

// "1 天 2 小时 3 分 4.5 秒", with "负 " in front of a negative difference.
std::string format_breakdown(std::int64_t difference_ms);

struct TimeDiffResult {
    bool ok = false;
    std::string value;      // the bare number, for copying; empty without a result
    std::string result;     // "1.5 小时", or "—" without a result
    std::string breakdown;  // the breakdown, or why there is no result
};

// end − start, as the page shows it.
TimeDiffResult compute_time_diff(std::string_view start, std::string_view end, int unit_position);
