// The pretty and compact forms, and the pretty form's size limit.
#include <gtest/gtest.h>

#include "json/json_messages.h"
#include "json_test_support.h"

namespace {

struct FormCase {
    std::string input;
    std::string pretty;
    std::string compact;
};

const FormCase form_cases[] = {
    {"[]", "[]", "[]"},
    {"{}", "{}", "{}"},
    {" [ ] ", "[]", "[]"},
    {"[{}]", "[\n  {}\n]", "[{}]"},
    {"{\"a\":[1,2],\"b\":{}}", "{\n  \"a\": [\n    1,\n    2\n  ],\n  \"b\": {}\n}", "{\"a\":[1,2],\"b\":{}}"},
    {"[1.50, 1E+2, -0, 0.000e-0]", "[\n  1.50,\n  1E+2,\n  -0,\n  0.000e-0\n]", "[1.50,1E+2,-0,0.000e-0]"},
    {"\"\\u00e9 \xC3\xA9\\/\"", "\"\\u00e9 \xC3\xA9\\/\"", "\"\\u00e9 \xC3\xA9\\/\""},
    {"{\"k\":1,\"k\":2}", "{\n  \"k\": 1,\n  \"k\": 2\n}", "{\"k\":1,\"k\":2}"},
    {"\xEF\xBB\xBF \r\n{ \"a\" : true }\r\n", "{\n  \"a\": true\n}", "{\"a\":true}"},
    {"\t42\n", "42", "42"},
    {"[[],[[]],{\"x\":[]}]", "[\n  [],\n  [\n    []\n  ],\n  {\n    \"x\": []\n  }\n]", "[[],[[]],{\"x\":[]}]"},
    {"{\"a b\" :\"c, d\",\"e\\\"\":null}", "{\n  \"a b\": \"c, d\",\n  \"e\\\"\": null\n}", "{\"a b\":\"c, d\",\"e\\\"\":null}"},
};

JSON_SCAN_SUITE(JsonForms);

TEST_P(JsonForms, PrettyAndCompactOutputs) {
    for (const FormCase& c : form_cases) {
        SCOPED_TRACE(c.input);
        EXPECT_EQ(output_of(format_json(c.input, JsonMode::format)), c.pretty);
        EXPECT_EQ(output_of(format_json(c.input, JsonMode::compact)), c.compact);
    }
}

TEST_P(JsonForms, DeepestIndentationIs512Spaces) {
    std::string text = std::string(256, '[') + "7" + std::string(256, ']');
    std::string out = output_of(format_json(text, JsonMode::format));
    EXPECT_NE(out.find("\n" + std::string(512, ' ') + "7\n"), std::string::npos);
    EXPECT_EQ(out.find(std::string(513, ' ')), std::string::npos);
}

// [1,1,...,1,100]: 2 + 5n bytes plus 2 for the longer last number.
std::string ones_array(std::size_t n, const char* last) {
    std::string text = "[";
    text.reserve(2 * n + 8);
    for (std::size_t i = 1; i < n; ++i) text += "1,";
    text += last;
    text += "]";
    return text;
}

TEST(JsonFormLimit, PrettyOutputOfExactlyTheLimitSucceeds) {
    const std::size_t n = (json_pretty_limit - 4) / 5;  // 5,033,164 elements
    ASSERT_EQ(2 + 5 * n + 2, json_pretty_limit);
    auto ok = format_json(ones_array(n, "100"), JsonMode::format);
    ASSERT_EQ(error_of(ok), nullptr);
    EXPECT_EQ(std::get<std::string>(ok).size(), json_pretty_limit);

    auto over = format_json(ones_array(n, "1000"), JsonMode::format);
    ASSERT_NE(error_of(over), nullptr);
    EXPECT_FALSE(error_of(over)->positioned);
    EXPECT_EQ(error_of(over)->message, json_messages::pretty_too_large);
    EXPECT_EQ(error_of(over)->context, "");
}

TEST(JsonFormLimit, TopLevelScalarAtTheLimit) {
    std::string text = "\"" + std::string(json_pretty_limit - 2, 'a') + "\"";
    auto ok = format_json(text, JsonMode::format);
    ASSERT_EQ(error_of(ok), nullptr);
    EXPECT_EQ(std::get<std::string>(ok), text);
    text.insert(1, "b");
    auto over = format_json(text, JsonMode::format);
    ASSERT_NE(error_of(over), nullptr);
    EXPECT_EQ(error_of(over)->message, json_messages::pretty_too_large);
}

TEST(JsonFormLimit, LargeInputThatOnlyCompactCanHold) {
    // About 20 MiB of [1,1,...]: its pretty form would be 2.5 times larger.
    std::string text = ones_array(10 * 1024 * 1024, "1");
    auto pretty = format_json(text, JsonMode::format);
    ASSERT_NE(error_of(pretty), nullptr);
    EXPECT_EQ(error_of(pretty)->message, json_messages::pretty_too_large);
    auto compact = format_json(text, JsonMode::compact);
    ASSERT_EQ(error_of(compact), nullptr);
    EXPECT_EQ(std::get<std::string>(compact), text);
}

TEST(JsonFormLimit, ScanErrorBeforeTheLimitStillWins) {
    std::string text = ones_array(4 * 1024 * 1024, "1") + "x";
    auto pretty = format_json(text, JsonMode::format);
    ASSERT_NE(error_of(pretty), nullptr);
    EXPECT_TRUE(error_of(pretty)->positioned);
}

}  // namespace

namespace {

// Documents over 64 KiB whose start is indented and whose rest is compact, and
// the other way round: the pretty form sizes its buffer differently for each.
JSON_SCAN_SUITE(JsonFormLarge);

TEST_P(JsonFormLarge, MixedLayoutsGiveTheSameForms) {
    std::string indented, compact_part;
    for (int i = 0; i < 3000; ++i) {
        indented += "\n    {\n        \"id\": " + std::to_string(i) + ",\n        \"tags\": [ \"a\", \"b\" ]\n    },";
        compact_part += "{\"id\":" + std::to_string(i) + ",\"tags\":[\"a\",\"b\"]},";
    }
    compact_part.pop_back();
    const std::string docs[] = {"[" + indented + compact_part + "]", "[" + compact_part + "," + indented + "0]"};
    for (const std::string& doc : docs) {
        ASSERT_GT(doc.size(), 64u * 1024);
        std::string pretty = output_of(format_json(doc, JsonMode::format));
        std::string compact = output_of(format_json(doc, JsonMode::compact));
        EXPECT_EQ(output_of(format_json(compact, JsonMode::format)), pretty);
        EXPECT_EQ(output_of(format_json(pretty, JsonMode::compact)), compact);
        EXPECT_EQ(pretty.substr(0, 20), "[\n  {\n    \"id\": 0,\n ");
    }
}

TEST_P(JsonFormLarge, LateErrorsAreTheSameInEveryForm) {
    std::string filler;
    for (int i = 0; i < 20000; ++i) filler += "[1, 2],";
    for (const std::string& tail : {std::string("tru]"), std::string("]x"), std::string("{\"k\" 1}]")}) {
        std::string doc = "[" + filler + tail;
        auto pretty = format_json(doc, JsonMode::format);
        auto compact = format_json(doc, JsonMode::compact);
        ASSERT_NE(error_of(pretty), nullptr);
        ASSERT_NE(error_of(compact), nullptr);
        EXPECT_TRUE(same_error(*error_of(pretty), *error_of(compact)));
    }
}

}  // namespace
