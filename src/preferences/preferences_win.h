#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <variant>

#include "preferences/preferences.h"

// Where the values live. The defaults are the program's own; tests point the
// store at a private key so that they never touch the user's settings.
struct PreferencesLocation {
    HKEY root = HKEY_CURRENT_USER;
    std::wstring key = L"Software\\Brivane";
    std::wstring run_key = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    std::wstring run_value = L"Brivane";
};

// The full path of the running executable, or nothing when the system cannot
// tell. Replaceable so that the path rules can be exercised with any path.
using ExecutableLocator = std::function<std::optional<std::wstring>()>;
std::optional<std::wstring> running_executable_path();

// A save gives nothing on success or the message to show; a load that can fail
// gives its value or the message. Nothing is cached: every call goes to the
// registry, so an edit made outside the program shows at the next load.
using SaveResult = std::optional<std::string>;

class Preferences {
public:
    Preferences() : Preferences(PreferencesLocation{}) {}
    explicit Preferences(PreferencesLocation location, ExecutableLocator locate = running_executable_path)
        : location_(std::move(location)), locate_(std::move(locate)) {}

    ColorSchemeSetting load_color_scheme() const;
    SaveResult save_color_scheme(std::uint32_t scheme, Colorref color) const;
    ToolMask load_visible_tools() const;
    SaveResult save_visible_tools(ToolMask visible) const;
    bool load_floating_ball() const;
    SaveResult save_floating_ball(bool on) const;
    bool load_floating_ball_dock() const;
    SaveResult save_floating_ball_dock(bool on) const;
    bool load_check_updates() const;
    SaveResult save_check_updates(bool on) const;

    // NUL-terminated, the NUL counted in size(): exactly what the Run value holds.
    std::variant<std::wstring, std::string> startup_command_line() const;
    std::variant<bool, std::string> load_start_at_login() const;
    SaveResult save_start_at_login(bool on) const;

private:
    StoredDword load_dword(const wchar_t* name) const;
    SaveResult save_dword(const wchar_t* name, std::uint32_t value, const char* failure) const;

    PreferencesLocation location_;
    ExecutableLocator locate_;
};
