#include <gtest/gtest.h>

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

struct ToTimestamp {
    const char* input;
    ZoneChoice zone;
    OutputUnit unit;
    const LocalZone* local;
    bool ok;
    const char* text;
};

TEST(DateToTimestamp, EdgeCases) {
    const auto L = ZoneChoice::Local, U = ZoneChoice::Utc;
    const auto S = OutputUnit::Seconds, M = OutputUnit::Milliseconds;
    const ToTimestamp cases[] = {
        {"2026-01-01", U, S, &shanghai, true, "1767225600"},
        {"2026-01-01", L, S, &shanghai, true, "1767196800"},
        {"2026-01-01", L, S, &eastern, true, "1767243600"},
        {"2026-01-01T08:00", L, S, &shanghai, true, "1767225600"},
        {"2026-01-01 08:00", L, S, &shanghai, true, "1767225600"},
        {"2026-01-01 08:00:00", U, M, &shanghai, true, "1767254400000"},
        {"  2026-01-01 08:00:00.123\n", L, M, &shanghai, true, "1767225600123"},
        {"2026/01/01", U, S, &utc_zone, false, msg::bad_date},
        {"", U, S, &utc_zone, false, msg::bad_date},
        {"now", L, S, &utc_zone, false, msg::bad_date},
        {"2026-01-01T00:00:00Z", L, S, &shanghai, true, "1767225600"},
        {"2026-01-01T00:00:00Z", U, S, &eastern, true, "1767225600"},
        {"2026-01-01 08:00:00 +08:00", L, S, &eastern, true, "1767225600"},
        {"2026-01-01 08:00:00 +08:00", U, M, &eastern, true, "1767225600000"},
        {"2026-01-01T03:00:00.250-05:00", L, M, &shanghai, true, "1767254400250"},
        {"1970-01-01 00:00:00.999", U, S, &utc_zone, true, "0"},
        {"1970-01-01 00:00:00.999", U, M, &utc_zone, true, "999"},
        {"1969-12-31 23:59:59.5", U, S, &utc_zone, true, "-1"},
        {"1969-12-31 23:59:59.5", U, M, &utc_zone, true, "-500"},
        {"1969-12-31 23:59:59.9999999", U, M, &utc_zone, true, "-1"},
        {"2016-12-31T23:59:60.5Z", U, S, &utc_zone, true, "1483228799"},
        {"2016-12-31T23:59:60.5Z", U, M, &utc_zone, true, "1483228800500"},
        // daylight saving: the skipped and the repeated hour
        {"2026-03-08 02:30", L, S, &eastern, false, msg::unavailable_local},
        {"2026-03-08 02:00:00", L, S, &eastern, false, msg::unavailable_local},
        {"2026-03-08 01:59:59", L, S, &eastern, true, "1772953199"},
        {"2026-03-08 03:00:00", L, S, &eastern, true, "1772953200"},
        {"2026-11-01 01:30", L, S, &eastern, false, msg::ambiguous_local},
        {"2026-11-01 00:59:59", L, S, &eastern, true, "1793509199"},
        {"2026-11-01 02:00:00", L, S, &eastern, true, "1793516400"},
        {"2026-11-01 01:30", U, S, &eastern, true, "1793496600"},
        {"2026-11-01 01:30 ", L, S, &eastern, false, msg::ambiguous_local},
        {"2026-11-01T01:30:00-04:00", L, S, &eastern, true, "1793511000"},
        {"2026-11-01T01:30:00-05:00", L, S, &eastern, true, "1793514600"},
        // the supported years
        {"+262142-12-31 23:59:59", U, S, &utc_zone, true, "8210266876799"},
        {"+262142-12-31 23:59:59.999", U, M, &utc_zone, true, "8210266876799999"},
        {"-262144-12-31", U, S, &utc_zone, true, "-8334601315200"},
        {"-262144-12-31", U, M, &utc_zone, true, "-8334601315200000"},
        {"-262143-01-01", U, S, &utc_zone, true, "-8334601228800"},
        {"+262143-01-01", U, S, &utc_zone, false, msg::bad_date},
        {"-262144-12-30", U, S, &utc_zone, false, msg::bad_date},
        {"-262144-12-31", L, S, &shanghai, false, msg::unavailable_local},
        {"-262144-12-31 07:59:59", L, S, &shanghai, false, msg::unavailable_local},
        {"-262144-12-31 08:00", L, S, &shanghai, true, "-8334601315200"},
        {"+262142-12-31 23:59:59", L, S, &eastern, false, msg::unavailable_local},
        {"+262142-12-31 18:59:59", L, S, &eastern, true, "8210266876799"},
        {"+262142-12-31 23:59:59 +00:00", L, S, &eastern, true, "8210266876799"},
        {"+262142-12-31 23:59:59 -01:00", U, S, &utc_zone, false, msg::bad_date},
    };
    for (const ToTimestamp& c : cases) {
        SCOPED_TRACE(c.input);
        Conversion r = date_to_timestamp(c.input, c.zone, c.unit, *c.local);
        EXPECT_EQ(r.ok, c.ok);
        EXPECT_EQ(r.text, c.text);
    }
}

TEST(DateToTimestamp, RepeatedTimeWithOneOccurrenceOutOfRange) {
    const auto L = ZoneChoice::Local;
    const auto S = OutputUnit::Seconds;
    // Daylight time (UTC) ends at the last instant of each year, into UTC-1:
    // the year's last wall-clock hour occurs twice, but in the last supported
    // year its second occurrence is past the range.
    YearRules rules = test_zones::fixed(-3600);
    rules.daylight_offset = 0;
    rules.daylight_start = {6, 0, 0, 1, 0, 0, 0, 0};
    rules.standard_start = {12, 0, 0, 31, 23, 59, 59, 999};
    const FixedRuleZone year_end(rules);
    const ToTimestamp cases[] = {
        {"2026-12-31 23:30", L, S, &year_end, false, msg::ambiguous_local},
        {"+262142-12-31 23:30", L, S, &year_end, false, msg::unavailable_local},
        {"+262142-12-31 22:59:59", L, S, &year_end, true, "8210266873199"},
    };
    for (const ToTimestamp& c : cases) {
        SCOPED_TRACE(c.input);
        Conversion conv = date_to_timestamp(c.input, c.zone, c.unit, *c.local);
        EXPECT_EQ(conv.ok, c.ok);
        EXPECT_EQ(conv.text, c.text);
    }
}

}  // namespace
