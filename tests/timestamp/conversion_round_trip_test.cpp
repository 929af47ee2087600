#include <gtest/gtest.h>

#include <random>
#include <string>

#include "timestamp/date_time.h"
#include "timestamp/timestamp_convert.h"
#include "timestamp/timestamp_messages.h"
#include "timestamp_test_zones.h"

namespace {

namespace msg = timestamp_messages;

const FixedRuleZone utc_zone(test_zones::fixed(0));
const FixedRuleZone shanghai(test_zones::fixed(8 * 3600));
const FixedRuleZone eastern(test_zones::us_eastern());

// Random instants over the whole range: to a date and back, in seconds and
// milliseconds, against the day count of the independent formula
// days = 365y + y/4 - y/100 + y/400 + ... via the year's first day.
std::int64_t first_day_of_year(std::int64_t y) {
    // Days from 0000-01-01 to y-01-01 by counting leap years below y.
    std::int64_t p = y - 1;
    auto fdiv = [](std::int64_t a, std::int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); };
    std::int64_t leaps = fdiv(p, 4) - fdiv(p, 100) + fdiv(p, 400) + 1;  // year 0 is a leap year
    return 365 * y + leaps - 719528;                                       // 0000-01-01 .. 1970-01-01
}

TEST(Conversions, RoundTripsOverRandomInstants) {
    std::mt19937_64 rng(2026);
    std::uniform_int_distribution<std::int64_t> pick(min_unix_seconds * 1000, max_unix_seconds * 1000 + 999);
    const FixedRuleZone* zones[] = {&utc_zone, &shanghai, &eastern};
    for (int i = 0; i < 20000; ++i) {
        std::int64_t ms = pick(rng);
        std::string ms_text = std::to_string(ms);
        Conversion date = timestamp_to_date(ms_text, InputUnit::Milliseconds, ZoneChoice::Utc, utc_zone);
        ASSERT_TRUE(date.ok) << ms_text;
        // Check the year and day-of-year against the leap-year count.
        std::int64_t seconds = ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
        std::int64_t day = seconds >= 0 ? seconds / 86400 : -((-seconds + 86399) / 86400);
        std::int64_t year = std::stoll(date.text.substr(0, date.text.find('-', 1)));
        ASSERT_LE(first_day_of_year(year), day) << date.text;
        ASSERT_GT(first_day_of_year(year + 1), day) << date.text;

        Conversion back = date_to_timestamp(date.text, ZoneChoice::Local, OutputUnit::Milliseconds, eastern);
        ASSERT_TRUE(back.ok) << date.text;
        ASSERT_EQ(back.text, ms_text);
        const FixedRuleZone& zone = *zones[i % 3];
        Conversion local = timestamp_to_date(ms_text, InputUnit::Milliseconds, ZoneChoice::Local, zone);
        if (!local.ok) {
            ASSERT_EQ(local.text, msg::local_out_of_range);
            continue;
        }
        back = date_to_timestamp(local.text, ZoneChoice::Utc, OutputUnit::Seconds, utc_zone);
        ASSERT_TRUE(back.ok) << local.text;
        ASSERT_EQ(back.text, std::to_string(seconds));
    }
}

TEST(CurrentTime, BoxesAndDateInput) {
    UnixTime t = unix_time_from_filetime(116444736000000000ull + 17672256001234567ull);
    EXPECT_EQ(t.seconds, 1767225600);
    EXPECT_EQ(t.nanoseconds, 123456700u);
    EXPECT_EQ(unix_seconds_text(t), "1767225600");
    EXPECT_EQ(unix_milliseconds_text(t), "1767225600123");
    EXPECT_EQ(current_date_input(t, ZoneChoice::Utc, shanghai), "2026-01-01 00:00:00.123");
    EXPECT_EQ(current_date_input(t, ZoneChoice::Local, shanghai), "2026-01-01 08:00:00.123");
    EXPECT_EQ(current_date_input(t, ZoneChoice::Local, eastern), "2025-12-31 19:00:00.123");
    UnixTime before = unix_time_from_filetime(116444736000000000ull - 1);
    EXPECT_EQ(before.seconds, -1);
    EXPECT_EQ(before.nanoseconds, 999999900u);
}

}  // namespace
