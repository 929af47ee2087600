#include "timestamp/local_zone_win.h"

#include <algorithm>

namespace {

constexpr std::int64_t first_api_year = 1601;
constexpr std::int64_t last_api_year = 30827;

// A SYSTEMTIME of TIME_ZONE_INFORMATION: with wYear 0 it names the wDay-th
// (5 = last) wDayOfWeek of the month, otherwise a fixed day of the month.
TransitionDate transition_from(const SYSTEMTIME& t) {
    TransitionDate out;
    out.month = t.wMonth;
    if (t.wYear == 0) {
        out.week = t.wDay;
        out.weekday = t.wDayOfWeek;
    } else {
        out.day = t.wDay;
    }
    out.hour = t.wHour;
    out.minute = t.wMinute;
    out.second = t.wSecond;
    out.millisecond = t.wMilliseconds;
    return out;
}

std::int32_t offset_of(LONG bias_minutes) { return static_cast<std::int32_t>(-bias_minutes * 60); }

YearRules rules_from(LONG bias, LONG standard_bias, const SYSTEMTIME& standard_date, LONG daylight_bias,
                     const SYSTEMTIME& daylight_date, bool daylight_disabled) {
    YearRules r;
    r.standard_offset = offset_of(bias + standard_bias);
    r.daylight_offset = offset_of(bias + daylight_bias);
    if (!daylight_disabled && standard_date.wMonth != 0 && daylight_date.wMonth != 0 &&
        r.daylight_offset != r.standard_offset) {
        r.daylight_start = transition_from(daylight_date);
        r.standard_start = transition_from(standard_date);
    }
    return r;
}

}  // namespace

WindowsLocalZone::WindowsLocalZone() {
    DYNAMIC_TIME_ZONE_INFORMATION info{};
    if (GetDynamicTimeZoneInformation(&info) != TIME_ZONE_ID_INVALID) dynamic_ = info;
}

std::optional<YearRules> WindowsLocalZone::rules_for_year(std::int64_t year) const {
    if (!dynamic_) return std::nullopt;
    year = std::clamp(year, first_api_year, last_api_year);
    auto found = cache_.find(year);
    if (found != cache_.end()) return found->second;

    const DYNAMIC_TIME_ZONE_INFORMATION& d = *dynamic_;
    bool disabled = d.DynamicDaylightTimeDisabled != 0;
    TIME_ZONE_INFORMATION tzi{};
    DYNAMIC_TIME_ZONE_INFORMATION query = d;
    // Without per-year rules (a zone unknown to the registry), the current
    // rules serve for every year.
    YearRules rules = GetTimeZoneInformationForYear(static_cast<USHORT>(year), &query, &tzi)
                          ? rules_from(tzi.Bias, tzi.StandardBias, tzi.StandardDate, tzi.DaylightBias,
                                       tzi.DaylightDate, disabled)
                          : rules_from(d.Bias, d.StandardBias, d.StandardDate, d.DaylightBias, d.DaylightDate,
                                       disabled);
    cache_.emplace(year, rules);
    return rules;
}
