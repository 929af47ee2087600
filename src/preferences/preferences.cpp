#include "preferences/preferences.h"

#include <cstring>

namespace {

// Scheme in the top byte over a 24-bit colour; schemes 0 to 3 keep the whole
// value below this bound, so anything at or above it was never written by us.
constexpr std::uint32_t color_scheme_bound = 0x4000000;
constexpr std::uint32_t color_bound = 0x1000000;

// The older VisibleTools knew only four tools; the fifth starts visible.
constexpr std::uint32_t legacy_tool_bits = 0x0F;
constexpr std::uint32_t tool_added_later = 0x10;

constexpr std::u16string_view startup_argument = u"--startup";

bool is_separator(char16_t c) { return c == u'\\' || c == u'/'; }
bool is_ascii_letter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// Length of the non-empty run of non-separators at the start of s, or 0.
std::size_t component_length(std::u16string_view s) {
    std::size_t n = 0;
    while (n < s.size() && !is_separator(s[n])) ++n;
    return n;
}

}  // namespace

bool decode_floating_ball(StoredDword raw) { return raw == 1u; }
bool decode_floating_ball_dock(StoredDword raw) { return raw != 0u; }
bool decode_check_updates(StoredDword raw) { return raw == 1u; }

ColorSchemeSetting decode_color_scheme(StoredDword raw) {
    if (!raw || *raw >= color_scheme_bound) return default_color_scheme;
    return ColorSchemeSetting{static_cast<std::uint8_t>(*raw >> 24), *raw & (color_bound - 1)};
}

ToolMask decode_visible_tools(StoredDword hidden_tools, StoredDword visible_tools) {
    if (hidden_tools) return ToolMask(*hidden_tools).complement();
    if (visible_tools) return ToolMask((*visible_tools & legacy_tool_bits) | tool_added_later);
    return ToolMask::all();
}

std::uint32_t encode_flag(bool on) { return on ? 1u : 0u; }

std::optional<std::uint32_t> encode_color_scheme(std::uint32_t scheme, Colorref color) {
    if (scheme >= color_scheme_count || color >= color_bound) return std::nullopt;
    return (scheme << 24) | color;
}

std::uint32_t encode_hidden_tools(ToolMask visible) { return visible.complement().bits(); }

bool is_absolute_windows_path(std::u16string_view path) {
    if (path.size() >= 3 && is_ascii_letter(path[0]) && path[1] == u':' && is_separator(path[2])) return true;
    if (path.size() < 2 || !is_separator(path[0]) || !is_separator(path[1])) return false;
    // \\server\share; \\?\C:\... and \\.\C:\... have this shape too, with "?" or "." as the server.
    std::u16string_view rest = path.substr(2);
    std::size_t server = component_length(rest);
    if (server == 0 || server == rest.size()) return false;
    std::u16string_view share = rest.substr(server + 1);
    return component_length(share) > 0;
}

std::variant<std::u16string, std::string> build_startup_command_line(std::u16string_view exe_path) {
    if (!is_absolute_windows_path(exe_path)) return std::string(preference_messages::path_not_absolute);
    // A NUL would cut the entry short and a quote would end the quoted path
    // early, so that Windows would start something else at login.
    std::u16string line;
    line.reserve(exe_path.size() + 3 + startup_argument.size() + 1);
    line.push_back(u'"');
    for (char16_t unit : exe_path) {
        if (unit == u'\0' || unit == u'"') return std::string(preference_messages::path_invalid_character);
        line.push_back(unit);
    }
    line += u"\" ";
    line += startup_argument;
    if (line.size() > startup_command_line_max) return std::string(preference_messages::path_too_long);
    line.push_back(u'\0');
    return line;
}

bool is_startup_entry(std::u16string_view command_line, const void* stored, std::size_t stored_bytes) {
    std::size_t expected_bytes = command_line.size() * sizeof(char16_t);
    return stored_bytes == expected_bytes && std::memcmp(stored, command_line.data(), expected_bytes) == 0;
}

std::string with_error_code(std::string_view message_template, std::uint32_t code) {
    std::string text(message_template);
    std::size_t at = text.find("{}");
    if (at != std::string::npos) text.replace(at, 2, std::to_string(code));
    return text;
}
