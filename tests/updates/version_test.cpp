#include <gtest/gtest.h>

#include <optional>
#include <string_view>

#include "updates/version.h"

namespace {

struct VersionCase {
    std::string_view text;
    std::optional<VersionNumber> expected;
};

TEST(ParseVersion, AcceptsThreePlainPartsOnly) {
    const VersionCase cases[] = {
        {"1.5.0", VersionNumber{1, 5, 0}},
        {"0.0.0", VersionNumber{0, 0, 0}},
        {"1.10.0", VersionNumber{1, 10, 0}},
        {"4294967295.0.1", VersionNumber{4294967295u, 0, 1}},
        {"4294967296.0.0", std::nullopt},
        {"99999999999999999999.0.0", std::nullopt},
        {"01.2.3", std::nullopt},
        {"1.02.3", std::nullopt},
        {"1.2.00", std::nullopt},
        {"1.2", std::nullopt},
        {"1.2.3.4", std::nullopt},
        {"1.2.3-beta", std::nullopt},
        {"1..3", std::nullopt},
        {"v1.2.3", std::nullopt},
        {"+1.2.3", std::nullopt},
        {"1.2.3 ", std::nullopt},
        {" 1.2.3", std::nullopt},
        {"1.2.", std::nullopt},
        {".1.2", std::nullopt},
        {"", std::nullopt},
        {"1.2.3.", std::nullopt},
        {"١.2.3", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(parse_version(c.text), c.expected) << c.text;
}

TEST(ParseVersion, ComparesMajorThenMinorThenPatch) {
    struct Order {
        std::string_view lower, higher;
    };
    const Order cases[] = {
        {"1.5.0", "1.5.1"}, {"1.5.0", "1.6.0"}, {"1.5.0", "2.0.0"},    {"1.4.99", "1.5.0"},
        {"1.9.9", "1.10.0"}, {"0.99.99", "1.0.0"}, {"1.5.4294967295", "1.6.0"},
    };
    for (const auto& c : cases) {
        auto lower = parse_version(c.lower), higher = parse_version(c.higher);
        ASSERT_TRUE(lower && higher) << c.lower << " " << c.higher;
        EXPECT_LT(*lower, *higher) << c.lower << " < " << c.higher;
        EXPECT_FALSE(*higher <= *lower) << c.higher << " <= " << c.lower;
    }
    EXPECT_EQ(parse_version("1.5.0"), parse_version("1.5.0"));
}

}  // namespace
