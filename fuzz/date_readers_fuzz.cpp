// The date-time readers of the timestamp and time-difference tools over
// arbitrary bytes: what reads must format back and read to the same instant,
// timestamps must survive a trip through their dates, local times must agree
// with the zone's own offsets, and failures must be the fixed messages.
#include <charconv>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "time_diff/time_diff.h"
#include "time_diff/time_diff_messages.h"
#include "timestamp/date_parse.h"
#include "timestamp/date_time.h"
#include "timestamp/local_zone.h"
#include "timestamp/timestamp_convert.h"
#include "timestamp/timestamp_messages.h"
#include "ui/white_space.h"

namespace {

namespace tmsg = timestamp_messages;
namespace dmsg = time_diff_messages;

// A year's rules with both offsets, so that the candidates for a wall time
// are known without asking the zone.
struct TestZone {
    YearRules rules;
    FixedRuleZone zone;
    explicit TestZone(const YearRules& r) : rules(r), zone(r) {}
};

YearRules make_rules(std::int32_t standard, std::int32_t daylight, TransitionDate start, TransitionDate end) {
    YearRules r;
    r.standard_offset = standard;
    r.daylight_offset = daylight;
    r.daylight_start = start;
    r.standard_start = end;
    return r;
}

const TestZone& zone_for(std::size_t pick) {
    // Northern daylight time; southern, across the new year; a plain offset;
    // a daylight offset below the standard one, with transitions at odd
    // moments (a clamped day 31 of February at the last millisecond of a day,
    // and half an hour before the new year); daylight time ending half an
    // hour into the new year.
    static const TestZone zones[5] = {
        TestZone(make_rules(-5 * 3600, -4 * 3600, {3, 2, 0, 0, 2, 0, 0, 0}, {11, 1, 0, 0, 2, 0, 0, 0})),
        TestZone(make_rules(10 * 3600, 11 * 3600, {10, 1, 0, 0, 2, 0, 0, 0}, {4, 1, 0, 0, 3, 0, 0, 0})),
        TestZone(make_rules(8 * 3600, 8 * 3600, {}, {})),
        TestZone(make_rules(5 * 3600 + 45 * 60, 4 * 3600 + 15 * 60, {2, 0, 0, 31, 23, 59, 59, 999},
                            {12, 0, 0, 31, 23, 30, 0, 0})),
        TestZone(make_rules(3600, 2 * 3600, {10, 0, 0, 1, 2, 0, 0, 0}, {1, 0, 0, 1, 0, 30, 0, 0})),
    };
    return zones[pick % 5];
}

std::optional<std::int64_t> decimal_value(std::string_view s) {
    std::int64_t v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return v;
}

std::int64_t ok_value(const Conversion& c) {
    FUZZ_CHECK(c.ok);
    auto v = decimal_value(c.text);
    FUZZ_CHECK(v.has_value() && std::to_string(*v) == c.text);
    return *v;
}

bool is_timestamp_message(const std::string& m) {
    for (const char* known : {tmsg::not_an_integer, tmsg::timestamp_out_of_range, tmsg::local_out_of_range,
                              tmsg::bad_date, tmsg::ambiguous_local, tmsg::unavailable_local})
        if (m == known) return true;
    return false;
}

bool fields_in_range(const DateTime& w) {
    if (!is_valid_date(w.date.year, w.date.month, w.date.day) || !is_supported_date(w.date)) return false;
    if (w.hour > 23 || w.minute > 59 || w.second > 59 || w.nanosecond >= 2'000'000'000u) return false;
    return w.nanosecond < 1'000'000'000u || w.second == 59;
}

// Milliseconds of the instant a parsed text names, the leap second counting
// as the end of its second.
std::int64_t instant_ms(const DateTime& w, std::int32_t offset) {
    return (seconds_since_epoch(w) - offset) * 1000 + w.nanosecond / 1'000'000;
}

void check_timestamp(std::int64_t t, bool millis, const TestZone& tz);

// The offset at an instant from the transitions themselves: the latest one
// at or before it decides, looked for in the years around it.
std::int32_t offset_by_transitions(const YearRules& r, std::int64_t unix_seconds) {
    if (!r.has_daylight()) return r.standard_offset;
    const std::int64_t u = unix_seconds * 1000;
    const std::int64_t year = civil_from_days(floor_div(unix_seconds, seconds_per_day)).year;
    std::optional<std::int64_t> latest;
    std::int32_t offset = r.standard_offset;
    for (std::int64_t y = year - 2; y <= year + 2; ++y) {
        const std::int64_t start = transition_wall_ms(r.daylight_start, y) - std::int64_t{r.standard_offset} * 1000;
        const std::int64_t end = transition_wall_ms(r.standard_start, y) - std::int64_t{r.daylight_offset} * 1000;
        if (start <= u && (!latest || start > *latest)) {
            latest = start;
            offset = r.daylight_offset;
        }
        if (end <= u && (!latest || end > *latest)) {
            latest = end;
            offset = r.standard_offset;
        }
    }
    return offset;
}

// A date text through every zone and unit choice of the page.
void check_date_text(std::string_view text, const TestZone& tz) {
    const std::string_view trimmed = trim_unicode_white_space(text);
    const auto parsed = parse_date_input(trimmed);
    if (auto rfc = parse_rfc3339(trimmed)) {
        FUZZ_CHECK(parsed && parsed->wall == rfc->wall && parsed->offset == rfc->offset);
        FUZZ_CHECK(rfc->wall.date.year >= 0 && rfc->wall.date.year <= 9999);
    }
    const Conversion utc_s = date_to_timestamp(text, ZoneChoice::Utc, OutputUnit::Seconds, tz.zone);
    const Conversion utc_ms = date_to_timestamp(text, ZoneChoice::Utc, OutputUnit::Milliseconds, tz.zone);
    const Conversion local_s = date_to_timestamp(text, ZoneChoice::Local, OutputUnit::Seconds, tz.zone);
    const Conversion local_ms = date_to_timestamp(text, ZoneChoice::Local, OutputUnit::Milliseconds, tz.zone);
    if (!parsed) {
        for (const Conversion* c : {&utc_s, &utc_ms, &local_s, &local_ms})
            FUZZ_CHECK(!c->ok && c->text == tmsg::bad_date);
        return;
    }
    const DateTime& w = parsed->wall;
    FUZZ_CHECK(fields_in_range(w));
    if (parsed->offset) {
        const std::int32_t o = *parsed->offset;
        FUZZ_CHECK(o > -86400 && o < 86400 && o % 60 == 0);
        FUZZ_CHECK(is_supported_unix_seconds(seconds_since_epoch(w) - o));
    }

    // Written back with the calendar's own formatter (milliseconds, the
    // offset if there was one), the text reads to the same wall time, its
    // fraction cut to milliseconds and a leap second shown as :59.
    std::string again = format_date_time(w, true);
    if (parsed->offset) again += ' ' + format_offset(*parsed->offset);
    const auto reread = parse_date_input(again);
    FUZZ_CHECK(reread.has_value() && reread->offset == parsed->offset);
    DateTime expected = w;
    expected.nanosecond = w.nanosecond % 1'000'000'000u / 1'000'000u * 1'000'000u;
    FUZZ_CHECK(reread->wall == expected);
    if (parsed->offset && w.date.year >= 0 && w.date.year <= 9999) {
        std::string rfc = again;
        rfc[10] = 'T';
        rfc.erase(23, 1);  // the space before the offset
        const auto r = parse_rfc3339(rfc);
        FUZZ_CHECK(r && r->wall == expected && r->offset == parsed->offset);
    }

    // UTC, or the written offset: the instant the text names.
    const std::int32_t utc_offset = parsed->offset.value_or(0);
    const std::int64_t seconds = seconds_since_epoch(w) - utc_offset;
    FUZZ_CHECK(ok_value(utc_s) == seconds);
    const std::int64_t ms = ok_value(utc_ms);
    FUZZ_CHECK(ms == instant_ms(w, utc_offset));
    // And back from the instant to a date that reads to it again.
    check_timestamp(seconds, false, tz);
    if (is_supported_unix_seconds(seconds + (w.nanosecond >= 1'000'000'000u))) {
        const Conversion back = timestamp_to_date(std::to_string(ms), InputUnit::Milliseconds, ZoneChoice::Utc, tz.zone);
        FUZZ_CHECK(back.ok);
        const auto p = parse_date_input(back.text);
        FUZZ_CHECK(p && p->offset == 0 && instant_ms(p->wall, 0) == ms);
    }

    if (parsed->offset) {
        FUZZ_CHECK(ok_value(local_s) == seconds && ok_value(local_ms) == ms);
        return;
    }
    // A local wall time: the instants under the zone's two offsets where the
    // zone agrees with that offset are the candidates, and their number
    // decides between success, ambiguity and absence.
    const std::int64_t wall = seconds_since_epoch(w);
    std::int32_t matches[2];
    int count = 0;
    bool all_supported = true;
    for (std::int32_t o : {tz.rules.standard_offset, tz.rules.daylight_offset}) {
        if (count > 0 && matches[0] == o) continue;
        if (offset_by_transitions(tz.rules, wall - o) == o) {
            matches[count++] = o;
            if (!is_supported_unix_seconds(wall - o)) all_supported = false;
        }
    }
    if (count == 1 && all_supported) {
        const std::int64_t s = ok_value(local_s);
        FUZZ_CHECK(s == wall - matches[0]);
        FUZZ_CHECK(ok_value(local_ms) == instant_ms(w, matches[0]));
        const Conversion shown = timestamp_to_date(local_s.text, InputUnit::Seconds, ZoneChoice::Local, tz.zone);
        FUZZ_CHECK(shown.ok && shown.text == format_date_time(w, false) + ' ' + format_offset(matches[0]));
    } else {
        const char* why = count == 2 && all_supported ? tmsg::ambiguous_local : tmsg::unavailable_local;
        FUZZ_CHECK(!local_s.ok && local_s.text == why);
        FUZZ_CHECK(!local_ms.ok && local_ms.text == why);
    }
}

// A timestamp through the page in both zones: the date it shows reads back to
// the same value, with its offset or, in UTC, without.
void check_timestamp(std::int64_t t, bool millis, const TestZone& tz) {
    const std::string digits = std::to_string(t);
    const InputUnit unit = millis ? InputUnit::Milliseconds : InputUnit::Seconds;
    const OutputUnit out_unit = millis ? OutputUnit::Milliseconds : OutputUnit::Seconds;
    const std::int64_t seconds = millis ? floor_div(t, 1000) : t;
    const Conversion utc = timestamp_to_date(digits, unit, ZoneChoice::Utc, tz.zone);
    const Conversion local = timestamp_to_date(digits, unit, ZoneChoice::Local, tz.zone);
    if (!is_supported_unix_seconds(seconds)) {
        FUZZ_CHECK(!utc.ok && utc.text == tmsg::timestamp_out_of_range);
        FUZZ_CHECK(!local.ok && local.text == tmsg::timestamp_out_of_range);
        return;
    }
    FUZZ_CHECK(utc.ok && utc.text.ends_with(" +00:00"));
    FUZZ_CHECK(ok_value(date_to_timestamp(utc.text, ZoneChoice::Utc, out_unit, tz.zone)) == t);
    FUZZ_CHECK(ok_value(date_to_timestamp(utc.text, ZoneChoice::Local, out_unit, tz.zone)) == t);
    const std::string bare = utc.text.substr(0, utc.text.size() - 7);
    FUZZ_CHECK(ok_value(date_to_timestamp(bare, ZoneChoice::Utc, out_unit, tz.zone)) == t);

    const auto offset = tz.zone.offset_at(seconds);
    FUZZ_CHECK(offset.has_value() && *offset == offset_by_transitions(tz.rules, seconds));
    if (!is_supported_unix_seconds(seconds + *offset)) {
        FUZZ_CHECK(!local.ok && local.text == tmsg::local_out_of_range);
        return;
    }
    FUZZ_CHECK(local.ok && local.text.ends_with(' ' + format_offset(*offset)));
    FUZZ_CHECK(ok_value(date_to_timestamp(local.text, ZoneChoice::Utc, out_unit, tz.zone)) == t);
    // Without its offset the local text names t, or t is one of its two
    // instants.
    const std::string local_bare = local.text.substr(0, local.text.size() - 7);
    const Conversion plain = date_to_timestamp(local_bare, ZoneChoice::Local, out_unit, tz.zone);
    // Near the ends of the range the other instant may fall outside it.
    const bool near_end = seconds - min_unix_seconds < 2 * seconds_per_day || max_unix_seconds - seconds < 2 * seconds_per_day;
    if (plain.ok)
        FUZZ_CHECK(ok_value(plain) == t);
    else
        FUZZ_CHECK(plain.text == tmsg::ambiguous_local || (near_end && plain.text == tmsg::unavailable_local));
}

// The text as typed into the timestamp box, in every unit and zone.
void check_timestamp_text(std::string_view text, const TestZone& tz) {
    const std::string_view trimmed = trim_unicode_white_space(text);
    std::string_view body = trimmed;
    if (!body.empty() && (body.front() == '+' || body.front() == '-')) body.remove_prefix(1);
    bool integer = !body.empty();
    for (char c : body) integer = integer && c >= '0' && c <= '9';
    std::optional<std::int64_t> value;
    if (integer) {
        std::string plain(trimmed.front() == '+' ? trimmed.substr(1) : trimmed);
        value = decimal_value(plain);
    }
    FUZZ_CHECK(parse_timestamp_integer(trimmed) == value);
    for (InputUnit unit : {InputUnit::Auto, InputUnit::Seconds, InputUnit::Milliseconds}) {
        for (ZoneChoice zone : {ZoneChoice::Utc, ZoneChoice::Local}) {
            const Conversion c = timestamp_to_date(text, unit, zone, tz.zone);
            FUZZ_CHECK(c.ok || is_timestamp_message(c.text));
            if (!value) FUZZ_CHECK(!c.ok && c.text == tmsg::not_an_integer);
            if (c.ok) check_date_text(c.text, tz);
        }
    }
    if (value) {
        check_timestamp(*value, false, tz);
        check_timestamp(*value, true, tz);
        // Ten digits or fewer are seconds, counting leading zeros.
        const bool millis = body.size() > 10;
        const Conversion a = timestamp_to_date(text, InputUnit::Auto, ZoneChoice::Utc, tz.zone);
        const Conversion e =
            timestamp_to_date(text, millis ? InputUnit::Milliseconds : InputUnit::Seconds, ZoneChoice::Utc, tz.zone);
        FUZZ_CHECK(a.ok == e.ok && a.text == e.text);
    }
}

// ---- time difference ----

std::string negated(const std::string& v) {
    if (v == "0") return v;
    return v.front() == '-' ? v.substr(1) : '-' + v;
}

// The value in millionths of the unit, after checking its shape: an optional
// minus, a whole number without leading zeros, and up to six fraction digits
// without trailing zeros; never "-0".
__int128 millionths_of(const std::string& v) {
    std::string_view s = v;
    bool negative = !s.empty() && s.front() == '-';
    if (negative) s.remove_prefix(1);
    const std::size_t dot = s.find('.');
    const std::string_view whole = s.substr(0, dot);
    const std::string_view fraction = dot == std::string_view::npos ? std::string_view() : s.substr(dot + 1);
    FUZZ_CHECK(!whole.empty() && (whole.size() == 1 || whole.front() != '0'));
    FUZZ_CHECK(dot == std::string_view::npos || (!fraction.empty() && fraction.size() <= 6 && fraction.back() != '0'));
    __int128 out = 0;
    for (char c : whole) {
        FUZZ_CHECK(c >= '0' && c <= '9');
        out = out * 10 + (c - '0');
    }
    for (std::size_t i = 0; i < 6; ++i) {
        char c = i < fraction.size() ? fraction[i] : '0';
        FUZZ_CHECK(c >= '0' && c <= '9');
        out = out * 10 + (c - '0');
    }
    FUZZ_CHECK(!negative || out != 0);
    return negative ? -out : out;
}

void check_unit_value(std::int64_t difference, std::int64_t unit) {
    const std::string v = format_unit_value(difference, unit);
    const __int128 m = millionths_of(v);
    // Nearest millionth, a tie going away from zero.
    const __int128 exact = static_cast<__int128>(difference) * 1'000'000;
    const __int128 error = m * unit - exact;  // in millionth-milliseconds
    const __int128 twice = error < 0 ? -2 * error : 2 * error;
    FUZZ_CHECK(twice <= unit);
    if (twice == unit) FUZZ_CHECK((error > 0) == (difference > 0));
    if (m != 0) FUZZ_CHECK((m < 0) == (difference < 0));
}

std::uint64_t take_number(std::string_view& s, std::string_view after) {
    std::uint64_t v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    FUZZ_CHECK(ec == std::errc() && end != s.data());
    s.remove_prefix(static_cast<std::size_t>(end - s.data()));
    FUZZ_CHECK(s.starts_with(after));
    s.remove_prefix(after.size());
    return v;
}

void check_breakdown(std::int64_t difference) {
    const std::string b = format_breakdown(difference);
    std::string_view s = b;
    const bool negative = s.starts_with("负 ");
    FUZZ_CHECK(negative == (difference < 0));
    if (negative) s.remove_prefix(std::strlen("负 "));
    const std::uint64_t days = take_number(s, " 天 ");
    const std::uint64_t hours = take_number(s, " 小时 ");
    const std::uint64_t minutes = take_number(s, " 分 ");
    std::uint64_t ms = 0;
    std::uint64_t seconds = 0;
    if (s.find('.') != std::string_view::npos) {
        seconds = take_number(s, ".");
        const std::size_t digits = s.find(' ');
        FUZZ_CHECK(digits >= 1 && digits <= 3 && s[digits - 1] != '0');
        ms = take_number(s, " 秒");
        for (std::size_t n = digits; n < 3; ++n) ms *= 10;
    } else {
        seconds = take_number(s, " 秒");
    }
    FUZZ_CHECK(s.empty() && hours < 24 && minutes < 60 && seconds < 60);
    const std::uint64_t magnitude =
        difference < 0 ? 0 - static_cast<std::uint64_t>(difference) : static_cast<std::uint64_t>(difference);
    FUZZ_CHECK(magnitude == (((days * 24 + hours) * 60 + minutes) * 60 + seconds) * 1000 + ms);
}

std::optional<std::int64_t> check_moment(std::string_view text) {
    const auto m = read_moment(text);
    if (!m) return m;
    // Four-digit years only.
    FUZZ_CHECK(*m >= -62'167'219'200'000 && *m <= 253'402'300'799'999);
    const std::int64_t seconds = floor_div(*m, 1000);
    const auto fraction = static_cast<std::uint32_t>(floor_mod(*m, 1000) * 1'000'000);
    const std::string shown = format_date_time(date_time_at(seconds, fraction), true);
    FUZZ_CHECK(read_moment(shown) == m);
    // The timestamp tool reads the same text to the same time.
    const auto p = parse_date_input(shown);
    FUZZ_CHECK(p && !p->offset && instant_ms(p->wall, 0) == *m);
    return m;
}

void check_time_diff(std::string_view start, std::string_view end, int position) {
    const auto a = check_moment(start);
    const auto b = check_moment(end);
    const TimeDiffResult forward = compute_time_diff(start, end, position);
    const TimeDiffResult backward = compute_time_diff(end, start, position);
    const bool blank = trim_unicode_white_space(start).empty() || trim_unicode_white_space(end).empty();
    for (const TimeDiffResult* r : {&forward, &backward}) {
        FUZZ_CHECK(r->ok == (a && b));
        if (!r->ok) FUZZ_CHECK(r->value.empty() && r->result == dmsg::no_result);
    }
    if (blank) {
        FUZZ_CHECK(forward.breakdown == dmsg::missing_input && backward.breakdown == dmsg::missing_input);
        return;
    }
    if (!a || !b) {
        FUZZ_CHECK(forward.breakdown == (a ? dmsg::bad_end : dmsg::bad_start));
        FUZZ_CHECK(backward.breakdown == (b ? dmsg::bad_end : dmsg::bad_start));
        return;
    }
    const TimeDiffUnit& unit = time_diff_unit_at(position);
    FUZZ_CHECK(forward.value == format_unit_value(*b - *a, unit.milliseconds));
    FUZZ_CHECK(forward.result == forward.value + ' ' + unit.name);
    FUZZ_CHECK(forward.breakdown == format_breakdown(*b - *a));
    FUZZ_CHECK(backward.value == negated(forward.value));
    FUZZ_CHECK(backward.result == backward.value + ' ' + unit.name);
    const std::string_view fb = forward.breakdown, bb = backward.breakdown;
    if (*a == *b)
        FUZZ_CHECK(fb == bb);
    else
        FUZZ_CHECK(fb.starts_with("负 ") ? fb.substr(std::strlen("负 ")) == bb : bb.substr(std::strlen("负 ")) == fb);
    check_unit_value(*b - *a, unit.milliseconds);
}

std::int64_t int64_from(const std::uint8_t* data, std::size_t size) {
    std::uint64_t u = 0;
    if (size > 0) std::memcpy(&u, data, size < 8 ? size : 8);
    return static_cast<std::int64_t>(u);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const TestZone& tz = zone_for(size);
    check_date_text(text, tz);
    check_timestamp_text(text, tz);

    // Two typed moments, one per line; a single line is compared with itself
    // and with the Unix epoch.
    const std::size_t newline = text.find('\n');
    const int position = static_cast<int>(size % 8) - 1;  // -1 and 6 are outside the list
    if (newline != std::string::npos) {
        check_time_diff(std::string_view(text).substr(0, newline), std::string_view(text).substr(newline + 1), position);
    } else {
        check_time_diff(text, text, position);
        check_time_diff(text, "1970-01-01", position);
    }

    // The bytes as numbers: a timestamp anywhere in the supported range, and a
    // difference of any size in every unit.
    const std::int64_t raw = int64_from(data, size);
    const auto span = static_cast<std::uint64_t>(max_unix_seconds - min_unix_seconds) + 1;
    const std::int64_t t = min_unix_seconds + static_cast<std::int64_t>(static_cast<std::uint64_t>(raw) % span);
    check_timestamp(t, false, tz);
    check_timestamp(raw, false, tz);
    check_timestamp(raw, true, tz);
    check_timestamp(raw / 1000, true, tz);
    for (const TimeDiffUnit& unit : time_diff_units) check_unit_value(raw, unit.milliseconds);
    check_breakdown(raw);
    return 0;
}
