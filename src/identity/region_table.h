#pragma once

// The built-in table of county-level areas: 31 province-level divisions in
// the order of the province list, 2849 areas in all. The data is generated
// into region_table_data.cpp by scripts/generate-region-table.

#include <cstdint>
#include <span>
#include <string_view>

struct AreaEntry {
    std::uint32_t code;  // six-digit GB/T 2260 code; its first two digits are the province's
    std::string_view name;  // e.g. "石家庄市 · 长安区", "东城区"
};

struct ProvinceEntry {
    std::string_view name;            // e.g. "河北省"
    std::span<const AreaEntry> areas;  // ascending by code
    // The county list's items: "该地区随机", then the area names in order.
    std::span<const std::string_view> county_items;
};

struct RegionTable {
    std::span<const ProvinceEntry> provinces;  // 31; list position k is provinces[k - 1]
    std::span<const AreaEntry> national;       // all areas in province order
};

const RegionTable& region_table();

inline constexpr std::string_view nationwide_item = "全国随机";

// The province list: "全国随机", then the 31 province names.
std::span<const std::string_view> province_list_items();

// The county list for a province list position: position 0 gives the single
// item "全国随机", 1 to 31 that province's county_items, anything else none.
std::span<const std::string_view> county_list_items(int province_position);
