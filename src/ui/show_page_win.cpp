#include "ui/show_page_win.h"

#include <memory>

#include "main/app_message.h"
#include "ui/page_builders_win.h"
#include "ui/tool_page_win.h"

HWND open_page(HWND main_window, int index) {
    HWND page = create_page_window(main_window);
    if (!page) {
        set_status(main_window, "无法打开工具页面。", true);
        return nullptr;
    }
    auto record = std::make_unique<ToolPage>();
    record->variant = build_page_variant(page, index);
    attach_tool_page(page, std::move(record));
    return page;
}

void select_side_bar_entry(const std::array<HWND, page_count>& entries, int index) {
    for (int i = 0; i < page_count; ++i) mark_selected(entries[static_cast<std::size_t>(i)], i == index);
}

void send_floating_state(HWND settings_page_window, bool ball_enabled, bool dock_enabled) {
    const WPARAM flags = (ball_enabled ? 1u : 0u) | (dock_enabled ? 2u : 0u);
    SendMessageW(settings_page_window, message_id(AppMessage::FloatingStateChanged), flags, 0);
}
