#include "timestamp/date_parse.h"

#include <array>

namespace {

class Cursor {
public:
    explicit Cursor(std::string_view text) : text_(text) {}

    bool at_end() const { return pos_ == text_.size(); }
    bool peek(char c) const { return pos_ < text_.size() && text_[pos_] == c; }
    bool take(char c) {
        if (!peek(c)) return false;
        ++pos_;
        return true;
    }
    bool take_any(std::string_view set) {
        if (pos_ < text_.size() && set.find(text_[pos_]) != std::string_view::npos) {
            ++pos_;
            return true;
        }
        return false;
    }
    // Exactly `count` ASCII digits.
    std::optional<unsigned> digits(std::size_t count) {
        if (text_.size() - pos_ < count) return std::nullopt;
        unsigned value = 0;
        for (std::size_t i = 0; i < count; ++i) {
            char c = text_[pos_ + i];
            if (c < '0' || c > '9') return std::nullopt;
            value = value * 10 + static_cast<unsigned>(c - '0');
        }
        pos_ += count;
        return value;
    }
    // One digit, or two: people type "2026-1-5 8:30".
    std::optional<unsigned> one_or_two_digits() {
        auto value = digits(1);
        if (!value) return std::nullopt;
        if (auto next = digits(1)) return *value * 10 + *next;
        return value;
    }
    // Digits up to the first non-digit, at least `min_count`.
    std::optional<std::int64_t> digit_run(std::size_t min_count) {
        std::size_t start = pos_;
        std::int64_t value = 0;
        while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') {
            if (value < 1'000'000'000'000) value = value * 10 + (text_[pos_] - '0');
            ++pos_;
        }
        if (pos_ - start < min_count) return std::nullopt;
        return value;
    }
    // A dot and one or more digits, as nanoseconds; digits past nine are ignored.
    std::optional<std::uint32_t> fraction() {
        if (!take('.')) return std::nullopt;
        std::size_t start = pos_;
        std::uint32_t nanos = 0, scale = 100'000'000;
        while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') {
            nanos += static_cast<std::uint32_t>(text_[pos_] - '0') * scale;
            scale /= 10;
            ++pos_;
        }
        if (pos_ == start) return std::nullopt;
        return nanos;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

enum class YearForm { FourDigits, Signed };

bool read_date(Cursor& in, YearForm form, DateTime& out) {
    std::int64_t year = 0;
    if (form == YearForm::Signed && (in.peek('+') || in.peek('-'))) {
        bool negative = in.peek('-');
        in.take_any("+-");
        auto magnitude = in.digit_run(4);
        if (!magnitude) return false;
        year = negative ? -*magnitude : *magnitude;
    } else {
        auto four = in.digits(4);
        if (!four) return false;
        year = *four;
    }
    if (!in.take('-')) return false;
    auto month = in.one_or_two_digits();
    if (!month || !in.take('-')) return false;
    auto day = in.one_or_two_digits();
    if (!day) return false;
    if (!is_valid_date(year, *month, *day) || !is_supported_date({year, *month, *day})) return false;
    out.date = {year, *month, *day};
    return true;
}

// hh:mm, then :ss and the fraction when `with_seconds`.
bool read_time(Cursor& in, bool with_seconds, DateTime& out) {
    auto hour = in.one_or_two_digits();
    if (!hour || !in.take(':')) return false;
    auto minute = in.one_or_two_digits();
    if (!minute || *hour > 23 || *minute > 59) return false;
    out.hour = *hour;
    out.minute = *minute;
    out.second = 0;
    out.nanosecond = 0;
    if (!with_seconds) return true;
    if (!in.take(':')) return false;
    auto second = in.one_or_two_digits();
    if (!second || *second > 60) return false;
    if (in.peek('.')) {
        auto nanos = in.fraction();
        if (!nanos) return false;
        out.nanosecond = *nanos;
    }
    out.second = *second;
    if (*second == 60) {
        out.second = 59;
        out.nanosecond += 1'000'000'000u;
    }
    return true;
}

// +hh:mm or -hh:mm, hours 00..23, minutes 00..59.
std::optional<std::int32_t> read_offset(Cursor& in) {
    bool negative = in.peek('-');
    if (!in.take_any("+-")) return std::nullopt;
    auto hours = in.digits(2);
    if (!hours || !in.take(':')) return std::nullopt;
    auto minutes = in.digits(2);
    if (!minutes || *hours > 23 || *minutes > 59) return std::nullopt;
    auto seconds = static_cast<std::int32_t>(*hours * 3600 + *minutes * 60);
    return negative ? -seconds : seconds;
}

std::optional<ParsedDate> with_offset(const DateTime& wall, std::int32_t offset) {
    if (!is_supported_unix_seconds(seconds_since_epoch(wall) - offset)) return std::nullopt;
    return ParsedDate{wall, offset};
}

std::optional<ParsedDate> parse_date_offset(std::string_view text) {
    Cursor in(text);
    DateTime wall;
    if (!read_date(in, YearForm::Signed, wall) || !in.take(' ') || !read_time(in, true, wall) || !in.take(' '))
        return std::nullopt;
    auto offset = read_offset(in);
    if (!offset || !in.at_end()) return std::nullopt;
    return with_offset(wall, *offset);
}

std::optional<ParsedDate> parse_without_offset(std::string_view text, char separator, bool with_seconds) {
    Cursor in(text);
    DateTime wall;
    if (!read_date(in, YearForm::Signed, wall) || !in.take(separator) || !read_time(in, with_seconds, wall) ||
        !in.at_end())
        return std::nullopt;
    return ParsedDate{wall, std::nullopt};
}

std::optional<ParsedDate> parse_date_alone(std::string_view text) {
    Cursor in(text);
    DateTime wall;
    if (!read_date(in, YearForm::Signed, wall) || !in.at_end()) return std::nullopt;
    return ParsedDate{wall, std::nullopt};
}

}  // namespace

std::optional<ParsedDate> parse_rfc3339(std::string_view text) {
    Cursor in(text);
    DateTime wall;
    if (!read_date(in, YearForm::FourDigits, wall) || !in.take_any("Tt ") || !read_time(in, true, wall))
        return std::nullopt;
    std::optional<std::int32_t> offset;
    if (in.take_any("Zz"))
        offset = 0;
    else
        offset = read_offset(in);
    if (!offset || !in.at_end()) return std::nullopt;
    return with_offset(wall, *offset);
}

std::optional<ParsedDate> parse_date_input(std::string_view text) {
    if (auto p = parse_rfc3339(text)) return p;
    if (auto p = parse_date_offset(text)) return p;
    struct Form {
        char separator;
        bool with_seconds;
    };
    static constexpr std::array<Form, 4> forms = {{{' ', true}, {'T', true}, {' ', false}, {'T', false}}};
    for (const Form& f : forms)
        if (auto p = parse_without_offset(text, f.separator, f.with_seconds)) return p;
    return parse_date_alone(text);
}
