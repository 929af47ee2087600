#pragma once

#include <cstdint>

// The proleptic Gregorian calendar over plain day numbers (days since
// 1970-01-01), exact for any year a 64-bit day count can hold.
struct CivilDate {
    std::int64_t year = 1970;
    unsigned month = 1;  // 1..12
    unsigned day = 1;    // 1..31

    friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

bool is_leap_year(std::int64_t year);
unsigned days_in_month(std::int64_t year, unsigned month);
bool is_valid_date(std::int64_t year, unsigned month, unsigned day);

std::int64_t days_from_civil(CivilDate date);
CivilDate civil_from_days(std::int64_t days);

// 0 = Sunday .. 6 = Saturday
unsigned weekday_from_days(std::int64_t days);

// Whole months forward or back; a day past the end of the target month is
// clamped to its last day (2024-02-29 minus 12 months is 2023-02-28).
CivilDate add_months(CivilDate date, std::int64_t months);

// Division rounding toward negative infinity, for splitting instants before
// 1970 into a day and a time of day.
inline std::int64_t floor_div(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}
inline std::int64_t floor_mod(std::int64_t a, std::int64_t b) { return a - floor_div(a, b) * b; }
