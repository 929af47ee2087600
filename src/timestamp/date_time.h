#pragma once

#include <cstdint>
#include <string>

#include "timestamp/calendar.h"

// Date-times of the timestamp tool: a calendar date and a time of day, read
// either as UTC or as a wall-clock time. Instants are Unix seconds.

// The supported range of date-times, as seconds since 1970-01-01 00:00:00:
// the years -262143 to 262142, whose bounds are set at these two exact
// values. The last is 262142-12-31 23:59:59; the first falls one day before
// -262143-01-01, on -262144-12-31 00:00:00, and that day is supported too so
// that every accepted timestamp has a date that reads back.
inline constexpr std::int64_t min_unix_seconds = -8334601315200;
inline constexpr std::int64_t max_unix_seconds = 8210266876799;
inline constexpr std::int64_t seconds_per_day = 86400;

struct DateTime {
    CivilDate date;
    unsigned hour = 0;    // 0..23
    unsigned minute = 0;  // 0..59
    unsigned second = 0;  // 0..59
    // 0..999'999'999; a leap second (":60") is second 59 with 1'000'000'000
    // added here, so that it counts as the end of that second.
    std::uint32_t nanosecond = 0;

    friend bool operator==(const DateTime&, const DateTime&) = default;
};

inline bool is_supported_unix_seconds(std::int64_t s) { return s >= min_unix_seconds && s <= max_unix_seconds; }
// Whether the whole day lies in the supported range (both bounds are day
// boundaries, so a date is either wholly in or wholly out).
bool is_supported_date(CivilDate date);

// Seconds since 1970-01-01 00:00:00 of the same calendar (the fraction dropped).
std::int64_t seconds_since_epoch(const DateTime& t);
// The date-time that many seconds after 1970-01-01 00:00:00 (any value whose
// day number fits), with the given fraction.
DateTime date_time_at(std::int64_t seconds, std::uint32_t nanosecond = 0);

// The value in decimal, with leading zeros up to width digits.
void append_padded(std::string& out, std::uint64_t value, int width);
// "%Y": four digits for years 0..9999, else an explicit sign and at least
// four digits (+10000, -0001).
std::string format_year(std::int64_t year);
// "%:z": +08:00, -05:00, +00:00 (seconds of the offset are not shown).
std::string format_offset(std::int32_t offset_seconds);
// "%Y-%m-%d %H:%M:%S", then "%.3f" (milliseconds, truncated) when asked.
std::string format_date_time(const DateTime& t, bool with_milliseconds);
