#include <gtest/gtest.h>

#include "timestamp/date_time.h"
#include "timestamp/local_zone.h"
#include "timestamp_test_zones.h"

namespace {

std::int64_t at(CivilDate d, unsigned h, unsigned m, unsigned s) {
    return seconds_since_epoch(DateTime{d, h, m, s, 0});
}

TEST(TransitionDates, NthAndLastWeekdayOfTheMonth) {
    struct Case {
        TransitionDate when;
        std::int64_t year;
        CivilDate date;
    };
    const Case cases[] = {
        {{3, 2, 0, 0, 2, 0, 0, 0}, 2026, {2026, 3, 8}},
        {{11, 1, 0, 0, 2, 0, 0, 0}, 2026, {2026, 11, 1}},
        {{10, 5, 0, 0, 2, 0, 0, 0}, 2006, {2006, 10, 29}},
        {{4, 1, 0, 0, 2, 0, 0, 0}, 2006, {2006, 4, 2}},
        {{2, 5, 6, 0, 0, 0, 0, 0}, 2024, {2024, 2, 24}},   // last Saturday
        {{2, 4, 4, 0, 0, 0, 0, 0}, 2024, {2024, 2, 22}},   // fourth Thursday
        {{2, 5, 4, 0, 0, 0, 0, 0}, 2024, {2024, 2, 29}},   // last Thursday of a leap February
        {{2, 0, 0, 30, 0, 0, 0, 0}, 2025, {2025, 2, 28}},  // a fixed day clamped
        {{9, 0, 0, 21, 0, 0, 0, 0}, 1900, {1900, 9, 21}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.year);
        EXPECT_EQ(transition_wall_ms(c.when, c.year), at(c.date, c.when.hour, 0, 0) * 1000);
    }
    TransitionDate late{12, 5, 0, 0, 23, 59, 59, 999};
    EXPECT_EQ(transition_wall_ms(late, 2026), at({2026, 12, 27}, 23, 59, 59) * 1000 + 999);
}

TEST(RuleZone, OffsetsOnBothSidesOfEachTransition) {
    FixedRuleZone eastern(test_zones::us_eastern()), southern(test_zones::southern());
    struct Case {
        const LocalZone* zone;
        std::int64_t utc;  // the first instant of the new offset
        std::int32_t before, after;
    };
    const Case cases[] = {
        {&eastern, at({2026, 3, 8}, 7, 0, 0), -5 * 3600, -4 * 3600},
        {&eastern, at({2026, 11, 1}, 6, 0, 0), -4 * 3600, -5 * 3600},
        {&eastern, at({1800, 3, 9}, 7, 0, 0), -5 * 3600, -4 * 3600},
        {&southern, at({2025, 10, 4}, 16, 0, 0), 10 * 3600, 11 * 3600},
        {&southern, at({2026, 4, 4}, 16, 0, 0), 11 * 3600, 10 * 3600},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utc);
        EXPECT_EQ(c.zone->offset_at(c.utc - 1), c.before);
        EXPECT_EQ(c.zone->offset_at(c.utc), c.after);
    }
    // Around the new year the southern zone stays in daylight time.
    EXPECT_EQ(southern.offset_at(at({2025, 12, 31}, 12, 59, 59)), 11 * 3600);
    EXPECT_EQ(southern.offset_at(at({2025, 12, 31}, 13, 0, 0)), 11 * 3600);
    EXPECT_EQ(eastern.offset_at(at({2026, 1, 1}, 4, 59, 59)), -5 * 3600);
}

TEST(RuleZone, RulesWithAMonthOutsideTheYearGiveTheStandardOffset) {
    for (unsigned month : {13u, 0xFFFFu}) {
        SCOPED_TRACE(month);
        YearRules rules = test_zones::us_eastern();
        rules.standard_start.month = month;
        FixedRuleZone broken_end(rules);
        EXPECT_EQ(broken_end.offset_at(at({2026, 7, 1}, 12, 0, 0)), -5 * 3600);
        rules = test_zones::us_eastern();
        rules.daylight_start.month = month;
        FixedRuleZone broken_start(rules);
        EXPECT_EQ(broken_start.offset_at(at({2026, 7, 1}, 12, 0, 0)), -5 * 3600);
        EXPECT_EQ(broken_start.offsets_of_wall_time(at({2026, 3, 8}, 2, 30, 0)).count, 1);
    }
}

TEST(RuleZone, WallClockTimesSkippedRepeatedAndPlain) {
    FixedRuleZone eastern(test_zones::us_eastern()), southern(test_zones::southern());
    FixedRuleZone shanghai(test_zones::fixed(8 * 3600));
    struct Case {
        const LocalZone* zone;
        std::int64_t wall;
        int count;
        std::int32_t first, second;
    };
    const Case cases[] = {
        {&eastern, at({2026, 3, 8}, 1, 59, 59), 1, -5 * 3600, 0},
        {&eastern, at({2026, 3, 8}, 2, 0, 0), 0, 0, 0},
        {&eastern, at({2026, 3, 8}, 2, 59, 59), 0, 0, 0},
        {&eastern, at({2026, 3, 8}, 3, 0, 0), 1, -4 * 3600, 0},
        {&eastern, at({2026, 11, 1}, 0, 59, 59), 1, -4 * 3600, 0},
        {&eastern, at({2026, 11, 1}, 1, 0, 0), 2, -4 * 3600, -5 * 3600},
        {&eastern, at({2026, 11, 1}, 1, 59, 59), 2, -4 * 3600, -5 * 3600},
        {&eastern, at({2026, 11, 1}, 2, 0, 0), 1, -5 * 3600, 0},
        {&southern, at({2025, 10, 5}, 2, 30, 0), 0, 0, 0},
        {&southern, at({2026, 4, 5}, 2, 30, 0), 2, 11 * 3600, 10 * 3600},
        {&southern, at({2026, 1, 1}, 0, 0, 0), 1, 11 * 3600, 0},
        {&shanghai, at({2026, 1, 1}, 8, 0, 0), 1, 8 * 3600, 0},
        {&shanghai, at({262142, 12, 31}, 23, 59, 59), 1, 8 * 3600, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(format_date_time(date_time_at(c.wall), false));
        LocalOffsets o = c.zone->offsets_of_wall_time(c.wall);
        ASSERT_EQ(o.count, c.count);
        if (c.count >= 1) {
            EXPECT_EQ(o.offsets[0], c.first);
        }
        if (c.count == 2) {
            EXPECT_EQ(o.offsets[1], c.second);
        }
    }
}

// Transitions half an hour from the new year, where the local year depends on
// which offset is in force: the daylight period ends at 23:30 daylight time on
// 31 December (already 00:30 standard time), or at 00:30 daylight time on
// 1 January (still 23:30 standard time).
TEST(RuleZone, TransitionsBesideTheNewYear) {
    YearRules before_midnight = test_zones::fixed(2 * 3600);
    before_midnight.daylight_offset = 1 * 3600;
    before_midnight.daylight_start = {3, 0, 0, 1, 0, 0, 0, 0};
    before_midnight.standard_start = {12, 0, 0, 31, 23, 30, 0, 0};
    YearRules after_midnight = test_zones::fixed(1 * 3600);
    after_midnight.daylight_offset = 2 * 3600;
    after_midnight.daylight_start = {10, 0, 0, 1, 2, 0, 0, 0};
    after_midnight.standard_start = {1, 0, 0, 1, 0, 30, 0, 0};
    FixedRuleZone early(before_midnight), late(after_midnight);
    struct Case {
        const LocalZone* zone;
        std::int64_t utc;
        std::int32_t offset;
    };
    const Case cases[] = {
        {&early, at({2025, 12, 31}, 22, 0, 0), 1 * 3600},
        {&early, at({2025, 12, 31}, 22, 29, 59), 1 * 3600},
        {&early, at({2025, 12, 31}, 22, 30, 0), 2 * 3600},
        {&early, at({2026, 2, 28}, 21, 59, 59), 2 * 3600},
        {&early, at({2026, 2, 28}, 22, 0, 0), 1 * 3600},
        {&late, at({2025, 12, 31}, 21, 59, 59), 2 * 3600},
        {&late, at({2025, 12, 31}, 22, 29, 59), 2 * 3600},
        {&late, at({2025, 12, 31}, 22, 30, 0), 1 * 3600},
        {&late, at({2025, 12, 31}, 23, 30, 0), 1 * 3600},
        {&late, at({2026, 10, 1}, 0, 59, 59), 1 * 3600},
        {&late, at({2026, 10, 1}, 1, 0, 0), 2 * 3600},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(format_date_time(date_time_at(c.utc), false));
        EXPECT_EQ(c.zone->offset_at(c.utc), c.offset);
    }
    // The half hour skipped across midnight, and the half hour repeated.
    EXPECT_EQ(early.offsets_of_wall_time(at({2025, 12, 31}, 23, 45, 0)).count, 0);
    EXPECT_EQ(early.offsets_of_wall_time(at({2026, 1, 1}, 0, 15, 0)).count, 0);
    EXPECT_EQ(early.offsets_of_wall_time(at({2026, 1, 1}, 0, 30, 0)).count, 1);
    LocalOffsets twice = late.offsets_of_wall_time(at({2025, 12, 31}, 23, 45, 0));
    ASSERT_EQ(twice.count, 2);
    EXPECT_EQ(twice.offsets[0], 2 * 3600);
    EXPECT_EQ(twice.offsets[1], 1 * 3600);
}

// A transition written as 23:59:59.999 takes effect at the next whole second.
TEST(RuleZone, MillisecondTransitionsTakeEffectAtTheNextSecond) {
    YearRules r = test_zones::fixed(3 * 3600);
    r.daylight_offset = 4 * 3600;
    r.daylight_start = {3, 5, 6, 0, 23, 59, 59, 999};  // last Saturday of March
    r.standard_start = {10, 5, 6, 0, 23, 59, 59, 999};
    FixedRuleZone zone(r);
    std::int64_t change = at({2026, 3, 29}, 0, 0, 0) - 3 * 3600;  // Sunday 00:00 local standard
    EXPECT_EQ(zone.offset_at(change - 1), 3 * 3600);
    EXPECT_EQ(zone.offset_at(change), 4 * 3600);
}

}  // namespace
