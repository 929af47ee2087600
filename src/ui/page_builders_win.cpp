#include "ui/page_builders_win.h"

#include "identity/id_number_page_win.h"
#include "json/json_page_win.h"
#include "settings/settings_page_win.h"
#include "time_diff/time_diff_page_win.h"
#include "timestamp/timestamp_page_win.h"
#include "ui/page_layout.h"
#include "uuid/uuid_page_win.h"

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
