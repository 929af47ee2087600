#pragma once

// A settings page in a plain top-level window that has a status line, with
// the preferences under HKCU\Software\LumaroTest\<random>, removed at the end.

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "../common/private_preferences_key_win.h"
#include "../ui/ui_test_support_win.h"
#include "ui/app_message.h"
#include "preferences/preferences_win.h"
#include "settings/settings_controls.h"
#include "settings/settings_page_win.h"
#include "ui/controls_win.h"
#include "ui/page_layout.h"
#include "ui/tool_page_win.h"
#include "ui/ui_resources_win.h"

namespace settings_test {

inline const std::wstring test_exe = L"C:\\Program Files\\Lumaro\\Lumaro.exe";
inline const std::wstring test_entry = L"\"" + test_exe + L"\" --startup";

inline std::wstring text_of(HWND hwnd) {
    wchar_t buffer[256] = {};
    GetWindowTextW(hwnd, buffer, 256);
    return buffer;
}

inline bool selected(HWND hwnd) { return has_property(hwnd, selected_property); }

// The children of a window in creation order (the first created is on top).
inline std::vector<HWND> children_of(HWND parent) {
    std::vector<HWND> out;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) out.push_back(child);
    return out;
}

// Takes every posted message of that kind from the window's queue; their wParams.
inline std::vector<WPARAM> take_posted(HWND hwnd, AppMessage message) {
    std::vector<WPARAM> out;
    MSG msg;
    while (PeekMessageW(&msg, hwnd, message_id(message), message_id(message), PM_REMOVE)) out.push_back(msg.wParam);
    return out;
}

class SettingsPageTest : public preferences_test::PrivatePreferencesKey {
protected:
    SettingsPageTest() : host_(scale(908), scale(660)) {}

    void SetUp() override {
        ui_resources().palette = derive_palette(0, 0);
        PrivatePreferencesKey::SetUp();
        ASSERT_TRUE(register_page_class(GetModuleHandleW(nullptr)));
        status_ = create_control(host_.hwnd(), ControlKind::StatusLabel, "就绪", status_label_id);
        place_control(status_, 196, 636, 700, 24);
    }

    void TearDown() override {
        if (page_) DestroyWindow(page_);
        PrivatePreferencesKey::TearDown();
        ui_resources().palette = derive_palette(0, 0);
        drain();
    }

    Preferences store() const {
        return Preferences(where_, [] { return std::optional<std::wstring>(test_exe); });
    }

    // Builds the page as show_page does and shows it; `floating` is the
    // FloatingStateChanged wParam the main window would send, if any.
    void build(std::optional<WPARAM> floating = WPARAM{2}) {
        page_ = create_page_window(host_.hwnd());
        ASSERT_NE(page_, nullptr);
        SettingsServices services{store(), [this](HWND owner, const wchar_t* address) {
                                      opened_.push_back(address);
                                      EXPECT_EQ(owner, page_);
                                      return browser_starts_;
                                  }};
        if (color_dialog_fails_)
            services.choose_color = [](HWND, Colorref) { return ColorPick{ColorPickOutcome::Failed, 0}; };
        auto record = std::make_unique<ToolPage>();
        record->variant = build_settings_page(page_, std::move(services));
        attach_tool_page(page_, std::move(record));
        place_control(page_, 168, 0, page_width, 630);
        ShowWindow(page_, SW_SHOWNA);
        if (floating) send_floating(*floating);
        pump();
    }

    void send_floating(WPARAM flags) const {
        SendMessageW(page_, message_id(AppMessage::FloatingStateChanged), flags, 0);
    }

    HWND control(int id) const { return GetDlgItem(page_, id); }
    HWND slot(SettingsSlot s) const {
        const std::vector<HWND> all = children_of(page_);
        return slot_index(s) < all.size() ? all[slot_index(s)] : nullptr;
    }
    HWND list() const { return control(settings_id::scheme_list); }

    // What a click does: the button's BN_CLICKED reaches the page.
    void click(int id) const {
        SendMessageW(page_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control(id)));
    }
    // A selection made by the program followed by the notification a user's change sends.
    void choose_scheme(int index, int code = CBN_SELCHANGE) const {
        SendMessageW(list(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageW(page_, WM_COMMAND, MAKEWPARAM(settings_id::scheme_list, code), reinterpret_cast<LPARAM>(list()));
    }
    int list_selection() const { return dropdown_selection(list()); }

    std::string status() const { return read_text(status_); }
    bool status_is_error() const { return selected(status_); }
    void set_ready() const { set_status(host_.hwnd(), "就绪", false); }

    std::vector<WPARAM> posted(AppMessage message) const { return take_posted(host_.hwnd(), message); }
    void drain() const {
        MSG msg;
        while (PeekMessageW(&msg, host_.hwnd(), WM_APP, 0xBFFF, PM_REMOVE)) {
        }
    }
    static void pump() { ui_test::HostWindow::pump(); }

    std::optional<DWORD> stored_dword(const wchar_t* name) const {
        DWORD value = 0, size = sizeof value, type = 0;
        if (RegGetValueW(HKEY_CURRENT_USER, where_.key.c_str(), name, RRF_RT_ANY, &type, &value, &size) != 0 ||
            type != REG_DWORD)
            return std::nullopt;
        return value;
    }
    void put_dword(const wchar_t* name, DWORD value) const {
        ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, where_.key.c_str(), name, REG_DWORD, &value, sizeof value), 0);
    }
    std::optional<std::wstring> run_value() const {
        wchar_t buffer[300] = {};
        DWORD size = sizeof buffer;
        if (RegGetValueW(HKEY_CURRENT_USER, where_.run_key.c_str(), where_.run_value.c_str(), RRF_RT_REG_SZ, nullptr,
                         buffer, &size) != 0)
            return std::nullopt;
        return std::wstring(buffer);
    }

    static constexpr int page_width = 908 - 168;

    ui_test::HostWindow host_;
    HWND status_ = nullptr;
    HWND page_ = nullptr;
    std::vector<std::wstring> opened_;
    bool browser_starts_ = true;
    bool color_dialog_fails_ = false;
};

}  // namespace settings_test
