#include "json/json_tree_label.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>

#include "json/json_tree.h"
#include "json_test_support.h"

namespace {

struct ShortenCase {
    const char* name;
    std::string text;
    std::string expected;
};

class Shorten : public ::testing::TestWithParam<ShortenCase> {};

TEST_P(Shorten, KeepsAtMost88CharactersAndMarksTheCut) { EXPECT_EQ(shorten(GetParam().text), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Cases, Shorten,
    ::testing::Values(
        ShortenCase{"Empty", "", ""},
        ShortenCase{"Short", "true", "true"},
        ShortenCase{"Exactly88Ascii", repeat("a", 88), repeat("a", 88)},
        ShortenCase{"89Ascii", repeat("a", 89), repeat("a", 88) + "…"},
        ShortenCase{"LongAscii", repeat("b", 5000), repeat("b", 88) + "…"},
        // Three bytes each: 264 bytes are still 88 characters.
        ShortenCase{"Exactly88Chinese", repeat("汉", 88), repeat("汉", 88)},
        ShortenCase{"89Chinese", repeat("汉", 89), repeat("汉", 88) + "…"},
        // Four bytes each (a character outside the basic plane).
        ShortenCase{"89Emoji", repeat("😀", 89), repeat("😀", 88) + "…"},
        ShortenCase{"MixedWidths", repeat("aé汉😀", 30), repeat("aé汉😀", 22) + "…"},
        ShortenCase{"AlreadyEndsWithEllipsis", repeat("…", 88), repeat("…", 88)},
        // A stray byte is one character and a character is never split.
        ShortenCase{"IllFormedBytes", "\xFF" + repeat("é", 88), "\xFF" + repeat("é", 87) + "…"}),
    [](const auto& test) { return std::string(test.param.name); });

struct LabelCase {
    const char* name;
    std::string json;
    std::uint32_t node;
    std::string expected;
};

class NodeLabel : public ::testing::TestWithParam<LabelCase> {};

TEST_P(NodeLabel, IsCutFromTheTextByTheNodeOffsets) {
    auto built = build_json_tree(GetParam().json);
    ASSERT_TRUE(std::holds_alternative<JsonTree>(built)) << std::get<JsonError>(built).message;
    EXPECT_EQ(json_node_label(std::get<JsonTree>(built), GetParam().node), GetParam().expected);
}

const std::string long_value = "\"" + repeat("v", 120) + "\"";
const std::string long_key = "\"" + repeat("键", 100) + "\"";

INSTANTIATE_TEST_SUITE_P(
    Cases, NodeLabel,
    ::testing::Values(
        LabelCase{"ArrayRoot", R"([1,{"k":true}])", 0, "[…] 2 项"},
        LabelCase{"FirstElement", R"([1,{"k":true}])", 1, "[0]: 1"},
        LabelCase{"ObjectElement", R"([1,{"k":true}])", 2, "[1]: {…} 1 项"},
        LabelCase{"MemberKeepsItsQuotes", R"([1,{"k":true}])", 3, "\"k\": true"},
        LabelCase{"TopLevelNumber", " 42 ", 0, "42"},
        LabelCase{"TopLevelString", R"("x y")", 0, "\"x y\""},
        LabelCase{"TopLevelNull", "null", 0, "null"},
        LabelCase{"EmptyObject", "{}", 0, "{}"},
        LabelCase{"EmptyArray", "[ ]", 0, "[]"},
        LabelCase{"EmptyObjectMember", R"({"a":{},"b":[]})", 1, "\"a\": {}"},
        LabelCase{"EmptyArrayMember", R"({"a":{},"b":[]})", 2, "\"b\": []"},
        LabelCase{"ObjectCount", R"({"a":1,"b":2,"c":[3]})", 0, "{…} 3 项"},
        LabelCase{"NestedArrayCount", R"({"a":1,"b":2,"c":[3]})", 3, "\"c\": […] 1 项"},
        LabelCase{"NumberAsSpelled", "[-1.50E+010]", 1, "[0]: -1.50E+010"},
        LabelCase{"FalseElement", "[0,false]", 2, "[1]: false"},
        LabelCase{"EscapesAsWritten", R"(["a\nb\"c\u00e9"])", 1, R"([0]: "a\nb\"c\u00e9")"},
        LabelCase{"EscapedKeyAsWritten", R"({"t\tab":"\/"})", 1, R"("t\tab": "\/")"},
        LabelCase{"ByteOrderMark", "\xEF\xBB\xBF[7]", 1, "[0]: 7"},
        LabelCase{"ByteOrderMarkRoot", "\xEF\xBB\xBF{\"a\":7}", 0, "{…} 1 项"},
        // The quotation marks count among the 88 characters.
        LabelCase{"LongValue", "[" + long_value + "]", 1, "[0]: \"" + repeat("v", 87) + "…"},
        LabelCase{"LongKeyAndValue", "{" + long_key + ":" + long_value + "}", 1,
                  "\"" + repeat("键", 87) + "…: \"" + repeat("v", 87) + "…"},
        LabelCase{"Value88Exactly", "[\"" + repeat("w", 86) + "\"]", 1, "[0]: \"" + repeat("w", 86) + "\""},
        LabelCase{"ChineseValue", "[\"" + repeat("中", 90) + "\"]", 1, "[0]: \"" + repeat("中", 87) + "…"},
        LabelCase{"IndexPastThree", "[0,0,0,0,0,0,0,0,0,0,0,[]]", 12, "[11]: []"},
        LabelCase{"NoSuchNode", "[1]", 2, ""}),
    [](const auto& test) { return std::string(test.param.name); });

// A table whose offsets run past its text (never built by the scanner) gives
// what lies inside the text instead of reading beyond it.
TEST(NodeLabelOffsets, AreClampedToTheText) {
    JsonTree tree;
    tree.text = R"({"k":1})";
    tree.nodes = {
        JsonNode{0, 1, 0, 0, 0, 1, 0},
        JsonNode{2, 5, 900, 1, 800, 0, 0},
    };
    EXPECT_EQ(json_node_label(tree, 1), R"("k":1}: 1})");
    tree.nodes[1] = JsonNode{2, 700, 900, 600, 650, 0, 0};
    EXPECT_EQ(json_node_label(tree, 1), ": ");
}

}  // namespace
