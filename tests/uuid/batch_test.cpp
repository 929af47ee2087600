#include <gtest/gtest.h>

#include <string>

#include "uuid/batch.h"

namespace {

TEST(Batch, CountValidation) {
    struct Case {
        std::string text;
        std::uint32_t count;  // 0: the message
    };
    const Case cases[] = {
        {" 10 ", 10},
        {"+5", 5},
        {"1", 1},
        {"10000", 10000},
        {"0010", 10},
        {"+0000000000000000000000010000", 10000},
        {"\xE3\x80\x80" "+7\xC2\xA0", 7},
        {"0", 0},
        {"-1", 0},
        {"10001", 0},
        {"1.5", 0},
        {"", 0},
        {"+", 0},
        {"  ", 0},
        {"++5", 0},
        {"+ 5", 0},
        {"5 0", 0},
        {"0x10", 0},
        {"1e3", 0},
        {"\xEF\xBC\x95", 0},            // a full-width digit five
        {"18446744073709551615", 0},    // 2^64 - 1: parses, too large
        {"18446744073709551616", 0},    // 2^64: overflows
        {"4294967306", 0},              // 2^32 + 10 must not wrap to 10
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        auto result = validate_count(c.text);
        if (c.count == 0) {
            ASSERT_TRUE(std::holds_alternative<std::string>(result));
            EXPECT_EQ(std::get<std::string>(result), "数量必须是 1 到 10000 之间的整数。");
        } else {
            ASSERT_TRUE(std::holds_alternative<std::uint32_t>(result));
            EXPECT_EQ(std::get<std::uint32_t>(result), c.count);
        }
    }
}

TEST(Batch, ParseUnsignedLimits) {
    EXPECT_EQ(parse_unsigned("18446744073709551615"), 18446744073709551615ull);
    EXPECT_EQ(parse_unsigned("18446744073709551616"), std::nullopt);
    EXPECT_EQ(parse_unsigned("99999999999999999999"), std::nullopt);
    EXPECT_EQ(parse_unsigned(" 1"), std::nullopt);  // no trimming here
    EXPECT_EQ(parse_unsigned("+0"), 0u);
}

TEST(Batch, HeadingAndStatus) {
    EXPECT_EQ(results_heading(10000), "生成结果（10000 条）");
    EXPECT_EQ(results_heading(1), "生成结果（1 条）");
    EXPECT_EQ(generated_status(10), "已生成 10 条。");
}

}  // namespace
