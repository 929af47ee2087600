#include <gtest/gtest.h>

#include "settings/settings_rules.h"

namespace {

TEST(SchemeStep, DecidesWhatApplyingMeans) {
    struct Case {
        ColorSchemeSetting current;
        std::uint32_t scheme;
        Colorref color;
        SchemeStep step;
    } const cases[] = {
        {{0, 0x5E650C}, 0, 0x5E650C, SchemeStep::Unchanged},
        {{3, 0x123456}, 3, 0x123456, SchemeStep::Unchanged},
        {{0, 0x5E650C}, 1, 0x5E650C, SchemeStep::Save},
        {{0, 0x5E650C}, 0, 0x5E650D, SchemeStep::Save},  // same index, other colour is written
        {{3, 0x123456}, 3, 0x000000, SchemeStep::Save},
        {{3, 0x123456}, 3, 0xFFFFFF, SchemeStep::Save},
        {{0, 0x5E650C}, 4, 0x5E650C, SchemeStep::Invalid},
        {{0, 0x5E650C}, 255, 0, SchemeStep::Invalid},
        {{0, 0x5E650C}, 3, 0x1000000, SchemeStep::Invalid},
        {{0, 0x5E650C}, 0, 0xFFFFFFFF, SchemeStep::Invalid},
    };
    for (const Case& c : cases)
        EXPECT_EQ(scheme_step(c.current, c.scheme, c.color), c.step) << c.scheme << " " << c.color;
}

TEST(ToolSwitchedText, NamesTheToolAndWhatHappened) {
    EXPECT_EQ(tool_switched_text(1, false), "时间戳已隐藏。");
    EXPECT_EQ(tool_switched_text(1, true), "时间戳已显示。");
    EXPECT_EQ(tool_switched_text(0, false), "JSON 美化已隐藏。");
    EXPECT_EQ(tool_switched_text(2, true), "UUID 生成已显示。");
    EXPECT_EQ(tool_switched_text(3, false), "身份证号已隐藏。");
    EXPECT_EQ(tool_switched_text(4, true), "时间差值已显示。");
    EXPECT_EQ(tool_switched_text(5, true), "");
    EXPECT_EQ(tool_switched_text(-1, true), "");
}

}  // namespace
