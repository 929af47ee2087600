#pragma once

#include <cstdint>
#include <optional>

// The local time zone as the timestamp tool needs it. Offsets are seconds
// east of UTC (+08:00 is 28800); wall-clock times are seconds since
// 1970-01-01 00:00:00 of the local calendar.
struct LocalOffsets {
    int count = 0;  // 0: the time is skipped, 1: unique, 2: it occurs twice
    std::int32_t offsets[2] = {0, 0};  // with two, the earlier instant's first
};

class LocalZone {
public:
    virtual ~LocalZone() = default;
    // The offset in effect at a UTC instant, or nothing when the system
    // cannot tell.
    virtual std::optional<std::int32_t> offset_at(std::int64_t unix_seconds) const = 0;
    // The offsets under which the wall-clock time exists.
    virtual LocalOffsets offsets_of_wall_time(std::int64_t wall_seconds) const = 0;
};

// One year's rules in the shape Windows gives them: a standard offset and,
// optionally, a daylight period between two yearly transitions. Each
// transition is written in the local time in force just before it.
struct TransitionDate {
    unsigned month = 0;      // 1..12; 0 means no daylight period
    unsigned week = 0;       // 1..5, 5 = the last such weekday of the month
    unsigned weekday = 0;    // 0 = Sunday .. 6 = Saturday
    unsigned day = 0;        // day of month when nonzero, instead of week/weekday
    unsigned hour = 0;
    unsigned minute = 0;
    unsigned second = 0;
    unsigned millisecond = 0;
};

struct YearRules {
    std::int32_t standard_offset = 0;
    std::int32_t daylight_offset = 0;
    TransitionDate daylight_start;  // written in standard time
    TransitionDate standard_start;  // written in daylight time

    // A month outside 1..12 (a damaged zone record) counts as no daylight
    // period: the transition arithmetic assumes a real month.
    bool has_daylight() const {
        return daylight_start.month - 1 < 12 && standard_start.month - 1 < 12;
    }
};

// Milliseconds since 1970-01-01 00:00 local of the transition in that year.
std::int64_t transition_wall_ms(const TransitionDate& when, std::int64_t year);

// A zone driven by per-year rules; subclasses say where the rules come from.
class RuleZone : public LocalZone {
public:
    std::optional<std::int32_t> offset_at(std::int64_t unix_seconds) const override;
    LocalOffsets offsets_of_wall_time(std::int64_t wall_seconds) const override;

protected:
    virtual std::optional<YearRules> rules_for_year(std::int64_t year) const = 0;
};

// The same rules every year: for tests, and for a fixed-offset zone.
class FixedRuleZone final : public RuleZone {
public:
    explicit FixedRuleZone(const YearRules& rules) : rules_(rules) {}

protected:
    std::optional<YearRules> rules_for_year(std::int64_t) const override { return rules_; }

private:
    YearRules rules_;
};
