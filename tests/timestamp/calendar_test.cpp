#include <gtest/gtest.h>

#include <random>

#include "timestamp/calendar.h"

namespace {

TEST(Calendar, KnownDays) {
    struct Case {
        CivilDate date;
        std::int64_t days;
        unsigned weekday;
    };
    const Case cases[] = {
        {{1970, 1, 1}, 0, 4},
        {{1969, 12, 31}, -1, 3},
        {{2000, 2, 29}, 11016, 2},
        {{2026, 1, 1}, 20454, 4},
        {{1600, 3, 1}, -135080, 3},
        {{0, 3, 1}, -719468, 3},
        {{-1, 12, 31}, -719529, 5},
        {{-262143, 1, 1}, -96465292, 4},
        {{262142, 12, 31}, 95026236, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.days);
        EXPECT_EQ(days_from_civil(c.date), c.days);
        EXPECT_EQ(civil_from_days(c.days), c.date);
        EXPECT_EQ(weekday_from_days(c.days), c.weekday);
    }
}

// Counting days one by one across several centuries, including the
// exceptional years 1700, 1800, 1900 (not leap) and 2000 (leap).
TEST(Calendar, DayByDayAgreesWithTheMonthLengths) {
    CivilDate d{1599, 1, 1};
    std::int64_t n = days_from_civil(d);
    for (int i = 0; i < 600 * 366; ++i) {
        ASSERT_EQ(civil_from_days(n), d);
        ASSERT_EQ(days_from_civil(d), n);
        ++n;
        if (++d.day > days_in_month(d.year, d.month)) {
            d.day = 1;
            if (++d.month > 12) {
                d.month = 1;
                ++d.year;
            }
        }
    }
    EXPECT_FALSE(is_leap_year(1900));
    EXPECT_TRUE(is_leap_year(2000));
    EXPECT_TRUE(is_leap_year(-4));
    EXPECT_FALSE(is_leap_year(-100));
}

TEST(Calendar, RoundTripsOverTheWholeRange) {
    std::mt19937_64 rng(42);
    const std::int64_t lo = days_from_civil({-262143, 1, 1}), hi = days_from_civil({262142, 12, 31});
    std::uniform_int_distribution<std::int64_t> pick(lo, hi);
    for (int i = 0; i < 100000; ++i) {
        std::int64_t n = pick(rng);
        CivilDate d = civil_from_days(n);
        ASSERT_TRUE(is_valid_date(d.year, d.month, d.day));
        ASSERT_EQ(days_from_civil(d), n);
    }
}

TEST(Calendar, MonthArithmeticClampsTheDay) {
    struct Case {
        CivilDate from;
        std::int64_t months;
        CivilDate to;
    };
    const Case cases[] = {
        {{2024, 2, 29}, -12, {2023, 2, 28}},
        {{2024, 2, 29}, -60 * 12, {1964, 2, 29}},
        {{2024, 1, 31}, 1, {2024, 2, 29}},
        {{2023, 1, 31}, 1, {2023, 2, 28}},
        {{2026, 1, 1}, -18 * 12, {2008, 1, 1}},
        {{2026, 3, 31}, -1, {2026, 2, 28}},
        {{1, 1, 15}, -1, {0, 12, 15}},
        {{2026, 12, 31}, 0, {2026, 12, 31}},
    };
    for (const Case& c : cases) EXPECT_EQ(add_months(c.from, c.months), c.to);
}

TEST(Calendar, FloorDivision) {
    EXPECT_EQ(floor_div(-1, 1000), -1);
    EXPECT_EQ(floor_mod(-1, 1000), 999);
    EXPECT_EQ(floor_div(-1000, 1000), -1);
    EXPECT_EQ(floor_mod(-1000, 1000), 0);
    EXPECT_EQ(floor_div(1999, 1000), 1);
}

}  // namespace
