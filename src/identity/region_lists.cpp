#include <array>

#include "identity/region_table.h"

std::span<const std::string_view> province_list_items() {
    static const std::array<std::string_view, 32> items = [] {
        std::array<std::string_view, 32> list{nationwide_item};
        const RegionTable& table = region_table();
        for (std::size_t k = 0; k < table.provinces.size() && k + 1 < list.size(); ++k) {
            list[k + 1] = table.provinces[k].name;
        }
        return list;
    }();
    return items;
}

std::span<const std::string_view> county_list_items(int province_position) {
    static constexpr std::string_view nationwide[1] = {nationwide_item};
    const RegionTable& table = region_table();
    if (province_position == 0) return nationwide;
    if (province_position < 0 || static_cast<std::size_t>(province_position) > table.provinces.size()) return {};
    return table.provinces[static_cast<std::size_t>(province_position) - 1].county_items;
}
