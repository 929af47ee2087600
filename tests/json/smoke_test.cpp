#include <gtest/gtest.h>
#include "json/json_format.h"
TEST(Smoke, Format) {
    auto r = format_json(R"({"a":[1,2],"b":{}})", JsonMode::format);
    ASSERT_TRUE(std::holds_alternative<std::string>(r));
    EXPECT_EQ(std::get<std::string>(r), "{\n  \"a\": [\n    1,\n    2\n  ],\n  \"b\": {}\n}");
}
