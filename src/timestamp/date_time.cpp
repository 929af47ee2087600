#include "timestamp/date_time.h"

void append_padded(std::string& out, std::uint64_t value, int width) {
    char digits[24];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    for (int i = n; i < width; ++i) out += '0';
    while (n > 0) out += digits[--n];
}

bool is_supported_date(CivilDate date) {
    // Years far outside are refused first so that the day count cannot overflow.
    return date.year >= -262145 && date.year <= 262143 &&
           is_supported_unix_seconds(days_from_civil(date) * seconds_per_day);
}

std::int64_t seconds_since_epoch(const DateTime& t) {
    return days_from_civil(t.date) * seconds_per_day + static_cast<std::int64_t>(t.hour) * 3600 +
           static_cast<std::int64_t>(t.minute) * 60 + static_cast<std::int64_t>(t.second);
}

DateTime date_time_at(std::int64_t seconds, std::uint32_t nanosecond) {
    std::int64_t day = floor_div(seconds, seconds_per_day);
    auto of_day = static_cast<unsigned>(seconds - day * seconds_per_day);
    DateTime t;
    t.date = civil_from_days(day);
    t.hour = of_day / 3600;
    t.minute = of_day / 60 % 60;
    t.second = of_day % 60;
    t.nanosecond = nanosecond;
    return t;
}

std::string format_year(std::int64_t year) {
    std::string out;
    if (year < 0 || year > 9999) out += year < 0 ? '-' : '+';
    std::uint64_t magnitude = year < 0 ? 0 - static_cast<std::uint64_t>(year) : static_cast<std::uint64_t>(year);
    append_padded(out, magnitude, 4);
    return out;
}

std::string format_offset(std::int32_t offset_seconds) {
    std::string out(1, offset_seconds < 0 ? '-' : '+');
    std::uint64_t magnitude = offset_seconds < 0 ? 0 - static_cast<std::uint64_t>(static_cast<std::int64_t>(offset_seconds))
                                                 : static_cast<std::uint64_t>(offset_seconds);
    append_padded(out, magnitude / 3600, 2);
    out += ':';
    append_padded(out, magnitude / 60 % 60, 2);
    return out;
}

std::string format_date_time(const DateTime& t, bool with_milliseconds) {
    std::string out = format_year(t.date.year);
    out += '-';
    append_padded(out, t.date.month, 2);
    out += '-';
    append_padded(out, t.date.day, 2);
    out += ' ';
    append_padded(out, t.hour, 2);
    out += ':';
    append_padded(out, t.minute, 2);
    out += ':';
    append_padded(out, t.second, 2);
    if (with_milliseconds) {
        out += '.';
        append_padded(out, t.nanosecond % 1000000000u / 1000000u, 3);
    }
    return out;
}
