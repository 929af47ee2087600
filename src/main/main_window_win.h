#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "floating/floating_ball_win.h"
#include "preferences/preferences.h"
#include "ui/page_layout.h"

// Both carry the version, so that two releases never take each other's window.
inline constexpr wchar_t main_window_class[] = L"Brivane.MainWindow." LUMARO_VERSION;
inline constexpr wchar_t main_window_caption[] = L"Lumaro " LUMARO_VERSION;
inline constexpr int first_nav_id = 10;
inline constexpr UINT_PTR update_timer_id = 110;
inline constexpr UINT update_timer_period = 21'600'000;  // 6 hours

// Logical client sizes.
inline constexpr int main_client_width = 1076;
inline constexpr int main_client_height = 690;
inline constexpr int main_min_client_width = 768;
inline constexpr int main_min_client_height = 585;
inline constexpr int sidebar_width = 168;

// The record of the one top-level window, reached through its user-data slot.
struct MainWindow {
    std::int64_t borrow = 0;  // 0 free, -1 while a guarded handler runs
    bool destroyed = false;   // the window went away while the record was borrowed
    HWND nav_items[5] = {};
    HWND settings_item = nullptr;
    HWND pages[page_count] = {};
    std::unique_ptr<FloatingBall> ball;  // present while the ball window exists
    HWND ball_window = nullptr;
    HWND hwnd = nullptr;
    HWND brand_label = nullptr;
    HWND status_label = nullptr;
    int current = 0;
    ToolMask visible_tools;
    bool ball_enabled = false;
    bool dock_enabled = true;
};

LRESULT CALLBACK main_window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
bool register_main_window_class(HINSTANCE instance);

// The record of a main window, or null before WM_CREATE finished and after
// WM_NCDESTROY.
MainWindow* main_window_record(HWND hwnd);

void layout_main_window(MainWindow& w);
void show_main_window(MainWindow& w);
// Shows the floating ball (creating it on first use) and hides the window;
// false when the ball is switched off or could not be shown.
bool collapse_to_ball(MainWindow& w);
// Saves and applies the FloatingBall preference.
void set_floating_ball(MainWindow& w, bool on);
// Saves and applies the opposite of the FloatingBallDock preference.
void toggle_dock(MainWindow& w);
