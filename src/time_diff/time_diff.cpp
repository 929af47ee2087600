#include "time_diff/time_diff.h"

#include "time_diff/time_diff_messages.h"
#include "timestamp/date_time.h"
#include "ui/white_space.h"

namespace {

namespace msg = time_diff_messages;

constexpr std::int64_t ms_per_second = 1'000;
constexpr std::int64_t ms_per_minute = 60'000;
constexpr std::int64_t ms_per_hour = 3'600'000;
constexpr std::int64_t ms_per_day = 86'400'000;
constexpr std::int64_t millionths = 1'000'000;

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Reads `min` to `max` ASCII digits at the front of the text.
std::optional<unsigned> take_digits(std::string_view& text, std::size_t min, std::size_t max) {
    std::size_t n = 0;
    unsigned value = 0;
    while (n < max && n < text.size() && is_digit(text[n])) {
        value = value * 10 + static_cast<unsigned>(text[n] - '0');
        ++n;
    }
    if (n < min) return std::nullopt;
    text.remove_prefix(n);
    return value;
}

bool take(std::string_view& text, char c) {
    if (text.empty() || text.front() != c) return false;
    text.remove_prefix(1);
    return true;
}

bool take_date_separator(std::string_view& text) { return take(text, '-') || take(text, '/'); }

// Days since 1970-01-01.
std::optional<std::int64_t> read_date(std::string_view text) {
    const auto year = take_digits(text, 4, 4);
    if (!year || !take_date_separator(text)) return std::nullopt;
    const auto month = take_digits(text, 1, 2);
    if (!month || !take_date_separator(text)) return std::nullopt;
    const auto day = take_digits(text, 1, 2);
    if (!day || !text.empty() || !is_valid_date(*year, *month, *day)) return std::nullopt;
    return days_from_civil({*year, *month, *day});
}

// Milliseconds since midnight.
std::optional<std::int64_t> read_time(std::string_view text) {
    const auto hour = take_digits(text, 1, 2);
    if (!hour || !take(text, ':')) return std::nullopt;
    const auto minute = take_digits(text, 2, 2);
    if (!minute) return std::nullopt;
    unsigned second = 0;
    unsigned millisecond = 0;
    if (take(text, ':')) {
        const auto s = take_digits(text, 2, 2);
        if (!s) return std::nullopt;
        second = *s;
        if (take(text, '.')) {
            const std::size_t before = text.size();
            const auto fraction = take_digits(text, 1, 3);
            if (!fraction) return std::nullopt;
            // ".5" is 500 ms, ".05" 50 ms.
            millisecond = *fraction;
            for (std::size_t n = before - text.size(); n < 3; ++n) millisecond *= 10;
        }
    }
    if (!text.empty() || *hour > 23 || *minute > 59 || second > 59) return std::nullopt;
    return std::int64_t{*hour} * ms_per_hour + std::int64_t{*minute} * ms_per_minute +
           std::int64_t{second} * ms_per_second + millisecond;
}

std::uint64_t magnitude(std::int64_t v) {
    return v < 0 ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
}

// "12.500" -> "12.5", "4.000" -> "4".
void drop_trailing_zeros(std::string& number) {
    while (!number.empty() && number.back() == '0') number.pop_back();
    if (!number.empty() && number.back() == '.') number.pop_back();
}

TimeDiffResult no_result(const char* why) { return {false, {}, msg::no_result, why}; }

}  // namespace

std::optional<std::int64_t> read_moment(std::string_view text) {
    text = trim_unicode_white_space(text);
    const std::size_t split = text.find_first_of("T ");
    const std::string_view date_part = text.substr(0, split);
    const std::string_view time_part = split == std::string_view::npos ? "00:00" : text.substr(split + 1);
    const auto days = read_date(date_part);
    const auto of_day = read_time(time_part);
    if (!days || !of_day) return std::nullopt;
    return *days * ms_per_day + *of_day;
}

const TimeDiffUnit& time_diff_unit_at(int position) {
    return time_diff_units[position >= 0 && position < time_diff_unit_count ? position : 0];
}

std::string format_unit_value(std::int64_t difference_ms, std::int64_t unit_ms) {
    const std::uint64_t m = magnitude(difference_ms);
    const auto u = static_cast<std::uint64_t>(unit_ms);
    // q = (m · 10^6 + u / 2) / u, taken apart as whole units and millionths
    // so that no product can overflow: the remainder is below u, and u is at
    // most a year's milliseconds.
    std::uint64_t whole = m / u;
    std::uint64_t fraction = (m % u * millionths + u / 2) / u;
    if (fraction == millionths) {
        ++whole;
        fraction = 0;
    }
    std::string out;
    if (difference_ms < 0 && (whole != 0 || fraction != 0)) out += '-';
    out += std::to_string(whole);
    out += '.';
    append_padded(out, fraction, 6);
    drop_trailing_zeros(out);
    return out;
}

std::string format_breakdown(std::int64_t difference_ms) {
    const std::uint64_t m = magnitude(difference_ms);
    std::string seconds = std::to_string(m / ms_per_second % 60) + '.';
    append_padded(seconds, m % ms_per_second, 3);
    drop_trailing_zeros(seconds);
    std::string out = difference_ms < 0 ? "负 " : "";
    out += std::to_string(m / ms_per_day) + " 天 ";
    out += std::to_string(m / ms_per_hour % 24) + " 小时 ";
    out += std::to_string(m / ms_per_minute % 60) + " 分 ";
    out += seconds + " 秒";
    return out;
}

TimeDiffResult compute_time_diff(std::string_view start, std::string_view end, int unit_position) {
    if (trim_unicode_white_space(start).empty() || trim_unicode_white_space(end).empty())
        return no_result(msg::missing_input);
    const auto from = read_moment(start);
    if (!from) return no_result(msg::bad_start);
    const auto to = read_moment(end);
    if (!to) return no_result(msg::bad_end);
    const std::int64_t difference = *to - *from;
    const TimeDiffUnit& unit = time_diff_unit_at(unit_position);
    TimeDiffResult out;
    out.ok = true;
    out.value = format_unit_value(difference, unit.milliseconds);
    out.result = out.value + ' ' + unit.name;
    out.breakdown = format_breakdown(difference);
    return out;
}
