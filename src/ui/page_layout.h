#pragma once

// The page indices and the layout conventions the tool pages share, in
// logical pixels at 96 DPI relative to the page's client area. Each tool's
// page builder adds its own geometry on top of these.

#include <algorithm>

inline constexpr int page_count = 6;
// Pages 0 to 4 are the tools in side-bar order; page 5 is the settings page.
inline constexpr int json_page = 0;
inline constexpr int timestamp_page = 1;
inline constexpr int uuid_page = 2;
inline constexpr int id_number_page = 3;
inline constexpr int time_diff_page = 4;
inline constexpr int settings_page = 5;

constexpr bool is_page_index(int index) { return index >= 0 && index < page_count; }

inline constexpr const char* page_titles[page_count] = {
    "JSON 格式美化", "时间戳转换", "随机 UUID", "身份证号生成", "时间差值计算器", "设置",
};

inline constexpr int page_left_margin = 28;
inline constexpr int page_title_top = 24;
inline constexpr int caption_height = 20;
inline constexpr int caption_to_field = 24;  // from a caption's top to its field's top
inline constexpr int field_height = 34;      // text fields and buttons
inline constexpr int dropdown_height = 252;  // includes the open list
inline constexpr int json_two_column_above = 519;

constexpr int page_title_height(int index) { return index == json_page ? 38 : 39; }

// The width the page's content (and its title) spans, from the left margin.
constexpr int page_content_width(int index, int page_width) {
    const int full = page_width - 2 * page_left_margin;
    switch (index) {
        case timestamp_page: return std::min(full, 880);
        case time_diff_page: return std::min(full, 760);
        case settings_page: return std::min(page_width - page_left_margin, 720) - page_left_margin;
        default: return full;
    }
}

// Whether the JSON page puts its two columns side by side.
constexpr bool json_columns_side_by_side(int page_width) {
    return page_content_width(json_page, page_width) > json_two_column_above;
}
