#pragma once

// show_page: the main window's operation that selects a page, creating the
// page window on its first showing and keeping it afterwards.

#include <windows.h>

#include <array>
#include <concepts>

#include "ui/controls_win.h"
#include "ui/page_layout.h"

// The fields of the main window's record that show_page reads and changes,
// and its layout operation.
template <typename Main>
concept PageHost = requires(Main& main, int index) {
    { main.hwnd } -> std::convertible_to<HWND>;
    { main.nav_items[index] } -> std::convertible_to<HWND>;
    { main.settings_item } -> std::convertible_to<HWND>;
    { main.pages[index] } -> std::assignable_from<HWND>;
    { main.current } -> std::assignable_from<int>;
    { main.visible_tools.contains(index) } -> std::same_as<bool>;
    { main.ball_enabled } -> std::convertible_to<bool>;
    { main.dock_enabled } -> std::convertible_to<bool>;
    layout_main_window(main);
};

// Creates the page window of that index with its controls and record; on
// failure writes "无法打开工具页面。" to the main window's status line as an
// error and returns null.
HWND open_page(HWND main_window, int index);

// "Brivane.Selected" on the entry of the index only; all six invalidated.
void select_side_bar_entry(const std::array<HWND, page_count>& entries, int index);

// Sends FloatingStateChanged (bit 0 ball, bit 1 docking) to the settings page.
void send_floating_state(HWND settings_page_window, bool ball_enabled, bool dock_enabled);

// Ends with the status line at "就绪"; the keyboard focus is not moved.
template <PageHost Main>
void show_page(Main& main, int index) {
    if (!is_page_index(index)) return;
    if (index != settings_page && !main.visible_tools.contains(index)) return;
    if (!main.pages[index]) {
        HWND page = open_page(main.hwnd, index);
        if (!page) return;
        main.pages[index] = page;
    }
    if (index != main.current && main.pages[main.current]) ShowWindow(main.pages[main.current], SW_HIDE);
    main.current = index;
    select_side_bar_entry({main.nav_items[0], main.nav_items[1], main.nav_items[2], main.nav_items[3],
                           main.nav_items[4], main.settings_item},
                          index);
    layout_main_window(main);
    ShowWindow(main.pages[index], SW_SHOWNA);
    set_status(main.hwnd, "就绪", false);
    if (index == settings_page) send_floating_state(main.pages[index], main.ball_enabled, main.dock_enabled);
}
