#include "timestamp/calendar.h"

// Day numbers use 400-year eras of 146,097 days starting on 0000-03-01, so that
// the leap day falls at the end of each shifted year.

bool is_leap_year(std::int64_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

unsigned days_in_month(std::int64_t year, unsigned month) {
    static constexpr unsigned lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && is_leap_year(year) ? 29 : lengths[month - 1];
}

bool is_valid_date(std::int64_t year, unsigned month, unsigned day) {
    return month >= 1 && month <= 12 && day >= 1 && day <= days_in_month(year, month);
}

std::int64_t days_from_civil(CivilDate date) {
    std::int64_t y = date.year - (date.month <= 2 ? 1 : 0);
    std::int64_t era = floor_div(y, 400);
    std::int64_t yoe = y - era * 400;                                         // 0..399
    std::int64_t mp = (static_cast<std::int64_t>(date.month) + 9) % 12;       // March = 0
    std::int64_t doy = (153 * mp + 2) / 5 + static_cast<std::int64_t>(date.day) - 1;
    std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;                 // 0..146096
    return era * 146097 + doe - 719468;
}

CivilDate civil_from_days(std::int64_t days) {
    std::int64_t z = days + 719468;
    std::int64_t era = floor_div(z, 146097);
    std::int64_t doe = z - era * 146097;
    std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    std::int64_t mp = (5 * doy + 2) / 153;
    auto day = static_cast<unsigned>(doy - (153 * mp + 2) / 5 + 1);
    auto month = static_cast<unsigned>(mp < 10 ? mp + 3 : mp - 9);
    std::int64_t year = yoe + era * 400 + (month <= 2 ? 1 : 0);
    return {year, month, day};
}

unsigned weekday_from_days(std::int64_t days) { return static_cast<unsigned>(floor_mod(days + 4, 7)); }

CivilDate add_months(CivilDate date, std::int64_t months) {
    std::int64_t index = date.year * 12 + static_cast<std::int64_t>(date.month) - 1 + months;
    CivilDate out;
    out.year = floor_div(index, 12);
    out.month = static_cast<unsigned>(floor_mod(index, 12)) + 1;
    unsigned last = days_in_month(out.year, out.month);
    out.day = date.day > last ? last : date.day;
    return out;
}
