#include <gtest/gtest.h>

#include <random>
#include <string>

#include "timestamp/date_time.h"

namespace {

TEST(DateTime, TheBoundsAreTheFirstAndLastSecondOfTheSupportedYears) {
    EXPECT_EQ(days_from_civil({-262143, 1, 1}) * 86400 - 86400, min_unix_seconds);
    EXPECT_EQ(days_from_civil({262142, 12, 31}) * 86400 + 86399, max_unix_seconds);
    EXPECT_EQ(format_date_time(date_time_at(min_unix_seconds), false), "-262144-12-31 00:00:00");
    EXPECT_EQ(format_date_time(date_time_at(max_unix_seconds), false), "+262142-12-31 23:59:59");
    EXPECT_TRUE(is_supported_unix_seconds(min_unix_seconds));
    EXPECT_TRUE(is_supported_unix_seconds(max_unix_seconds));
    EXPECT_FALSE(is_supported_unix_seconds(min_unix_seconds - 1));
    EXPECT_FALSE(is_supported_unix_seconds(max_unix_seconds + 1));
    EXPECT_TRUE(is_supported_date({-262144, 12, 31}));
    EXPECT_FALSE(is_supported_date({-262144, 12, 30}));
    EXPECT_TRUE(is_supported_date({262142, 12, 31}));
    EXPECT_FALSE(is_supported_date({262143, 1, 1}));
    EXPECT_FALSE(is_supported_date({-9'000'000'000'000'000, 1, 1}));
    EXPECT_FALSE(is_supported_date({9'000'000'000'000'000, 1, 1}));
}

TEST(DateTime, YearsOutsideFourDigitsCarryASign) {
    struct Case {
        std::int64_t year;
        const char* text;
    };
    const Case cases[] = {
        {0, "0000"},        {1, "0001"},     {999, "0999"},       {2026, "2026"},        {9999, "9999"},
        {10000, "+10000"},  {-1, "-0001"},   {-10, "-0010"},      {-9999, "-9999"},      {-10000, "-10000"},
        {262142, "+262142"}, {-262143, "-262143"},
    };
    for (const Case& c : cases) EXPECT_EQ(format_year(c.year), c.text) << c.year;
}

TEST(DateTime, OffsetsAsSignHoursColonMinutes) {
    struct Case {
        std::int32_t offset;
        const char* text;
    };
    const Case cases[] = {
        {0, "+00:00"},      {28800, "+08:00"},  {-18000, "-05:00"}, {19800, "+05:30"},
        {-12600, "-03:30"}, {50400, "+14:00"},  {-43200, "-12:00"}, {86340, "+23:59"},
        {-60, "-00:01"},
    };
    for (const Case& c : cases) EXPECT_EQ(format_offset(c.offset), c.text) << c.offset;
}

TEST(DateTime, SplittingFloorsBeforeTheEpoch) {
    struct Case {
        std::int64_t seconds;
        std::uint32_t nanos;
        const char* text;
    };
    const Case cases[] = {
        {0, 0, "1970-01-01 00:00:00.000"},
        {-1, 999'000'000, "1969-12-31 23:59:59.999"},
        {-86400, 0, "1969-12-31 00:00:00.000"},
        {-86401, 500'000'000, "1969-12-30 23:59:59.500"},
        {1767225600, 123'999'999, "2026-01-01 00:00:00.123"},
        {951782400, 0, "2000-02-29 00:00:00.000"},
        {-62167219200, 0, "0000-01-01 00:00:00.000"},
        {-62167219201, 1'000'000, "-0001-12-31 23:59:59.001"},
        {253402300800, 0, "+10000-01-01 00:00:00.000"},
    };
    for (const Case& c : cases) {
        DateTime t = date_time_at(c.seconds, c.nanos);
        EXPECT_EQ(format_date_time(t, true), c.text) << c.seconds;
        EXPECT_EQ(seconds_since_epoch(t), c.seconds);
    }
}

// Civil date-time of an instant by plain counting: whole 400-year cycles
// from 2000-01-01, then year by year and month by month.
std::string reference_text(std::int64_t s) {
    std::int64_t days = s / 86400, rest = s % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    days -= 10957;  // 1970-01-01 .. 2000-01-01
    std::int64_t cycles = days / 146097;
    days %= 146097;
    if (days < 0) {
        days += 146097;
        --cycles;
    }
    std::int64_t year = 2000 + 400 * cycles;
    auto leap = [](std::int64_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; };
    while (days >= (leap(year) ? 366 : 365)) days -= leap(year) ? 366 : 365, ++year;
    const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int month = 0;
    while (days >= lengths[month] + (month == 1 && leap(year))) days -= lengths[month] + (month == 1 && leap(year)), ++month;
    char buf[64];
    std::int64_t abs_year = year < 0 ? -year : year;
    const char* sign = year < 0 ? "-" : year > 9999 ? "+" : "";
    std::snprintf(buf, sizeof buf, "%s%04lld-%02d-%02lld %02lld:%02lld:%02lld", sign, static_cast<long long>(abs_year),
                  month + 1, static_cast<long long>(days + 1), static_cast<long long>(rest / 3600),
                  static_cast<long long>(rest / 60 % 60), static_cast<long long>(rest % 60));
    return buf;
}

TEST(DateTime, RandomInstantsAgreeWithPlainCounting) {
    std::mt19937_64 rng(7);
    std::uniform_int_distribution<std::int64_t> pick(min_unix_seconds, max_unix_seconds);
    for (int i = 0; i < 20000; ++i) {
        std::int64_t s = i < 2 ? (i == 0 ? min_unix_seconds : max_unix_seconds) : pick(rng);
        DateTime t = date_time_at(s);
        ASSERT_EQ(format_date_time(t, false), reference_text(s)) << s;
        ASSERT_EQ(seconds_since_epoch(t), s);
    }
}

}  // namespace
