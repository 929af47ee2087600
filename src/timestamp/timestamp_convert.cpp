#include "timestamp/timestamp_convert.h"

#include "ui/white_space.h"

#include <limits>

#include "timestamp/date_parse.h"
#include "timestamp/date_time.h"
#include "timestamp/timestamp_messages.h"

namespace {

namespace msg = timestamp_messages;

Conversion success(std::string text) { return {true, std::move(text)}; }
Conversion failure(const char* message) { return {false, message}; }

}  // namespace

std::optional<std::int64_t> parse_timestamp_integer(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    // Accumulate as a negative number so that the minimum fits.
    std::int64_t value = 0;
    constexpr std::int64_t lowest = std::numeric_limits<std::int64_t>::min();
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        int digit = c - '0';
        if (value < (lowest + digit) / 10) return std::nullopt;
        value = value * 10 - digit;
    }
    if (negative) return value;
    if (value == lowest) return std::nullopt;
    return -value;
}

Conversion timestamp_to_date(std::string_view input, InputUnit unit, ZoneChoice zone, const LocalZone& local) {
    std::string_view text = trim_unicode_white_space(input);
    auto value = parse_timestamp_integer(text);
    if (!value) return failure(msg::not_an_integer);
    if (unit == InputUnit::Auto) {
        std::size_t digits = text.size() - (text.front() == '+' || text.front() == '-' ? 1 : 0);
        unit = digits <= 10 ? InputUnit::Seconds : InputUnit::Milliseconds;
    }
    bool millis = unit == InputUnit::Milliseconds;
    std::int64_t seconds = millis ? floor_div(*value, 1000) : *value;
    // Refused before the fraction is taken: for the lowest millisecond
    // values, seconds * 1000 would not fit.
    if (!is_supported_unix_seconds(seconds)) return failure(msg::timestamp_out_of_range);
    auto fraction = static_cast<std::uint32_t>(millis ? (*value - seconds * 1000) * 1'000'000 : 0);
    std::int32_t offset = 0;
    if (zone == ZoneChoice::Local) {
        auto found = local.offset_at(seconds);
        if (!found || !is_supported_unix_seconds(seconds + *found)) return failure(msg::local_out_of_range);
        offset = *found;
    }
    std::string out = format_date_time(date_time_at(seconds + offset, fraction), millis);
    out += ' ';
    out += format_offset(offset);
    return success(std::move(out));
}

Conversion date_to_timestamp(std::string_view input, ZoneChoice zone, OutputUnit unit, const LocalZone& local) {
    auto parsed = parse_date_input(trim_unicode_white_space(input));
    if (!parsed) return failure(msg::bad_date);
    std::int64_t wall = seconds_since_epoch(parsed->wall);
    std::int64_t seconds = wall;
    if (parsed->offset) {
        seconds = wall - *parsed->offset;
    } else if (zone == ZoneChoice::Local) {
        LocalOffsets offsets = local.offsets_of_wall_time(wall);
        if (offsets.count == 2) {
            bool both = is_supported_unix_seconds(wall - offsets.offsets[0]) &&
                        is_supported_unix_seconds(wall - offsets.offsets[1]);
            return failure(both ? msg::ambiguous_local : msg::unavailable_local);
        }
        if (offsets.count != 1 || !is_supported_unix_seconds(wall - offsets.offsets[0]))
            return failure(msg::unavailable_local);
        seconds = wall - offsets.offsets[0];
    }
    if (unit == OutputUnit::Seconds) return success(std::to_string(seconds));
    return success(std::to_string(seconds * 1000 + parsed->wall.nanosecond / 1'000'000));
}

UnixTime unix_time_from_filetime(std::uint64_t ticks) {
    std::int64_t since_epoch = static_cast<std::int64_t>(ticks) - 116444736000000000;
    std::int64_t seconds = floor_div(since_epoch, 10'000'000);
    return {seconds, static_cast<std::uint32_t>((since_epoch - seconds * 10'000'000) * 100)};
}

std::string unix_seconds_text(UnixTime now) { return std::to_string(now.seconds); }

std::string unix_milliseconds_text(UnixTime now) {
    return std::to_string(now.seconds * 1000 + now.nanoseconds / 1'000'000);
}

std::optional<std::string> current_date_input(UnixTime now, ZoneChoice zone, const LocalZone& local) {
    std::int64_t seconds = now.seconds;
    if (zone == ZoneChoice::Local) {
        auto offset = local.offset_at(now.seconds);
        if (!offset || !is_supported_unix_seconds(now.seconds + *offset)) return std::nullopt;
        seconds += *offset;
    }
    return format_date_time(date_time_at(seconds, now.nanoseconds), true);
}
