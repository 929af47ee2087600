#pragma once

#include "timestamp/local_zone.h"

// Fixed-rule zones shared by the portable tests.
namespace test_zones {

// UTC-5, UTC-4 from the second Sunday of March 02:00 to the first Sunday of
// November 02:00.
inline YearRules us_eastern() {
    YearRules r;
    r.standard_offset = -5 * 3600;
    r.daylight_offset = -4 * 3600;
    r.daylight_start = {3, 2, 0, 0, 2, 0, 0, 0};
    r.standard_start = {11, 1, 0, 0, 2, 0, 0, 0};
    return r;
}

// UTC+10, UTC+11 from the first Sunday of October 02:00 to the first Sunday
// of April 03:00: the daylight period spans the new year.
inline YearRules southern() {
    YearRules r;
    r.standard_offset = 10 * 3600;
    r.daylight_offset = 11 * 3600;
    r.daylight_start = {10, 1, 0, 0, 2, 0, 0, 0};
    r.standard_start = {4, 1, 0, 0, 3, 0, 0, 0};
    return r;
}

inline YearRules fixed(std::int32_t offset) {
    YearRules r;
    r.standard_offset = offset;
    r.daylight_offset = offset;
    return r;
}

}  // namespace test_zones
