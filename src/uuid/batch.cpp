#include "uuid/batch.h"

#include <limits>

namespace {

// The length of the White_Space code point at the start of text, or 0.
std::size_t white_space_at_start(std::string_view t) {
    if (t.empty()) return 0;
    auto b = [&](std::size_t i) { return static_cast<unsigned char>(t[i]); };
    unsigned char c = b(0);
    if (c == ' ' || (c >= 0x09 && c <= 0x0D)) return 1;
    if (t.size() >= 2 && c == 0xC2 && (b(1) == 0x85 || b(1) == 0xA0)) return 2;
    if (t.size() < 3) return 0;
    if (c == 0xE1 && b(1) == 0x9A && b(2) == 0x80) return 3;  // U+1680
    if (c == 0xE2 && b(1) == 0x80) {  // U+2000-200A, U+2028, U+2029, U+202F
        unsigned char last = b(2);
        if ((last >= 0x80 && last <= 0x8A) || last == 0xA8 || last == 0xA9 || last == 0xAF) return 3;
    }
    if (c == 0xE2 && b(1) == 0x81 && b(2) == 0x9F) return 3;  // U+205F
    if (c == 0xE3 && b(1) == 0x80 && b(2) == 0x80) return 3;  // U+3000
    return 0;
}

// The length of the White_Space code point at the end of text, or 0.
std::size_t white_space_at_end(std::string_view t) {
    for (std::size_t n = 1; n <= 3 && n <= t.size(); ++n) {
        if (white_space_at_start(t.substr(t.size() - n)) == n) return n;
    }
    return 0;
}

}  // namespace

std::string_view trim_unicode_white_space(std::string_view text) {
    while (std::size_t n = white_space_at_start(text)) text.remove_prefix(n);
    while (std::size_t n = white_space_at_end(text)) text.remove_suffix(n);
    return text;
}

ParsedUnsigned parse_unsigned(std::string_view text) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return {};
    constexpr std::uint64_t max = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return {};
        auto digit = static_cast<std::uint64_t>(c - '0');
        if (value > (max - digit) / 10) return {};
        value = value * 10 + digit;
    }
    return {true, value};
}

std::variant<std::uint32_t, std::string> validate_count(std::string_view count_text) {
    ParsedUnsigned parsed = parse_unsigned(trim_unicode_white_space(count_text));
    if (!parsed.ok || parsed.value < 1 || parsed.value > max_batch_count) return std::string(count_message);
    return static_cast<std::uint32_t>(parsed.value);
}

std::string results_heading(std::uint32_t count) {
    return "生成结果（" + std::to_string(count) + " 条）";
}

std::string generated_status(std::uint32_t count) { return "已生成 " + std::to_string(count) + " 条。"; }
