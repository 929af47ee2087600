#include "timestamp/local_zone.h"

#include <algorithm>

#include "timestamp/date_time.h"

namespace {

// Instants are looked up within about ±285,000 years, where milliseconds
// still fit comfortably in 64 bits.
constexpr std::int64_t lookup_limit = 9'000'000'000'000;

std::int64_t year_of(std::int64_t seconds) { return civil_from_days(floor_div(seconds, seconds_per_day)).year; }

bool in_daylight(const YearRules& rules, std::int64_t year, std::int64_t unix_ms) {
    std::int64_t start = transition_wall_ms(rules.daylight_start, year) - std::int64_t{rules.standard_offset} * 1000;
    std::int64_t end = transition_wall_ms(rules.standard_start, year) - std::int64_t{rules.daylight_offset} * 1000;
    if (start < end) return unix_ms >= start && unix_ms < end;
    return unix_ms < end || unix_ms >= start;  // the daylight period spans the new year
}

}  // namespace

std::int64_t transition_wall_ms(const TransitionDate& when, std::int64_t year) {
    unsigned last = days_in_month(year, when.month);
    unsigned day = 0;
    if (when.day != 0) {
        day = std::min(when.day, last);
    } else {
        unsigned first_weekday = weekday_from_days(days_from_civil({year, when.month, 1}));
        day = 1 + (when.weekday + 7 - first_weekday) % 7 + 7 * (std::clamp(when.week, 1u, 5u) - 1);
        while (day > last) day -= 7;
    }
    std::int64_t seconds = days_from_civil({year, when.month, day}) * seconds_per_day +
                           std::int64_t{when.hour} * 3600 + std::int64_t{when.minute} * 60 + when.second;
    return seconds * 1000 + when.millisecond;
}

std::optional<std::int32_t> RuleZone::offset_at(std::int64_t unix_seconds) const {
    std::int64_t u = std::clamp(unix_seconds, -lookup_limit, lookup_limit);
    // Each year's rules hold while the local clock they set still shows that
    // year. Near 1 January the local year may differ from the UTC year, and
    // which one it is depends on the offset those rules give: a daylight
    // period that ends just before the new year in daylight time may already
    // be past midnight in standard time. So the years are tried in order from
    // the earliest local year possible, an offset being under a day.
    std::int64_t year = year_of(u - seconds_per_day);
    const std::int64_t last = year_of(u + seconds_per_day);
    for (;; ++year) {
        auto rules = rules_for_year(year);
        if (!rules) return std::nullopt;
        std::int32_t offset = rules->standard_offset;
        if (rules->has_daylight() && in_daylight(*rules, year, u * 1000)) offset = rules->daylight_offset;
        if (year == last || year_of(u + offset) <= year) return offset;
    }
}

LocalOffsets RuleZone::offsets_of_wall_time(std::int64_t wall_seconds) const {
    std::int64_t w = std::clamp(wall_seconds, -lookup_limit, lookup_limit);
    std::int64_t year = year_of(w);
    // The offsets of the years around it, kept distinct and in descending
    // order: the largest offset gives the earliest instant.
    std::int32_t candidates[6];
    int n = 0;
    auto add = [&](std::int32_t offset) {
        int at = 0;
        while (at < n && candidates[at] > offset) ++at;
        if (at < n && candidates[at] == offset) return;
        for (int i = n; i > at; --i) candidates[i] = candidates[i - 1];
        candidates[at] = offset;
        ++n;
    };
    for (std::int64_t y = year - 1; y <= year + 1; ++y) {
        auto rules = rules_for_year(y);
        if (!rules) continue;
        add(rules->standard_offset);
        if (rules->has_daylight()) add(rules->daylight_offset);
    }
    LocalOffsets out;
    for (int i = 0; i < n && out.count < 2; ++i) {
        auto actual = offset_at(w - candidates[i]);
        if (actual && *actual == candidates[i]) out.offsets[out.count++] = candidates[i];
    }
    return out;
}
