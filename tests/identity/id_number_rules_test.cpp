#include <gtest/gtest.h>

#include <string>

#include "identity/id_number_rules.h"

namespace {

std::string date_text(std::int64_t days) {
    CivilDate d = civil_from_days(days);
    char text[16];
    std::snprintf(text, sizeof text, "%04lld-%02u-%02u", static_cast<long long>(d.year), d.month, d.day);
    return text;
}

TEST(IdNumberRules, CheckCharacter) {
    struct Case {
        std::string digits;
        char check;
    };
    const Case cases[] = {
        {"11010519491231002", 'X'},  // weighted sum 167, 167 mod 11 = 2
        {"00000000000000000", '1'},  // 0
        {"10000000000000000", '5'},  // 7
        {"00000000000000001", 'X'},  // 2
        {"99999999999999999", '3'},  // 9 * 100 = 900, 900 mod 11 = 9
    };
    for (const Case& c : cases) EXPECT_EQ(check_character(c.digits), c.check) << c.digits;
    // Every remainder 0..10 once: a digit r at position 8 (weight 1), and
    // for 10 a 1 at position 3 (weight 10).
    const std::string chars = "10X98765432";
    for (int r = 0; r < 11; ++r) {
        std::string digits(17, '0');
        if (r == 10) {
            digits[2] = '1';
        } else {
            digits[7] = static_cast<char>('0' + r);
        }
        EXPECT_EQ(check_character(digits), chars[static_cast<std::size_t>(r)]) << digits;
    }
}

TEST(IdNumberRules, AppendFormatsAllFields) {
    std::string out;
    append_id_number(out, {110105, {1949, 12, 31}, 2});
    EXPECT_EQ(out, "11010519491231002X");
    out.clear();
    append_id_number(out, {659012, {1, 2, 3}, 999});
    EXPECT_EQ(out.substr(0, 17), "65901200010203999");
    EXPECT_EQ(out.size(), 18u);
}

TEST(IdNumberRules, Ages) {
    EXPECT_EQ(parse_age(" 18 "), 18u);
    EXPECT_EQ(parse_age("+0"), 0u);
    EXPECT_EQ(parse_age("4294967295"), 4294967295u);
    EXPECT_EQ(parse_age("121"), 121u);  // parses; the range check comes later
    for (std::string_view bad : {"", " ", "+", "-1", "-0", "1.0", "18岁", "4294967296", "0x1"}) {
        EXPECT_EQ(parse_age(bad), std::nullopt) << bad;
    }
}

TEST(IdNumberRules, SequenceRanges) {
    struct Case {
        int position;
        std::uint32_t first, step, count;
    };
    const Case cases[] = {{0, 1, 1, 999}, {1, 1, 2, 500}, {2, 2, 2, 499}, {-1, 1, 1, 999}, {3, 1, 1, 999}};
    for (const Case& c : cases) {
        SequenceRange r = sequence_range(c.position);
        EXPECT_EQ(r.first, c.first) << c.position;
        EXPECT_EQ(r.step, c.step) << c.position;
        EXPECT_EQ(r.count, c.count) << c.position;
        EXPECT_LE(r.first + (r.count - 1) * r.step, 999u);
    }
}

TEST(IdNumberRules, CandidateAreas) {
    const RegionTable& table = region_table();
    struct Case {
        int province, county;
        std::size_t size;      // 0: message
        std::uint32_t first;   // first code when size > 0
        std::string message;
    };
    const Case cases[] = {
        {0, 0, 2849, 110101, ""},
        {-1, -1, 2849, 110101, ""},
        {-1, 0, 2849, 110101, ""},
        {1, 0, 16, 110101, ""},
        {1, -1, 16, 110101, ""},
        {1, 1, 1, 110101, ""},
        {1, 16, 1, 110119, ""},
        {31, 110, 1, 659012, ""},
        {22, 0, 37, 500101, ""},
        {0, 1, 0, 0, "请选择有效的省级地区。"},
        {-1, 1, 0, 0, "请选择有效的省级地区。"},
        {32, 0, 0, 0, "请选择有效的省级地区。"},
        {-2, 0, 2849, 110101, ""},  // any negative position is no selection
        {1, 17, 0, 0, "请选择有效的区县。"},
        {31, 111, 0, 0, "请选择有效的区县。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.province * 1000 + c.county);
        auto result = candidate_areas(c.province, c.county);
        if (c.size == 0) {
            ASSERT_TRUE(std::holds_alternative<std::string>(result));
            EXPECT_EQ(std::get<std::string>(result), c.message);
            continue;
        }
        auto areas = std::get<std::span<const AreaEntry>>(result);
        ASSERT_EQ(areas.size(), c.size);
        EXPECT_EQ(areas[0].code, c.first);
        if (c.size == 1) {
            EXPECT_EQ(areas[0].name, table.provinces[static_cast<std::size_t>(c.province) - 1]
                                         .county_items[static_cast<std::size_t>(c.county)]);
        }
    }
}

TEST(IdNumberRules, BirthDateExamples) {
    struct Case {
        CivilDate today;
        std::uint32_t min, max;
        std::string earliest, latest, message;
    };
    const Case cases[] = {
        {{2026, 1, 1}, 18, 60, "1965-01-02", "2008-01-01", ""},
        {{2026, 1, 1}, 0, 0, "2025-01-02", "2026-01-01", ""},
        {{2024, 3, 1}, 0, 0, "2023-03-02", "2024-03-01", ""},
        {{2024, 2, 29}, 18, 60, "1963-03-01", "2006-02-28", ""},
        {{2024, 2, 29}, 0, 0, "2023-03-01", "2024-02-29", ""},
        {{2025, 2, 28}, 1, 1, "2023-03-01", "2024-02-28", ""},
        {{2026, 1, 1}, 0, 120, "1905-01-02", "2026-01-01", ""},
        {{2026, 1, 1}, 120, 120, "1905-01-02", "1906-01-01", ""},
        {{2026, 1, 1}, 30, 20, "", "", "年龄范围应在 0–120 周岁之间，最小年龄不能大于最大年龄。"},
        {{2026, 1, 1}, 0, 121, "", "", "年龄范围应在 0–120 周岁之间，最小年龄不能大于最大年龄。"},
        {{2026, 1, 1}, 121, 121, "", "", "年龄范围应在 0–120 周岁之间，最小年龄不能大于最大年龄。"},
        {{2026, 1, 1}, 4294967295u, 0, "", "", "年龄范围应在 0–120 周岁之间，最小年龄不能大于最大年龄。"},
        {{121, 12, 31}, 0, 120, "0001-01-01", "0121-12-31", ""},
        {{121, 12, 30}, 0, 120, "", "", "系统日期过早，请检查 Windows 日期设置。"},
        {{50, 6, 1}, 0, 10, "0039-06-02", "0050-06-01", ""},
        {{9999, 12, 31}, 0, 0, "9999-01-01", "9999-12-31", ""},
        {{10000, 1, 1}, 0, 0, "", "", "系统日期超出可用范围，请检查 Windows 日期设置。"},
        {{10000, 1, 1}, 1, 1, "9998-01-02", "9999-01-01", ""},
        {{10005, 3, 1}, 5, 9, "", "", "系统日期超出可用范围，请检查 Windows 日期设置。"},
        {{100, 1, 1}, 200, 10, "", "", "年龄范围应在 0–120 周岁之间，最小年龄不能大于最大年龄。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.today.year) + "/" + std::to_string(c.min) + "-" + std::to_string(c.max));
        auto result = birth_date_range(c.today, c.min, c.max);
        if (!c.message.empty()) {
            ASSERT_TRUE(std::holds_alternative<std::string>(result));
            EXPECT_EQ(std::get<std::string>(result), c.message);
            continue;
        }
        ASSERT_TRUE(std::holds_alternative<BirthRange>(result));
        BirthRange range = std::get<BirthRange>(result);
        EXPECT_EQ(date_text(range.earliest), c.earliest);
        EXPECT_EQ(date_text(range.latest), c.latest);
    }
}

// Age in completed years, counted the plain way: a birthday not yet reached
// this year (29 February counts as reached on 1 March) takes one off.
std::int64_t age_on(CivilDate birth, CivilDate today) {
    std::int64_t age = today.year - birth.year;
    if (today.month < birth.month || (today.month == birth.month && today.day < birth.day)) --age;
    return age;
}

// Everyone born from earliest to latest has an age from min to max, and the
// days just outside have not, for every day of four years and several ranges.
TEST(IdNumberRules, BirthRangeMatchesCompletedYears) {
    const std::uint32_t ranges[][2] = {{0, 0}, {0, 1}, {1, 1}, {18, 60}, {3, 4}, {0, 120}, {120, 120}};
    std::int64_t start = days_from_civil({2023, 1, 1});
    for (std::int64_t t = start; t < start + 4 * 366; ++t) {
        CivilDate today = civil_from_days(t);
        for (const auto& r : ranges) {
            auto range = std::get<BirthRange>(birth_date_range(today, r[0], r[1]));
            ASSERT_EQ(age_on(civil_from_days(range.earliest), today), r[1]) << date_text(t);
            ASSERT_EQ(age_on(civil_from_days(range.earliest - 1), today), r[1] + 1) << date_text(t);
            ASSERT_EQ(age_on(civil_from_days(range.latest), today), r[0]) << date_text(t);
            if (r[0] == 0) {
                ASSERT_EQ(range.latest, t);
            } else {
                ASSERT_EQ(age_on(civil_from_days(range.latest + 1), today), r[0] - 1) << date_text(t);
            }
        }
    }
}

// Index 0 is the first area, the earliest day and the first sequence; the
// last index the last of each; sequence varies fastest, then day, then area.
TEST(IdNumberRules, DecodeOrder) {
    auto areas = region_table().provinces[0].areas;  // 北京市, 16
    IdNumberSpace space{areas, {days_from_civil({2000, 1, 1}), days_from_civil({2000, 1, 10})}, {2, 2, 499}};
    EXPECT_EQ(space.total(), 16u * 10 * 499);
    struct Case {
        std::uint64_t index;
        std::uint32_t code;
        CivilDate date;
        std::uint32_t sequence;
    };
    const Case cases[] = {
        {0, 110101, {2000, 1, 1}, 2},
        {1, 110101, {2000, 1, 1}, 4},
        {498, 110101, {2000, 1, 1}, 998},
        {499, 110101, {2000, 1, 2}, 2},
        {4990, 110102, {2000, 1, 1}, 2},
        {16 * 4990 - 1, areas[15].code, {2000, 1, 10}, 998},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        IdNumberParts parts = decode_index(space, c.index);
        EXPECT_EQ(parts.area_code, c.code);
        EXPECT_EQ(parts.birth_date, c.date);
        EXPECT_EQ(parts.sequence, c.sequence);
    }
}

TEST(IdNumberRules, MaxCountMessage) {
    EXPECT_EQ(max_count_message(182135), "当前条件下最多可生成 182135 条不重复的号码。");
}

}  // namespace
