#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>

#include "identity/region_table.h"

namespace {

constexpr std::string_view dot = " \xC2\xB7 ";  // space, U+00B7 MIDDLE DOT, space

TEST(RegionTable, ProvincesInListOrderWithTheirCounts) {
    struct Province {
        std::string_view name;
        std::uint32_t prefix;
        std::size_t areas;
    };
    const Province expected[31] = {
        {"北京市", 11, 16},        {"天津市", 12, 16},        {"河北省", 13, 167},
        {"山西省", 14, 117},       {"内蒙古自治区", 15, 103}, {"辽宁省", 21, 100},
        {"吉林省", 22, 60},        {"黑龙江省", 23, 121},     {"上海市", 31, 16},
        {"江苏省", 32, 95},        {"浙江省", 33, 90},        {"安徽省", 34, 104},
        {"福建省", 35, 84},        {"江西省", 36, 100},       {"山东省", 37, 136},
        {"河南省", 41, 157},       {"湖北省", 42, 103},       {"湖南省", 43, 122},
        {"广东省", 44, 124},       {"广西壮族自治区", 45, 111}, {"海南省", 46, 26},
        {"重庆市", 50, 37},        {"四川省", 51, 183},       {"贵州省", 52, 88},
        {"云南省", 53, 129},       {"西藏自治区", 54, 74},    {"陕西省", 61, 107},
        {"甘肃省", 62, 87},        {"青海省", 63, 44},        {"宁夏回族自治区", 64, 22},
        {"新疆维吾尔自治区", 65, 110},
    };
    const RegionTable& table = region_table();
    ASSERT_EQ(table.provinces.size(), 31u);
    EXPECT_EQ(table.national.size(), 2849u);
    std::size_t offset = 0;
    for (std::size_t p = 0; p < 31; ++p) {
        const ProvinceEntry& entry = table.provinces[p];
        SCOPED_TRACE(entry.name);
        EXPECT_EQ(entry.name, expected[p].name);
        ASSERT_EQ(entry.areas.size(), expected[p].areas);
        // The national list is the provinces' lists one after another.
        EXPECT_EQ(entry.areas.data(), table.national.data() + offset);
        offset += entry.areas.size();
        for (std::size_t k = 0; k < entry.areas.size(); ++k) {
            std::uint32_t code = entry.areas[k].code;
            EXPECT_GE(code, 100000u);
            EXPECT_LE(code, 999999u);
            EXPECT_EQ(code / 10000, expected[p].prefix) << code;
            if (k > 0) {
                EXPECT_LT(entry.areas[k - 1].code, code);
            }
        }
    }
    EXPECT_EQ(offset, 2849u);
}

TEST(RegionTable, CountyListsBeginWithAnyAreaThenTheAreas) {
    for (const ProvinceEntry& province : region_table().provinces) {
        SCOPED_TRACE(province.name);
        ASSERT_EQ(province.county_items.size(), province.areas.size() + 1);
        EXPECT_EQ(province.county_items[0], "该地区随机");
        for (std::size_t k = 0; k < province.areas.size(); ++k) {
            EXPECT_EQ(province.county_items[k + 1], province.areas[k].name);
        }
    }
    EXPECT_EQ(nationwide_item, "全国随机");
}

const AreaEntry* find(std::uint32_t code) {
    for (const AreaEntry& area : region_table().national) {
        if (area.code == code) return &area;
    }
    return nullptr;
}

TEST(RegionTable, NamedEntries) {
    struct Case {
        std::uint32_t code;
        std::string_view name;
    };
    const Case cases[] = {
        {130102, "石家庄市 · 长安区"}, {152201, "兴安盟 · 乌兰浩特市"},
        {110101, "东城区"},            {429004, "仙桃市"},
        {469001, "五指山市"},          {659001, "石河子市"},
        {441900, "东莞市"},            {442000, "中山市"},
        {460400, "儋州市"},            {620200, "嘉峪关市"},
        {659011, "新星市"},            {659012, "白杨市"},
        {500157, "两江新区"},          {120119, "蓟州区"},
        {520201, "六盘水市 · 钟山区"}, {653228, "和田地区 · 和康县"},
        {653229, "和田地区 · 和安县"}, {460302, "三沙市 · 西沙区"},
        {460303, "三沙市 · 南沙区"},   {419001, "济源市"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        const AreaEntry* area = find(c.code);
        ASSERT_NE(area, nullptr);
        EXPECT_EQ(area->name, c.name);
    }
    for (std::uint32_t absent : {500105u, 500112u, 110000u, 130100u, 130101u, 810001u, 820001u, 710001u}) {
        EXPECT_EQ(find(absent), nullptr) << absent;
    }
}

// Plain names exactly for municipal districts, units directly under a
// province (xx90yy) and the four cities without districts; every other name
// is "prefecture · county". Codes ending in 00 are only those four cities,
// and the only code ending in 01 under a city (a placeholder position) is
// the genuine district 520201.
TEST(RegionTable, DisplayNameFormAndExcludedRows) {
    const std::set<std::uint32_t> cities_without_districts{441900, 442000, 460400, 620200};
    const std::set<std::uint32_t> municipalities{11, 12, 31, 50};
    std::set<std::uint32_t> codes, ending_00;
    for (const AreaEntry& area : region_table().national) {
        SCOPED_TRACE(area.code);
        EXPECT_TRUE(codes.insert(area.code).second) << "duplicate";
        bool plain = municipalities.count(area.code / 10000) != 0 || area.code / 100 % 100 == 90 ||
                     cities_without_districts.count(area.code) != 0;
        std::size_t at = area.name.find(dot);
        EXPECT_EQ(at == std::string_view::npos, plain) << area.name;
        if (!plain) {
            EXPECT_GT(at, 0u);
            EXPECT_LT(at + dot.size(), area.name.size());
            EXPECT_EQ(area.name.find(dot, at + 1), std::string_view::npos);
            std::string_view prefecture = area.name.substr(0, at);
            if (area.code % 100 == 1 && prefecture.ends_with("市")) {
                EXPECT_EQ(area.code, 520201u);
            }
        }
        EXPECT_FALSE(area.name.empty());
        if (area.code % 100 == 0) ending_00.insert(area.code);
    }
    EXPECT_EQ(ending_00, cities_without_districts);
}

}  // namespace

namespace {

TEST(RegionLists, ProvinceAndCountyItems) {
    auto provinces = province_list_items();
    ASSERT_EQ(provinces.size(), 32u);
    EXPECT_EQ(provinces[0], "全国随机");
    EXPECT_EQ(provinces[1], "北京市");
    EXPECT_EQ(provinces[31], "新疆维吾尔自治区");

    struct Case {
        int position;
        std::size_t size;
        std::string_view first, last;
    };
    const Case cases[] = {
        {0, 1, "全国随机", "全国随机"},
        {1, 17, "该地区随机", "延庆区"},
        {22, 38, "该地区随机", "彭水苗族土家族自治县"},
        {31, 111, "该地区随机", "白杨市"},
        {32, 0, "", ""},
        {-1, 0, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        auto items = county_list_items(c.position);
        ASSERT_EQ(items.size(), c.size);
        if (c.size == 0) continue;
        EXPECT_EQ(items.front(), c.first);
        EXPECT_EQ(items.back(), c.last);
    }
}

}  // namespace
