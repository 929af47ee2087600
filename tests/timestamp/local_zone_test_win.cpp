#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>

#include "timestamp/clock_win.h"
#include "timestamp/date_time.h"
#include "timestamp/local_zone_win.h"
#include "timestamp/timestamp_convert.h"
#include "timestamp/timestamp_messages.h"
#include "tz_test_win.h"

// The system zone under Wine.

namespace {

namespace msg = timestamp_messages;

std::int64_t utc(CivilDate d, unsigned h, unsigned m, unsigned s) { return seconds_since_epoch(DateTime{d, h, m, s, 0}); }

TEST_F(TzNewYork, OffsetsOnBothSidesOfEachTransition) {
    struct Case {
        std::int64_t change;  // first instant of the new offset
        std::int32_t before, after;
    };
    const Case cases[] = {
        {utc({2026, 3, 8}, 7, 0, 0), -5 * 3600, -4 * 3600},
        {utc({2026, 11, 1}, 6, 0, 0), -4 * 3600, -5 * 3600},
        {utc({2006, 4, 2}, 7, 0, 0), -5 * 3600, -4 * 3600},  // the rules before 2007
        {utc({2006, 10, 29}, 6, 0, 0), -4 * 3600, -5 * 3600},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.change);
        EXPECT_EQ(zone.offset_at(c.change - 1), c.before);
        EXPECT_EQ(zone.offset_at(c.change), c.after);
    }
    EXPECT_EQ(zone.offset_at(utc({2026, 1, 15}, 12, 0, 0)), -5 * 3600);
    EXPECT_EQ(zone.offset_at(utc({2026, 7, 15}, 12, 0, 0)), -4 * 3600);
}

TEST_F(TzNewYork, SkippedAndRepeatedWallClockTimes) {
    const auto L = ZoneChoice::Local;
    struct Case {
        const char* input;
        bool ok;
        const char* text;
    };
    const Case cases[] = {
        {"2026-03-08 02:30", false, msg::unavailable_local},
        {"2026-03-08T02:00:00", false, msg::unavailable_local},
        {"2026-03-08 01:59:59", true, "1772953199"},
        {"2026-03-08 03:00:00", true, "1772953200"},
        {"2026-11-01 01:30", false, msg::ambiguous_local},
        {"2026-11-01 01:00:00", false, msg::ambiguous_local},
        {"2026-11-01 00:59:59", true, "1793509199"},
        {"2026-11-01 02:00:00", true, "1793516400"},
        {"2026-11-01T01:30:00-04:00", true, "1793511000"},
        {"2006-04-02 02:30", false, msg::unavailable_local},
        {"2006-10-29 01:30", false, msg::ambiguous_local},
        {"2026-01-01", true, "1767243600"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        Conversion r = date_to_timestamp(c.input, L, OutputUnit::Seconds, zone);
        EXPECT_EQ(r.ok, c.ok);
        EXPECT_EQ(r.text, c.text);
    }
    EXPECT_EQ(timestamp_to_date("1772953199", InputUnit::Auto, L, zone).text, "2026-03-08 01:59:59 -05:00");
    EXPECT_EQ(timestamp_to_date("1772953200", InputUnit::Auto, L, zone).text, "2026-03-08 03:00:00 -04:00");
    EXPECT_EQ(timestamp_to_date("1793512799999", InputUnit::Auto, L, zone).text, "2026-11-01 01:59:59.999 -04:00");
    EXPECT_EQ(timestamp_to_date("1793512800000", InputUnit::Auto, L, zone).text, "2026-11-01 01:00:00.000 -05:00");
}

TEST_F(TzShanghai, FixedOffsetAndTheLastSecond) {
    EXPECT_EQ(date_to_timestamp("2026-01-01 08:00:00 +08:00", ZoneChoice::Local, OutputUnit::Seconds, zone).text,
              "1767225600");
    EXPECT_EQ(date_to_timestamp("2026-01-01 08:00:00", ZoneChoice::Local, OutputUnit::Seconds, zone).text,
              "1767225600");
    EXPECT_EQ(timestamp_to_date("1767225600", InputUnit::Auto, ZoneChoice::Local, zone).text,
              "2026-01-01 08:00:00 +08:00");
    Conversion last = timestamp_to_date("8210266876799", InputUnit::Seconds, ZoneChoice::Local, zone);
    EXPECT_FALSE(last.ok);
    EXPECT_EQ(last.text, msg::local_out_of_range);
    EXPECT_EQ(timestamp_to_date("8210266876799", InputUnit::Seconds, ZoneChoice::Utc, zone).text,
              "+262142-12-31 23:59:59 +00:00");
    EXPECT_EQ(zone.offset_at(utc({1600, 6, 1}, 0, 0, 0)), 8 * 3600);
    EXPECT_EQ(zone.offset_at(max_unix_seconds), 8 * 3600);
}

TEST_F(TzUtc, LocalAndUtcPathsAgree) {
    std::mt19937_64 rng(11);
    std::uniform_int_distribution<std::int64_t> pick(min_unix_seconds * 1000, max_unix_seconds * 1000 + 999);
    for (int i = 0; i < 2000; ++i) {
        std::string ms = std::to_string(pick(rng));
        Conversion local = timestamp_to_date(ms, InputUnit::Milliseconds, ZoneChoice::Local, zone);
        Conversion in_utc = timestamp_to_date(ms, InputUnit::Milliseconds, ZoneChoice::Utc, zone);
        ASSERT_TRUE(local.ok) << ms;
        ASSERT_EQ(local.text, in_utc.text);
        std::string wall = local.text.substr(0, local.text.size() - 7);  // without " +00:00"
        Conversion back_local = date_to_timestamp(wall, ZoneChoice::Local, OutputUnit::Milliseconds, zone);
        Conversion back_utc = date_to_timestamp(wall, ZoneChoice::Utc, OutputUnit::Milliseconds, zone);
        ASSERT_EQ(back_local.text, ms);
        ASSERT_EQ(back_utc.text, ms);
    }
}

// Whatever the zone: every instant's local time exists under its own offset.
TEST(WindowsLocalZone, EveryInstantsWallClockTimeHasItsOffset) {
    WindowsLocalZone zone;
    std::mt19937_64 rng(5);
    std::uniform_int_distribution<std::int64_t> pick(utc({1601, 1, 1}, 0, 0, 0), utc({2200, 1, 1}, 0, 0, 0));
    for (int i = 0; i < 5000; ++i) {
        std::int64_t u = pick(rng);
        auto offset = zone.offset_at(u);
        ASSERT_TRUE(offset.has_value());
        ASSERT_LE(*offset < 0 ? -*offset : *offset, 14 * 3600);
        LocalOffsets wall = zone.offsets_of_wall_time(u + *offset);
        ASSERT_GE(wall.count, 1);
        ASSERT_TRUE(wall.offsets[0] == *offset || (wall.count == 2 && wall.offsets[1] == *offset));
    }
}

TEST(SystemClock, ReadsTheCurrentTime) {
    UnixTime now = read_system_clock();
    EXPECT_GT(now.seconds, utc({2024, 1, 1}, 0, 0, 0));
    EXPECT_LT(now.nanoseconds, 1'000'000'000u);
    std::string ms = unix_milliseconds_text(now);
    EXPECT_EQ(ms.substr(0, ms.size() - 3), unix_seconds_text(now));
    auto text = current_date_input(now, ZoneChoice::Utc, WindowsLocalZone());
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(date_to_timestamp(*text, ZoneChoice::Utc, OutputUnit::Milliseconds, WindowsLocalZone()).text, ms);
}

}  // namespace
