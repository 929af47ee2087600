#include "timestamp/local_zone_win.h"

#include <windows.h>

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

}  // namespace

struct WindowsLocalZone::Dynamic {
    DYNAMIC_TIME_ZONE_INFORMATION info{};
};

WindowsLocalZone::WindowsLocalZone() {
    auto dynamic = std::make_shared<Dynamic>();
    if (GetDynamicTimeZoneInformation(&dynamic->info) != TIME_ZONE_ID_INVALID) dynamic_ = std::move(dynamic);
}

std::optional<YearRules> WindowsLocalZone::rules_for_year(std::int64_t year) const {
    if (!dynamic_) return std::nullopt;
    year = std::clamp(year, first_api_year, last_api_year);
    auto found = cache_.find(year);
    if (found != cache_.end()) return found->second;

    std::optional<YearRules> rules;
    TIME_ZONE_INFORMATION tzi{};
    DYNAMIC_TIME_ZONE_INFORMATION dynamic = dynamic_->info;
    if (GetTimeZoneInformationForYear(static_cast<USHORT>(year), &dynamic, &tzi)) {
        YearRules r;
        r.standard_offset = offset_of(tzi.Bias + tzi.StandardBias);
        r.daylight_offset = offset_of(tzi.Bias + tzi.DaylightBias);
        if (!dynamic_->info.DynamicDaylightTimeDisabled && tzi.StandardDate.wMonth != 0 &&
            tzi.DaylightDate.wMonth != 0 && r.daylight_offset != r.standard_offset) {
            r.daylight_start = transition_from(tzi.DaylightDate);
            r.standard_start = transition_from(tzi.StandardDate);
        }
        rules = r;
    }
    cache_.emplace(year, rules);
    return rules;
}
