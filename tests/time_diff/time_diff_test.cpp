#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <limits>
#include <optional>
#include <random>
#include <string>

#include "time_diff/time_diff.h"
#include "time_diff/time_diff_messages.h"
#include "timestamp/local_zone.h"
#include "timestamp/timestamp_convert.h"

namespace {

namespace msg = time_diff_messages;

constexpr std::int64_t jan_5_2026 = 1'767'571'200'000;  // 2026-01-05 00:00:00, in ms
constexpr std::int64_t hour = 3'600'000;
constexpr std::int64_t day = 86'400'000;

TEST(ReadMoment, AcceptedForms) {
    struct Case {
        const char* text;
        std::int64_t ms;
    };
    const Case cases[] = {
        {"2026-01-05", jan_5_2026},
        {"2026-1-5", jan_5_2026},
        {"2026/01/05", jan_5_2026},
        {"2026/1-5", jan_5_2026},
        {"2026-01/05", jan_5_2026},
        {"2026-01-05T00:00", jan_5_2026},
        {"2026-01-05 00:00:00", jan_5_2026},
        {"2026-01-05 00:00:00.000", jan_5_2026},
        {" \t2026-01-05\u3000\r\n", jan_5_2026},
        {"2026-01-05 8:30", jan_5_2026 + 8 * hour + 30 * 60'000},
        {"2026-01-05T08:30", jan_5_2026 + 8 * hour + 30 * 60'000},
        {"2026-01-05 08:30:05", jan_5_2026 + 8 * hour + 30 * 60'000 + 5'000},
        {"2026-01-05 08:30:05.1", jan_5_2026 + 8 * hour + 30 * 60'000 + 5'100},
        {"2026-01-05 08:30:05.05", jan_5_2026 + 8 * hour + 30 * 60'000 + 5'050},
        {"2026-01-05 08:30:05.005", jan_5_2026 + 8 * hour + 30 * 60'000 + 5'005},
        {"2026-01-05 08:30:05.5", jan_5_2026 + 8 * hour + 30 * 60'000 + 5'500},
        {"2026-01-05 23:59:59.999", jan_5_2026 + day - 1},
        {"2026-01-05 0:00", jan_5_2026},
        {"2024-02-29", 1'709'164'800'000},
        {"2000-02-29", 951'782'400'000},
        {"1970-01-01", 0},
        {"1969-12-31 23:59:59.999", -1},
        {"0000-01-01", -62'167'219'200'000},
        {"9999-12-31 23:59:59.999", 253'402'300'799'999},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(read_moment(c.text), std::optional<std::int64_t>(c.ms));
    }
}

TEST(ReadMoment, RefusedForms) {
    const char* const refused[] = {
        "",
        "   ",
        "2026-02-29",               // not a leap year
        "1900-02-29",               // nor is a century not divisible by 400
        "2026-04-31",
        "2026-13-01",
        "2026-00-10",
        "2026-01-00",
        "2026-01-32",
        "26-01-05",                 // the year needs four digits
        "026-01-05",
        "20261-01-05",
        "+2026-01-05",
        "-2026-01-05",
        "2026-001-05",
        "2026-01-005",
        "2026.01.05",
        "2026-01",
        "2026-01-05-01",
        "2026-01-05Z",
        "2026-01-05t08:30",         // only "T" or a space starts the time
        "2026-01-05T",
        "2026-01-05  08:30",        // one separator only
        "2026-01-05 08:30 +08:00",
        "2026-01-05T08:30:00Z",
        "2026-01-05 24:00",
        "2026-01-05 23:60",
        "2026-01-05 23:59:60",
        "2026-01-05 08",
        "2026-01-05 08:3",          // minutes need two digits
        "2026-01-05 08:300",
        "2026-01-05 123:00",
        "2026-01-05 :30",
        "2026-01-05 08:30:5",       // seconds need two digits
        "2026-01-05 08:30:05.",
        "2026-01-05 08:30:05.1234", // at most three digits of fraction
        "2026-01-05 08:30:05,1",
        "2026-01-05 08:30:05:00",   // a fourth field
        "2026-01-05 08:30:",
        "2026-01-05 -8:30",
        "２０２６-01-05",           // full-width digits
        "2026-01-05 08:30x",
    };
    for (const char* text : refused) EXPECT_EQ(read_moment(text), std::nullopt) << text;
}

// The canonical form, read also by the timestamp tool's own parser: the two
// readers must agree on every date-time they both take.
TEST(ReadMoment, AgreesWithTheTimestampParser) {
    const FixedRuleZone unused_zone(YearRules{});
    std::mt19937_64 rng(17);
    std::uniform_int_distribution<std::int64_t> pick(-62'167'219'200'000, 253'402'300'799'999);
    for (int i = 0; i < 3000; ++i) {
        const std::int64_t ms = pick(rng);
        const Conversion date = timestamp_to_date(std::to_string(ms), InputUnit::Milliseconds, ZoneChoice::Utc,
                                                  unused_zone);
        ASSERT_TRUE(date.ok) << ms;
        const std::string text = date.text.substr(0, date.text.size() - 7);  // without " +00:00"
        ASSERT_EQ(read_moment(text), std::optional<std::int64_t>(ms)) << text;
    }
}

TEST(FormatUnitValue, RoundsHalfUpToMillionths) {
    struct Case {
        std::int64_t ms;
        int unit;
        const char* text;
    };
    const Case cases[] = {
        {5'400'000, 3, "1.5"},
        {-5'400'000, 3, "-1.5"},
        {2 * hour, 3, "2"},
        {-900'000, 3, "-0.25"},
        {30'000, 2, "0.000347"},                // 0.00034722…
        {91'800'500, 3, "25.500139"},           // 25.50013888…
        {-91'800'500, 3, "-25.500139"},
        {9, 3, "0.000003"},                     // 0.0000025: the half goes up
        {-9, 3, "-0.000003"},
        {8, 3, "0.000002"},                     // 0.00000222…
        {1, 3, "0"},                            // 0.00000027…: no minus sign for a zero
        {-1, 3, "0"},
        {1, 0, "0"},
        {-1, 0, "0"},
        {0, 5, "0"},
        {1, 5, "0.001"},
        {3'599'999, 3, "1"},                    // 0.99999972…: the carry reaches the whole units
        {-3'599'999, 3, "-1"},
        {day, 0, "0.00274"},                    // 1 / 365
        {day, 1, "0.033333"},
        {day, 2, "1"},
        {day, 3, "24"},
        {day, 4, "1440"},
        {day, 5, "86400"},
        {10 * day, 5, "864000"},
        {315'360'000'000, 0, "10"},
        {std::numeric_limits<std::int64_t>::max(), 5, "9223372036854775.807"},
        {std::numeric_limits<std::int64_t>::min(), 5, "-9223372036854775.808"},
        {std::numeric_limits<std::int64_t>::min(), 0, "-292471208.677536"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ms);
        EXPECT_EQ(format_unit_value(c.ms, time_diff_units[c.unit].milliseconds), c.text) << c.unit;
    }
}

// Against the plain formula in 128-bit arithmetic, over the whole range.
TEST(FormatUnitValue, MatchesTheWideFormula) {
    __extension__ typedef unsigned __int128 wide;
    std::mt19937_64 rng(23);
    std::uniform_int_distribution<std::int64_t> any(std::numeric_limits<std::int64_t>::min(),
                                                    std::numeric_limits<std::int64_t>::max());
    std::uniform_int_distribution<std::int64_t> near(-400 * day, 400 * day);
    for (int i = 0; i < 20000; ++i) {
        const std::int64_t d = i % 2 ? any(rng) : near(rng);
        const TimeDiffUnit& unit = time_diff_units[i % time_diff_unit_count];
        const wide m = d < 0 ? wide(-(d + 1)) + 1 : wide(d);
        const wide u = static_cast<std::uint64_t>(unit.milliseconds);
        const wide q = (m * 1'000'000 + u / 2) / u;
        char expected[64];
        std::snprintf(expected, sizeof expected, "%s%llu.%06llu", d < 0 && q != 0 ? "-" : "",
                      static_cast<unsigned long long>(q / 1'000'000), static_cast<unsigned long long>(q % 1'000'000));
        std::string e = expected;
        while (e.back() == '0') e.pop_back();
        if (e.back() == '.') e.pop_back();
        ASSERT_EQ(format_unit_value(d, unit.milliseconds), e) << d << " " << unit.name;
    }
}

TEST(FormatBreakdown, DaysHoursMinutesSeconds) {
    struct Case {
        std::int64_t ms;
        const char* text;
    };
    const Case cases[] = {
        {91'800'500, "1 天 1 小时 30 分 0.5 秒"},
        {-91'800'500, "负 1 天 1 小时 30 分 0.5 秒"},
        {93'784'500, "1 天 2 小时 3 分 4.5 秒"},
        {93'784'000, "1 天 2 小时 3 分 4 秒"},
        {93'784'050, "1 天 2 小时 3 分 4.05 秒"},
        {93'784'005, "1 天 2 小时 3 分 4.005 秒"},
        {0, "0 天 0 小时 0 分 0 秒"},
        {-500, "负 0 天 0 小时 0 分 0.5 秒"},
        {-1, "负 0 天 0 小时 0 分 0.001 秒"},
        {10'000, "0 天 0 小时 0 分 10 秒"},
        {day - 1, "0 天 23 小时 59 分 59.999 秒"},
        {3650 * day, "3650 天 0 小时 0 分 0 秒"},
        {std::numeric_limits<std::int64_t>::min(), "负 106751991167 天 7 小时 12 分 55.808 秒"},
    };
    for (const Case& c : cases) EXPECT_EQ(format_breakdown(c.ms), c.text) << c.ms;
}

TEST(ComputeTimeDiff, ResultsAndMessages) {
    struct Case {
        const char* start;
        const char* end;
        int unit;
        const char* value;   // empty: no result
        const char* result;
        const char* breakdown;
    };
    const Case cases[] = {
        {"2026-01-01 00:00:00", "2026-01-02 01:30:00.5", 3, "25.500139", "25.500139 小时", "1 天 1 小时 30 分 0.5 秒"},
        {"2026-01-02 01:30:00.5", "2026-01-01 00:00:00", 3, "-25.500139", "-25.500139 小时",
         "负 1 天 1 小时 30 分 0.5 秒"},
        {"2026-01-01 00:00:00.001", "2026-01-01 00:00:00", 0, "0", "0 年", "负 0 天 0 小时 0 分 0.001 秒"},
        {"2026-01-01", "2026-01-01T00:00", 4, "0", "0 分钟", "0 天 0 小时 0 分 0 秒"},
        {"2026-1-5", "2026/01/05 8:30", 4, "510", "510 分钟", "0 天 8 小时 30 分 0 秒"},
        {"2025-01-01", "2026-01-01", 0, "1", "1 年", "365 天 0 小时 0 分 0 秒"},
        {"2024-01-01", "2025-01-01", 0, "1.00274", "1.00274 年", "366 天 0 小时 0 分 0 秒"},
        {"2026-01-01", "2026-01-31", 1, "1", "1 月", "30 天 0 小时 0 分 0 秒"},
        {"2026-01-01", "2026-01-02", 2, "1", "1 日", "1 天 0 小时 0 分 0 秒"},
        {"2026-01-01", "2026-01-01 00:00:01.5", 5, "1.5", "1.5 秒", "0 天 0 小时 0 分 1.5 秒"},
        {"0000-01-01", "9999-12-31 23:59:59.999", 5, "315569519999.999", "315569519999.999 秒",
         "3652424 天 23 小时 59 分 59.999 秒"},
        // No selection, or a position past the list, counts as the first unit.
        {"2025-01-01", "2026-01-01", -1, "1", "1 年", "365 天 0 小时 0 分 0 秒"},
        {"2025-01-01", "2026-01-01", 6, "1", "1 年", "365 天 0 小时 0 分 0 秒"},
        // Missing input comes first, then the start, then the end.
        {"", "", 4, "", "—", msg::missing_input},
        {"", "nonsense", 4, "", "—", msg::missing_input},
        {" \u3000", "2026-01-01", 4, "", "—", msg::missing_input},
        {"nonsense", "", 4, "", "—", msg::missing_input},
        {"nonsense", "nonsense", 4, "", "—", msg::bad_start},
        {"2026-02-29", "2026-03-01", 4, "", "—", msg::bad_start},
        {"2026-01-01 24:00", "2026-01-02", 4, "", "—", msg::bad_start},
        {"2026-01-01", "2026-01-05Z", 4, "", "—", msg::bad_end},
        {"2026-01-01", "2026-01-05 08:30 +08:00", 4, "", "—", msg::bad_end},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.start) + " / " + c.end);
        const TimeDiffResult r = compute_time_diff(c.start, c.end, c.unit);
        EXPECT_EQ(r.ok, *c.value != '\0');
        EXPECT_EQ(r.value, c.value);
        EXPECT_EQ(r.result, c.result);
        EXPECT_EQ(r.breakdown, c.breakdown);
    }
}

}  // namespace
