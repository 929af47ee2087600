#pragma once

// The real main window, made in the test process through the same code the
// entry uses, and the program's preference values it reads at creation.

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>

#include "main/main_window_win.h"
#include "ui/tool_page_win.h"
#include "ui/ui_resources_win.h"

namespace main_window_test {

inline constexpr wchar_t preferences_key[] = L"Software\\Brivane";

// A DWORD under the program's key in HKCU; no value removes it.
inline void store_preference(const wchar_t* name, std::optional<DWORD> value) {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, preferences_key, name);
    if (value) RegSetKeyValueW(HKEY_CURRENT_USER, preferences_key, name, REG_DWORD, &*value, sizeof(DWORD));
}

// The DWORD stored under the program's key, if there is one.
inline std::optional<DWORD> stored_preference(const wchar_t* name) {
    DWORD value = 0, size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, preferences_key, name, RRF_RT_REG_DWORD, nullptr, &value, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

// The main window at its start size, not yet shown, and its record. Fails
// the test (call it inside ASSERT_NO_FATAL_FAILURE) when either is missing.
inline void open_main_window(HWND& hwnd, MainWindow*& record) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    register_main_window_class(instance);
    register_page_class(instance);
    RECT r{0, 0, scale(main_client_width), scale(main_client_height)};
    AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, FALSE, 0);
    hwnd = CreateWindowExW(0, main_window_class, main_window_caption, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                           r.right - r.left, r.bottom - r.top, nullptr, nullptr, instance, nullptr);
    ASSERT_NE(hwnd, nullptr);
    record = main_window_record(hwnd);
    ASSERT_NE(record, nullptr);
}

}  // namespace main_window_test
