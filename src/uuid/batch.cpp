#include "uuid/batch.h"

#include "ui/white_space.h"

#include <limits>

std::optional<std::uint64_t> parse_unsigned(std::string_view text) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    constexpr std::uint64_t max = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        auto digit = static_cast<std::uint64_t>(c - '0');
        if (value > (max - digit) / 10) return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

std::variant<std::uint32_t, std::string> validate_count(std::string_view count_text) {
    auto parsed = parse_unsigned(trim_unicode_white_space(count_text));
    if (!parsed || *parsed < 1 || *parsed > max_batch_count) return std::string(count_message);
    return static_cast<std::uint32_t>(*parsed);
}

std::string results_heading(std::uint32_t count) {
    return "生成结果（" + std::to_string(count) + " 条）";
}

std::string generated_status(std::uint32_t count) { return "已生成 " + std::to_string(count) + " 条。"; }
