#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "identity/id_number.h"
#include "test_support.h"

#include "../common/text_lines.h"

namespace {

std::uint32_t number(std::string_view digits) {
    std::uint32_t v = 0;
    for (char c : digits) v = v * 10 + static_cast<std::uint32_t>(c - '0');
    return v;
}

IdNumberRequest request(std::string_view count, std::string_view min_age, std::string_view max_age,
                        int sex, int province, int county, CivilDate today = {2026, 1, 1}) {
    return {count, min_age, max_age, sex, province, county, today};
}

// The first failing check wins; each row breaks its own step and every later
// one it can.
TEST(IdNumber, MessagesInTheirOrder) {
    struct Case {
        IdNumberRequest request;
        std::string message;
    };
    const std::string count = "数量必须是 1 到 10000 之间的整数。";
    const std::string age = "请输入 0 到 120 之间的整数年龄。";
    const std::string range = "年龄范围应在 0–120 周岁之间，最小年龄不能大于最大年龄。";
    const Case cases[] = {
        {request("0", "x", "", 0, 99, 99, {50, 1, 1}), count},
        {request("10001", "18", "60", 0, 0, 0), count},
        {request("", "18", "60", 0, 0, 0), count},
        {request("10", "", "60", 0, 99, 0, {50, 1, 1}), age},
        {request("10", "18", "-1", 0, 99, 0), age},
        {request("10", "1.5", "60", 0, 0, 0), age},
        {request("10", "18", "4294967296", 0, 0, 0), age},
        {request("10", "30", "20", 0, 32, 0, {50, 1, 1}), "请选择有效的省级地区。"},
        {request("10", "18", "60", 0, 0, 3), "请选择有效的省级地区。"},
        {request("10", "18", "60", 0, -1, 1), "请选择有效的省级地区。"},
        {request("10", "30", "20", 0, 1, 17, {50, 1, 1}), "请选择有效的区县。"},
        {request("10", "30", "20", 0, 1, 16, {50, 1, 1}), range},
        {request("10", "0", "121", 0, 0, 0), range},
        {request("10", "121", "121", 0, 0, 0), range},
        {request("10", "4294967295", "4294967295", 0, 0, 0), range},
        {request("10", "0", "120", 0, 0, 0, {100, 1, 1}), "系统日期过早，请检查 Windows 日期设置。"},
        {request("10", "0", "0", 0, 0, 0, {10000, 1, 1}), "系统日期超出可用范围，请检查 Windows 日期设置。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message + " / " + std::string(c.request.count_text) + " " +
                     std::string(c.request.min_age_text) + "-" + std::string(c.request.max_age_text));
        ChaChaRng rng(fixed_seed(1));
        auto outcome = generate_id_numbers(c.request, rng);
        ASSERT_TRUE(std::holds_alternative<std::string>(outcome));
        EXPECT_EQ(std::get<std::string>(outcome), c.message);
    }
}

// No request can reach the maximum message (one area, 365 days and 499
// sequences already exceed 10000), so it is checked one level down, where
// the count is not limited: exactly the total succeeds with every number
// distinct, one more gives the message with the total.
TEST(IdNumber, CountUpToTheExactTotal) {
    struct Case {
        CivilDate today;
        std::uint64_t total;
    };
    const Case cases[] = {{{2026, 6, 15}, 365 * 499}, {{2024, 6, 15}, 366 * 499}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.total);
        auto conditions = read_conditions(request("10", "0", "0", 2, 1, 1, c.today));  // 北京市 东城区, 女
        IdNumberSpace space = std::get<IdNumberConditions>(conditions).space;
        ASSERT_EQ(space.total(), c.total);
        ChaChaRng rng(fixed_seed(2));
        auto too_many = draw_id_numbers(space, static_cast<std::uint32_t>(c.total + 1), rng);
        ASSERT_TRUE(std::holds_alternative<std::string>(too_many));
        EXPECT_EQ(std::get<std::string>(too_many),
                  "当前条件下最多可生成 " + std::to_string(c.total) + " 条不重复的号码。");
        auto all = draw_id_numbers(space, static_cast<std::uint32_t>(c.total), rng);
        const Batch& batch = std::get<Batch>(all);
        auto lines = split_lines(batch.text);
        ASSERT_EQ(lines.size(), c.total);
        std::set<std::string_view> distinct(lines.begin(), lines.end());
        EXPECT_EQ(distinct.size(), c.total);
    }
}

// Every number of a batch is well formed and within its conditions.
TEST(IdNumber, EveryNumberValid) {
    const IdNumberRequest requests[] = {
        request("10000", "18", "60", 0, 0, 0),
        request(" +10000 ", "0", "0", 1, 21, 0, {2024, 2, 29}),
        request("10000", "120", "120", 2, 31, 110, {2025, 3, 1}),
        request("1", "0", "120", 1, 9, 0),
        request("5000", "35", "36", 2, 24, 0, {2000, 12, 31}),
    };
    ChaChaRng rng(fixed_seed(21));
    for (const IdNumberRequest& r : requests) {
        SCOPED_TRACE(std::string(r.count_text) + "/" + std::to_string(r.province_position));
        auto conditions = std::get<IdNumberConditions>(read_conditions(r));
        std::set<std::uint32_t> codes;
        for (const AreaEntry& area : conditions.space.areas) codes.insert(area.code);
        auto outcome = generate_id_numbers(r, rng);
        const Batch& batch = std::get<Batch>(outcome);
        EXPECT_EQ(batch.count, conditions.count);
        EXPECT_GE(batch.text.capacity(), 19u * conditions.count);
        auto lines = split_lines(batch.text);
        ASSERT_EQ(lines.size(), conditions.count);
        EXPECT_EQ(std::set<std::string_view>(lines.begin(), lines.end()).size(), lines.size());
        for (std::string_view line : lines) {
            ASSERT_EQ(line.size(), 18u) << line;
            ASSERT_EQ(line.substr(0, 17).find_first_not_of("0123456789"), std::string_view::npos) << line;
            ASSERT_EQ(codes.count(number(line.substr(0, 6))), 1u) << line;
            std::uint32_t year = number(line.substr(6, 4)), month = number(line.substr(10, 2)),
                          day = number(line.substr(12, 2)), sequence = number(line.substr(14, 3));
            ASSERT_TRUE(is_valid_date(year, month, day)) << line;
            std::int64_t born = days_from_civil({year, month, day});
            ASSERT_GE(born, conditions.space.birth.earliest) << line;
            ASSERT_LE(born, conditions.space.birth.latest) << line;
            ASSERT_NE(sequence, 0u) << line;
            if (r.sex_position == 1) {
                ASSERT_EQ(sequence % 2, 1u) << "男 " << line;
            } else if (r.sex_position == 2) {
                ASSERT_EQ(sequence % 2, 0u) << "女 " << line;
            }
            ASSERT_EQ(line[17], check_character(line.substr(0, 17))) << line;
        }
    }
}

// A fixed seed, 200,000 numbers over the national list with ages 0 to 0 and
// any sex: the areas (2849), birth days (365) and sequences (999) are each
// uniform. An off-by-one or a skewed range leaves a category empty or
// doubled, far past the limit.
TEST(IdNumber, UniformOverAreasDaysAndSequences) {
    ChaChaRng rng(fixed_seed(77));
    auto r = request("10000", "0", "0", 0, 0, 0, {2026, 6, 15});
    auto conditions = std::get<IdNumberConditions>(read_conditions(r));
    const IdNumberSpace& space = conditions.space;
    ASSERT_EQ(space.birth.days(), 365u);
    std::vector<std::uint64_t> areas(2849), days(365), sequences(999);
    std::vector<std::uint32_t> code_position(1000000, 0);
    for (std::size_t k = 0; k < space.areas.size(); ++k) code_position[space.areas[k].code] = static_cast<std::uint32_t>(k);
    for (int batch = 0; batch < 20; ++batch) {
        auto outcome = generate_id_numbers(r, rng);
        for (std::string_view line : split_lines(std::get<Batch>(outcome).text)) {
            ++areas[code_position[number(line.substr(0, 6))]];
            std::int64_t born = days_from_civil({number(line.substr(6, 4)), number(line.substr(10, 2)),
                                                 number(line.substr(12, 2))});
            ++days[static_cast<std::size_t>(born - space.birth.earliest)];
            ++sequences[number(line.substr(14, 3)) - 1];
        }
    }
    EXPECT_LT(chi_square(areas), chi_square_limit(2848));
    EXPECT_LT(chi_square(days), chi_square_limit(364));
    EXPECT_LT(chi_square(sequences), chi_square_limit(998));
    EXPECT_GT(days.front(), 0u);
    EXPECT_GT(days.back(), 0u);
    EXPECT_GT(sequences.back(), 0u);
}

TEST(IdNumber, ThreadGeneratorByDefault) {
    auto outcome = generate_id_numbers(request("3", "18", "60", 0, 0, 0));
    EXPECT_EQ(std::get<Batch>(outcome).text.size(), 3u * 19 - 1);
    EXPECT_EQ(std::get<Batch>(outcome).count, 3u);
}

}  // namespace
