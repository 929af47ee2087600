#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "timestamp/date_time.h"

// The date input forms of the timestamp tool, tried in this order:
//   1. RFC 3339: YYYY-MM-DD, "T", "t" or a space, hh:mm:ss, an optional
//      fraction, then "Z", "z" or +hh:mm / -hh:mm;
//   2. "%Y-%m-%d %H:%M:%S%.f %:z" (one space before the offset);
//   3. without offset: "%Y-%m-%d %H:%M:%S%.f", "%Y-%m-%dT%H:%M:%S%.f",
//      "%Y-%m-%d %H:%M", "%Y-%m-%dT%H:%M";
//   4. "%Y-%m-%d" alone, at 00:00:00.
// Month, day, hour, minute and second take one or two digits, offsets exactly
// two; "%Y" is four digits, or a sign and four or more digits (RFC 3339 takes
// four digits only). "%.f" is nothing or a dot and one or more digits (those
// after the ninth are ignored). Second 60 is a leap second. Dates must be
// real and in the supported range (date_time.h); a text with an offset must
// also name an instant inside that range.
struct ParsedDate {
    DateTime wall;                       // as written
    std::optional<std::int32_t> offset;  // seconds east of UTC, when written
};

std::optional<ParsedDate> parse_rfc3339(std::string_view text);
std::optional<ParsedDate> parse_date_input(std::string_view text);
