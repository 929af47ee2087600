#pragma once

#include <windows.h>

#include <memory>

#include "preferences/preferences_win.h"
#include "settings/color_dialog_win.h"
#include "settings/web_page_win.h"
#include "ui/tool_page_win.h"

// What the page reads, writes and opens beyond its own windows. The program
// uses the defaults; tests give a private registry key, a recording opener and,
// for a dialog that cannot open, a picker of their own.
struct SettingsServices {
    Preferences store;
    AddressOpener open_address = open_in_browser;
    ColorPicker choose_color = pick_color;
};

// Builds the controls and initial content of the settings page inside the page
// window and returns its variant.
std::unique_ptr<PageVariant> build_settings_page(HWND page);
std::unique_ptr<PageVariant> build_settings_page(HWND page, SettingsServices services);
