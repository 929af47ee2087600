#include "updates/version.h"

#include <limits>

namespace {

std::optional<std::uint32_t> parse_part(std::string_view part) {
    if (part.empty() || (part.size() > 1 && part[0] == '0')) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : part) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

}  // namespace

std::optional<VersionNumber> parse_version(std::string_view text) {
    std::uint32_t parts[3] = {};
    for (int i = 0; i < 3; ++i) {
        std::size_t dot = text.find('.');
        if ((i < 2) != (dot != std::string_view::npos)) return std::nullopt;
        std::optional<std::uint32_t> part = parse_part(text.substr(0, dot));
        if (!part) return std::nullopt;
        parts[i] = *part;
        text = i < 2 ? text.substr(dot + 1) : std::string_view{};
    }
    return VersionNumber{parts[0], parts[1], parts[2]};
}
