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
const FixedRuleZone far_west(test_zones::fixed(-12 * 3600));

struct ToDate {
    const char* input;
    InputUnit unit;
    ZoneChoice zone;
    const LocalZone* local;
    bool ok;
    const char* text;
};

TEST(TimestampToDate, EdgeCases) {
    const auto A = InputUnit::Auto, S = InputUnit::Seconds, M = InputUnit::Milliseconds;
    const auto L = ZoneChoice::Local, U = ZoneChoice::Utc;
    const ToDate cases[] = {
        {"1767225600", A, U, &utc_zone, true, "2026-01-01 00:00:00 +00:00"},
        {"1767225600000", A, U, &utc_zone, true, "2026-01-01 00:00:00.000 +00:00"},
        {"1767225600123", A, L, &shanghai, true, "2026-01-01 08:00:00.123 +08:00"},
        {"1767225600", A, L, &shanghai, true, "2026-01-01 08:00:00 +08:00"},
        {"0000000001", A, U, &utc_zone, true, "1970-01-01 00:00:01 +00:00"},
        {"00000000001", A, U, &utc_zone, true, "1970-01-01 00:00:00.001 +00:00"},
        {"+0000000001", A, U, &utc_zone, true, "1970-01-01 00:00:01 +00:00"},
        {"-0000000001", A, U, &utc_zone, true, "1969-12-31 23:59:59 +00:00"},
        {"-00000000001", A, U, &utc_zone, true, "1969-12-31 23:59:59.999 +00:00"},
        {"9999999999", A, U, &utc_zone, true, "2286-11-20 17:46:39 +00:00"},
        {"10000000000", A, U, &utc_zone, true, "1970-04-26 17:46:40.000 +00:00"},
        {"-1", S, U, &utc_zone, true, "1969-12-31 23:59:59 +00:00"},
        {"-1", M, U, &utc_zone, true, "1969-12-31 23:59:59.999 +00:00"},
        {"-1000", M, U, &utc_zone, true, "1969-12-31 23:59:59.000 +00:00"},
        {"-1001", M, U, &utc_zone, true, "1969-12-31 23:59:58.999 +00:00"},
        {"1", A, L, &eastern, true, "1969-12-31 19:00:01 -05:00"},
        {"1783000000", A, L, &eastern, true, "2026-07-02 09:46:40 -04:00"},
        {" +42 ", A, U, &utc_zone, true, "1970-01-01 00:00:42 +00:00"},
        {"\t42\r\n", S, U, &utc_zone, true, "1970-01-01 00:00:42 +00:00"},
        {"\u3000" "42" "\u00A0", S, U, &utc_zone, true, "1970-01-01 00:00:42 +00:00"},
        {"42", M, U, &utc_zone, true, "1970-01-01 00:00:00.042 +00:00"},
        // not an integer
        {"", A, U, &utc_zone, false, msg::not_an_integer},
        {"   ", A, U, &utc_zone, false, msg::not_an_integer},
        {"+", A, U, &utc_zone, false, msg::not_an_integer},
        {"-", A, U, &utc_zone, false, msg::not_an_integer},
        {"4 2", A, U, &utc_zone, false, msg::not_an_integer},
        {"1e3", A, U, &utc_zone, false, msg::not_an_integer},
        {"+-1", A, U, &utc_zone, false, msg::not_an_integer},
        {"--1", A, U, &utc_zone, false, msg::not_an_integer},
        {"1.5", A, U, &utc_zone, false, msg::not_an_integer},
        {"0x10", A, U, &utc_zone, false, msg::not_an_integer},
        {"１２", A, U, &utc_zone, false, msg::not_an_integer},
        {"9223372036854775808", A, U, &utc_zone, false, msg::not_an_integer},
        {"-9223372036854775809", A, U, &utc_zone, false, msg::not_an_integer},
        {"99999999999999999999", A, U, &utc_zone, false, msg::not_an_integer},
        // the supported years
        {"9223372036854775807", A, U, &utc_zone, false, msg::timestamp_out_of_range},
        {"-9223372036854775808", S, U, &utc_zone, false, msg::timestamp_out_of_range},
        {"-9223372036854775808", A, U, &utc_zone, false, msg::timestamp_out_of_range},
        {"-9223372036854775808", M, L, &shanghai, false, msg::timestamp_out_of_range},
        {"-9223372036854775001", M, U, &utc_zone, false, msg::timestamp_out_of_range},
        {"12345678901234567", A, U, &utc_zone, false, msg::timestamp_out_of_range},
        {"8210266876799", S, U, &utc_zone, true, "+262142-12-31 23:59:59 +00:00"},
        {"8210266876800", S, U, &utc_zone, false, msg::timestamp_out_of_range},
        {"-8334601315200", S, U, &utc_zone, true, "-262144-12-31 00:00:00 +00:00"},
        {"-8334601315201", S, U, &utc_zone, false, msg::timestamp_out_of_range},
        {"8210266876799999", A, U, &utc_zone, true, "+262142-12-31 23:59:59.999 +00:00"},
        {"8210266876800000", A, U, &utc_zone, false, msg::timestamp_out_of_range},
        {"-8334601315200000", A, U, &utc_zone, true, "-262144-12-31 00:00:00.000 +00:00"},
        {"-8334601315200001", A, U, &utc_zone, false, msg::timestamp_out_of_range},
        {"253402300800", S, U, &utc_zone, true, "+10000-01-01 00:00:00 +00:00"},
        {"-62167219201", S, U, &utc_zone, true, "-0001-12-31 23:59:59 +00:00"},
        // the local offset pushes the date out
        {"8210266876799", S, L, &shanghai, false, msg::local_out_of_range},
        {"8210266848000", S, L, &shanghai, false, msg::local_out_of_range},
        {"8210266847999", S, L, &shanghai, true, "+262142-12-31 23:59:59 +08:00"},
        {"8210266848000", S, L, &eastern, true, "+262142-12-31 11:00:00 -05:00"},
        {"-8334601315200", S, L, &far_west, false, msg::local_out_of_range},
        {"-8334601315200", S, L, &shanghai, true, "-262144-12-31 08:00:00 +08:00"},
    };
    for (const ToDate& c : cases) {
        SCOPED_TRACE(c.input);
        Conversion r = timestamp_to_date(c.input, c.unit, c.zone, *c.local);
        EXPECT_EQ(r.ok, c.ok);
        EXPECT_EQ(r.text, c.text);
    }
}

}  // namespace
