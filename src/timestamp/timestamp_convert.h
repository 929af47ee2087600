#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "timestamp/local_zone.h"

// The conversions of the timestamp page, free of Win32: each takes the texts
// and list choices of the page and the local zone, and gives the text for the
// result box or the message for the status line.

enum class InputUnit { Auto, Seconds, Milliseconds };  // "自动识别", "秒", "毫秒"
enum class ZoneChoice { Local, Utc };                  // "本地时间", "UTC"
enum class OutputUnit { Seconds, Milliseconds };       // "秒", "毫秒"

struct Conversion {
    bool ok = false;
    std::string text;  // the result, or the message when !ok
};

// A reading of the system clock.
struct UnixTime {
    std::int64_t seconds = 0;
    std::uint32_t nanoseconds = 0;  // 0..999'999'999
};

// An optional sign and one or more ASCII digits, within 64 bits.
std::optional<std::int64_t> parse_timestamp_integer(std::string_view text);

Conversion timestamp_to_date(std::string_view input, InputUnit unit, ZoneChoice zone, const LocalZone& local);
Conversion date_to_timestamp(std::string_view input, ZoneChoice zone, OutputUnit unit, const LocalZone& local);

// 100-ns ticks since 1601-01-01 (a FILETIME) as Unix time.
UnixTime unix_time_from_filetime(std::uint64_t ticks);
// The two current-time boxes: seconds, and milliseconds (truncated).
std::string unix_seconds_text(UnixTime now);
std::string unix_milliseconds_text(UnixTime now);
// The date input filled with the current time: "%Y-%m-%d %H:%M:%S%.3f" in UTC
// or local time; nothing if the local time cannot be had.
std::optional<std::string> current_date_input(UnixTime now, ZoneChoice zone, const LocalZone& local);
