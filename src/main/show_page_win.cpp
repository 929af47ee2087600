#include "main/main_window_win.h"
#include "main/page_registry_win.h"
#include "ui/app_message.h"
#include "ui/controls_win.h"

namespace {

HWND side_bar_entry(const MainWindow& w, int index) {
    return index == settings_page ? w.settings_item : w.nav_items[index];
}

}  // namespace

bool page_exists(const MainWindow& w, int index) {
    HWND page = w.pages[index];
    return page && IsWindow(page) && GetParent(page) == w.hwnd;
}

void tell_settings_page(const MainWindow& w) {
    if (!page_exists(w, settings_page)) return;
    const WPARAM flags = (w.ball_enabled ? 1u : 0u) | (w.dock_enabled ? 2u : 0u);
    SendMessageW(w.pages[settings_page], message_id(AppMessage::FloatingStateChanged), flags, 0);
}

void show_page(MainWindow& w, int index) {
    if (!is_page_index(index)) return;
    if (index != settings_page && !w.visible_tools.contains(index)) return;
    if (!page_exists(w, index)) {
        HWND page = open_page(w.hwnd, index);
        if (!page) return;
        w.pages[index] = page;
    }
    if (index != w.current && page_exists(w, w.current)) ShowWindow(w.pages[w.current], SW_HIDE);
    w.current = index;
    for (int i = 0; i < page_count; ++i) mark_selected(side_bar_entry(w, i), i == index);
    layout_main_window(w);
    ShowWindow(w.pages[index], SW_SHOWNA);
    set_status(w.hwnd, "就绪", false);
    if (index == settings_page) tell_settings_page(w);
}
