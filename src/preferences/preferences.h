#pragma once

// The registry rules of the preferences, kept free of Win32 so that they are
// tested natively: how each raw DWORD decodes, what a save writes, and the
// start-at-login command line. preferences_win.h does the registry calls.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "ui/palette.h"

inline constexpr int tool_count = 5;

// A set over the five tools in their fixed order (bit i is tool i). Bits above
// bit 4 never survive construction, so two masks compare by meaning.
class ToolMask {
public:
    static constexpr std::uint32_t all_bits = 0x1F;

    constexpr ToolMask() = default;
    constexpr explicit ToolMask(std::uint32_t raw) : bits_(static_cast<std::uint8_t>(raw & all_bits)) {}
    static constexpr ToolMask all() { return ToolMask(all_bits); }

    constexpr std::uint32_t bits() const { return bits_; }
    constexpr bool contains(int tool) const {
        return tool >= 0 && tool < tool_count && ((bits_ >> tool) & 1u) != 0;
    }
    constexpr ToolMask with(int tool, bool present) const {
        if (tool < 0 || tool >= tool_count) return *this;
        std::uint32_t bit = 1u << tool;
        return ToolMask(present ? (bits_ | bit) : (bits_ & ~bit));
    }
    constexpr ToolMask complement() const { return ToolMask(~std::uint32_t{bits_}); }

    friend constexpr bool operator==(ToolMask, ToolMask) = default;

private:
    std::uint8_t bits_ = 0;
};

struct ColorSchemeSetting {
    std::uint8_t scheme = 0;  // index into color_scheme_names
    Colorref color = 0;       // the custom accent, kept whatever the scheme

    friend constexpr bool operator==(const ColorSchemeSetting&, const ColorSchemeSetting&) = default;
};

inline constexpr ColorSchemeSetting default_color_scheme{0, 0x5E650C};

// Every decoder takes the stored DWORD, or nothing when the value is absent
// or not a 4-byte REG_DWORD; the caller never has to tell those apart.
using StoredDword = std::optional<std::uint32_t>;

bool decode_floating_ball(StoredDword raw);
bool decode_floating_ball_dock(StoredDword raw);
bool decode_check_updates(StoredDword raw);
ColorSchemeSetting decode_color_scheme(StoredDword raw);
// VisibleTools is the older form; it is consulted only without HiddenTools.
ToolMask decode_visible_tools(StoredDword hidden_tools, StoredDword visible_tools);

std::uint32_t encode_flag(bool on);
// Nothing when scheme or colour is out of range: such a save writes nothing.
std::optional<std::uint32_t> encode_color_scheme(std::uint32_t scheme, Colorref color);
std::uint32_t encode_hidden_tools(ToolMask visible);

inline constexpr std::size_t startup_command_line_max = 260;  // UTF-16 units, without the NUL
inline constexpr std::size_t startup_entry_buffer_bytes = 2 * (startup_command_line_max + 1);

// Drive letter, colon and separator; \\server\share; or a \\?\ or \\.\ path.
bool is_absolute_windows_path(std::u16string_view path);

// The Run entry for the executable at exe_path: the quoted path, a space and
// --startup, with its terminating NUL counted in size(). Or the message why
// that path cannot be written.
std::variant<std::u16string, std::string> build_startup_command_line(std::u16string_view exe_path);

// Whether the Run value read back (its bytes and byte count) is exactly our
// entry; command_line includes its NUL, as build_startup_command_line gives it.
bool is_startup_entry(std::u16string_view command_line, const void* stored, std::size_t stored_bytes);

// The failure texts, with "{}" standing for the Windows error code.
namespace preference_messages {
inline constexpr const char* save_floating_ball = "无法保存悬浮球设置（错误 {}）。";
inline constexpr const char* save_color_scheme = "无法保存主题配色（错误 {}）。";
inline constexpr const char* save_check_updates = "无法保存更新设置（错误 {}）。";
inline constexpr const char* save_visible_tools = "无法保存工具列表（错误 {}）。";
inline constexpr const char* save_floating_ball_dock = "无法保存自动贴边设置（错误 {}）。";
inline constexpr const char* load_start_at_login = "无法读取开机启动设置（错误 {}）。";
inline constexpr const char* save_start_at_login = "无法更新开机启动设置（错误 {}）。";
inline constexpr const char* invalid_color_scheme = "主题配色无效。";
inline constexpr const char* executable_not_found = "无法定位工具箱程序。";
inline constexpr const char* path_not_absolute = "无法获取工具箱的绝对路径。";
inline constexpr const char* path_invalid_character = "工具箱路径含有无效字符。";
inline constexpr const char* path_too_long = "工具箱路径过长，请移到较短的路径后再开启。";
}  // namespace preference_messages

// The template with its "{}" replaced by the code in unsigned decimal.
std::string with_error_code(std::string_view message_template, std::uint32_t code);
