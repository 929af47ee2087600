#pragma once

#include <windows.h>

#include "floating/floating_ball_win.h"
#include "preferences/preferences.h"
#include "ui/page_layout.h"
#include "ui/window_record_win.h"

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
struct MainWindow : WindowRecord {
    HWND nav_items[5] = {};
    HWND settings_item = nullptr;
    HWND pages[page_count] = {};
    FloatingBall* ball = nullptr;  // the ball window's record, while that window exists
    HWND ball_window = nullptr;
    HWND hwnd = nullptr;
    HWND brand_label = nullptr;
    HWND status_label = nullptr;
    int current = 0;
    ToolMask visible_tools;
    bool ball_enabled = false;
    bool dock_enabled = true;
    HWND focus = nullptr;  // the focused control when the window was last deactivated
};

LRESULT CALLBACK main_window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
bool register_main_window_class(HINSTANCE instance);

// The record of a main window, or null before WM_CREATE finished and after
// WM_NCDESTROY.
MainWindow* main_window_record(HWND hwnd);

void layout_main_window(MainWindow& w);
void show_main_window(MainWindow& w);
// The page window of that index exists: made, and not destroyed since by
// anything other than the main window.
bool page_exists(const MainWindow& w, int index);
// Selects the page: creates its window on its first showing (or when it is
// gone) and keeps it afterwards. Ends with the status line at "就绪"; the
// keyboard focus is not moved.
void show_page(MainWindow& w, int index);
// Sends FloatingStateChanged (bit 0 ball, bit 1 docking) to the settings
// page, which then also reads the start-at-login entry again.
void tell_settings_page(const MainWindow& w);
// Shows the floating ball (creating it on first use) and hides the window;
// false when the ball is switched off or could not be shown.
bool collapse_to_ball(MainWindow& w);
// Saves and applies the FloatingBall preference.
void set_floating_ball(MainWindow& w, bool on);
// Saves and applies the opposite of the FloatingBallDock preference.
void toggle_dock(MainWindow& w);
