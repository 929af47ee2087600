#include "preferences/preferences_win.h"

namespace {

constexpr const wchar_t* value_floating_ball = L"FloatingBall";
constexpr const wchar_t* value_floating_ball_dock = L"FloatingBallDock";
constexpr const wchar_t* value_color_scheme = L"ColorScheme";
constexpr const wchar_t* value_check_updates = L"CheckUpdates";
constexpr const wchar_t* value_hidden_tools = L"HiddenTools";
constexpr const wchar_t* value_visible_tools = L"VisibleTools";

// Longest path GetModuleFileNameW can return, with \\?\ long-path names.
constexpr DWORD longest_module_path = 32768;

class KeyHandle {
public:
    KeyHandle() = default;
    KeyHandle(const KeyHandle&) = delete;
    KeyHandle& operator=(const KeyHandle&) = delete;
    ~KeyHandle() {
        if (key_) RegCloseKey(key_);
    }
    HKEY* out() { return &key_; }
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

std::uint32_t code_of(LSTATUS status) { return static_cast<std::uint32_t>(status); }

std::u16string_view as_utf16(const std::wstring& s) {
    static_assert(sizeof(wchar_t) == sizeof(char16_t));
    return {reinterpret_cast<const char16_t*>(s.data()), s.size()};
}

LSTATUS write_value(HKEY root, const std::wstring& key, const wchar_t* name, DWORD type, const void* data,
                    DWORD bytes) {
    KeyHandle handle;
    LSTATUS status = RegCreateKeyExW(root, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                                     handle.out(), nullptr);
    if (status != ERROR_SUCCESS) return status;
    return RegSetValueExW(handle.get(), name, 0, type, static_cast<const BYTE*>(data), bytes);
}

}  // namespace

std::optional<std::wstring> running_executable_path() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD capacity = static_cast<DWORD>(path.size());
        DWORD length = GetModuleFileNameW(nullptr, path.data(), capacity);
        if (length == 0) return std::nullopt;
        // A full buffer means the path may have been cut; only a shorter
        // result is known to be whole.
        if (length < capacity) {
            path.resize(length);
            return path;
        }
        if (capacity >= longest_module_path) return std::nullopt;
        path.assign(static_cast<std::size_t>(capacity) * 2, L'\0');
    }
}

StoredDword Preferences::load_dword(const wchar_t* name) const {
    // Read any type into room for more than a DWORD, then insist on REG_DWORD
    // of exactly 4 bytes: RRF_RT_DWORD would also let a 4-byte REG_BINARY in.
    // RRF_NOEXPAND matters beyond meaning: Wine expands a REG_EXPAND_SZ past
    // the end of a buffer too small for it.
    DWORD type = REG_NONE;
    std::uint32_t data[2] = {0, 0};
    DWORD bytes = sizeof data;
    LSTATUS status =
        RegGetValueW(location_.root, location_.key.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, &type, data, &bytes);
    if (status != ERROR_SUCCESS || type != REG_DWORD || bytes != sizeof(std::uint32_t)) return std::nullopt;
    return data[0];
}

SaveResult Preferences::save_dword(const wchar_t* name, std::uint32_t value, const char* failure) const {
    DWORD data = value;
    LSTATUS status = write_value(location_.root, location_.key, name, REG_DWORD, &data, sizeof data);
    if (status != ERROR_SUCCESS) return with_error_code(failure, code_of(status));
    return std::nullopt;
}

ColorSchemeSetting Preferences::load_color_scheme() const {
    return decode_color_scheme(load_dword(value_color_scheme));
}

SaveResult Preferences::save_color_scheme(std::uint32_t scheme, Colorref color) const {
    std::optional<std::uint32_t> value = encode_color_scheme(scheme, color);
    if (!value) return std::string(preference_messages::invalid_color_scheme);
    return save_dword(value_color_scheme, *value, preference_messages::save_color_scheme);
}

ToolMask Preferences::load_visible_tools() const {
    StoredDword hidden = load_dword(value_hidden_tools);
    if (hidden) return decode_visible_tools(hidden, std::nullopt);
    return decode_visible_tools(std::nullopt, load_dword(value_visible_tools));
}

SaveResult Preferences::save_visible_tools(ToolMask visible) const {
    return save_dword(value_hidden_tools, encode_hidden_tools(visible), preference_messages::save_visible_tools);
}

bool Preferences::load_floating_ball() const { return decode_floating_ball(load_dword(value_floating_ball)); }

SaveResult Preferences::save_floating_ball(bool on) const {
    return save_dword(value_floating_ball, encode_flag(on), preference_messages::save_floating_ball);
}

bool Preferences::load_floating_ball_dock() const {
    return decode_floating_ball_dock(load_dword(value_floating_ball_dock));
}

SaveResult Preferences::save_floating_ball_dock(bool on) const {
    return save_dword(value_floating_ball_dock, encode_flag(on), preference_messages::save_floating_ball_dock);
}

bool Preferences::load_check_updates() const { return decode_check_updates(load_dword(value_check_updates)); }

SaveResult Preferences::save_check_updates(bool on) const {
    return save_dword(value_check_updates, encode_flag(on), preference_messages::save_check_updates);
}

std::variant<std::wstring, std::string> Preferences::startup_command_line() const {
    std::optional<std::wstring> path = locate_ ? locate_() : std::nullopt;
    if (!path) return std::string(preference_messages::executable_not_found);
    auto built = build_startup_command_line(as_utf16(*path));
    if (auto* message = std::get_if<std::string>(&built)) return std::move(*message);
    const std::u16string& line = std::get<std::u16string>(built);
    return std::wstring(reinterpret_cast<const wchar_t*>(line.data()), line.size());
}

std::variant<bool, std::string> Preferences::load_start_at_login() const {
    // The room of the longest entry this program writes: a longer text is
    // another program's and fails with ERROR_MORE_DATA, which reads as off.
    wchar_t stored[startup_entry_buffer_bytes / sizeof(wchar_t)] = {};
    DWORD bytes = sizeof stored;
    LSTATUS status = RegGetValueW(location_.root, location_.run_key.c_str(), location_.run_value.c_str(),
                                  RRF_RT_REG_SZ | RRF_NOEXPAND, nullptr, stored, &bytes);
    switch (status) {
        case ERROR_SUCCESS:
            break;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_MORE_DATA:
        case ERROR_UNSUPPORTED_TYPE:
            return false;
        default:
            return with_error_code(preference_messages::load_start_at_login, code_of(status));
    }
    auto line = startup_command_line();
    if (auto* message = std::get_if<std::string>(&line)) return std::move(*message);
    return is_startup_entry(as_utf16(std::get<std::wstring>(line)), stored, bytes);
}

SaveResult Preferences::save_start_at_login(bool on) const {
    if (on) {
        auto line = startup_command_line();
        if (auto* message = std::get_if<std::string>(&line)) return std::move(*message);
        const std::wstring& text = std::get<std::wstring>(line);
        LSTATUS status = write_value(location_.root, location_.run_key, location_.run_value.c_str(), REG_SZ,
                                     text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)));
        if (status != ERROR_SUCCESS) return with_error_code(preference_messages::save_start_at_login, code_of(status));
        return std::nullopt;
    }
    LSTATUS status = RegDeleteKeyValueW(location_.root, location_.run_key.c_str(), location_.run_value.c_str());
    if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND)
        return std::nullopt;
    return with_error_code(preference_messages::save_start_at_login, code_of(status));
}
