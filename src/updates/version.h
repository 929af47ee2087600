#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string_view>

// A release version: three parts, compared part by part.
struct VersionNumber {
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t patch = 0;

    friend constexpr auto operator<=>(const VersionNumber&, const VersionNumber&) = default;
};

// Exactly three dot-separated parts of ASCII digits, no leading zero except a
// lone "0", each fitting in 32 bits; nothing for anything else ("v1.2.3",
// "1.2", "1.2.3-beta", "01.2.3").
std::optional<VersionNumber> parse_version(std::string_view text);
