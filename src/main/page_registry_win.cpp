#include "main/page_registry_win.h"

#include <memory>

#include "identity/id_number_page_win.h"
#include "json/json_page_win.h"
#include "settings/settings_page_win.h"
#include "time_diff/time_diff_page_win.h"
#include "timestamp/timestamp_page_win.h"
#include "ui/controls_win.h"
#include "ui/page_layout.h"
#include "ui/tool_page_win.h"
#include "uuid/uuid_page_win.h"

namespace {

std::unique_ptr<PageVariant> build_page_variant(HWND page, int index) {
    switch (index) {
    case json_page: return build_json_page(page);
    case timestamp_page: return build_timestamp_page(page);
    case uuid_page: return build_uuid_page(page);
    case id_number_page: return build_id_number_page(page);
    case time_diff_page: return build_time_diff_page(page);
    default: return build_settings_page(page);
    }
}

}  // namespace

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
