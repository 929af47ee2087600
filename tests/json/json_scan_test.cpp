// The scanner's grammar and error positions, checked through all three drivers:
// each rejected text must give the same message at the same place in the
// pretty form, the compact form and the tree.
#include <gtest/gtest.h>

#include "json/json_messages.h"
#include "json_test_support.h"

namespace m = json_messages;

namespace {

struct RejectCase {
    std::string text;
    const char* message;
    int line;
    int column;  // characters, 1-based
};

std::string nested_arrays(int depth) { return std::string(depth, '[') + std::string(depth, ']'); }

const RejectCase reject_cases[] = {
    {"", m::end_expect_value, 1, 1},
    {"   ", m::end_expect_value, 1, 4},
    {"[", m::end_expect_value, 1, 2},
    {"{\"a\":", m::end_expect_value, 1, 6},
    {"[1,", m::end_expect_value, 1, 4},
    {"[1,]", m::expect_value, 1, 4},
    {"]", m::expect_value, 1, 1},
    {"+1", m::expect_value, 1, 1},
    {".5", m::expect_value, 1, 1},
    {"NaN", m::expect_value, 1, 1},
    {"'a'", m::expect_value, 1, 1},
    {"\x01", m::expect_value, 1, 1},
    {"\x7F", m::expect_value, 1, 1},
    {"\xC3\xA9", m::expect_value, 1, 1},
    {"\f1", m::expect_value, 1, 1},
    {"\xEF\xBB\xBF\xEF\xBB\xBF{}", m::expect_value, 1, 2},
    {"{\"a\":1,}", m::key_quote, 1, 8},
    {"{1:2}", m::key_quote, 1, 2},
    {"{", m::key_quote, 1, 2},
    {"\xEF\xBB\xBF{", m::key_quote, 1, 3},
    {"{'a':1}", m::key_quote, 1, 2},
    {"{\"a\" 1}", m::key_colon, 1, 6},
    {"{\"a\"", m::key_colon, 1, 5},
    {"[1 2]", m::comma_or_bracket, 1, 4},
    {"[1", m::comma_or_bracket, 1, 3},
    {"[1}", m::comma_or_bracket, 1, 3},
    {"{\"a\":1 \"b\":2}", m::comma_or_brace, 1, 8},
    {"{\"a\":1", m::comma_or_brace, 1, 7},
    {"{\"a\":1]", m::comma_or_brace, 1, 7},
    {"1 2", m::trailing, 1, 3},
    {"truex", m::trailing, 1, 5},
    {"12x", m::trailing, 1, 3},
    {"{}}", m::trailing, 1, 3},
    {"01", m::leading_zero, 1, 2},
    {"-01", m::leading_zero, 1, 3},
    {"-", m::expect_digit, 1, 2},
    {"-a", m::expect_digit, 1, 2},
    {"[-]", m::expect_digit, 1, 3},
    {"1.", m::fraction_digit, 1, 3},
    {"1.e5", m::fraction_digit, 1, 3},
    {"1e+", m::exponent_digit, 1, 4},
    {"1E", m::exponent_digit, 1, 3},
    {"1e-x", m::exponent_digit, 1, 4},
    {"tru", m::bad_literal, 1, 4},
    {"trUe", m::bad_literal, 1, 3},
    {"fals", m::bad_literal, 1, 5},
    {"nulL", m::bad_literal, 1, 4},
    {"TRUE", m::expect_value, 1, 1},
    {"\"a\tb\"", m::control_in_string, 1, 3},
    {"\"a\nb\"", m::control_in_string, 1, 3},
    {"\"\\u12G4\"", m::unicode_escape, 1, 6},
    {"\"\\u12", m::unicode_escape, 1, 6},
    {"\"\\x\"", m::bad_escape, 1, 3},
    {"\"\\U0041\"", m::bad_escape, 1, 3},
    {"\"\\", m::bad_escape, 1, 3},
    {"\"abc", m::unterminated_string, 1, 5},
    {"\"abc\\\"", m::unterminated_string, 1, 7},
    {nested_arrays(257), m::too_deep, 1, 257},
    {"\r\n\r\n x", m::expect_value, 3, 2},
    {"\r\r x", m::expect_value, 3, 2},
    {"\n\r x", m::expect_value, 3, 2},
    {"[\"a\"\n, x]", m::expect_value, 2, 3},
    {"{\n  \"k\": [1,\n    2 3]}", m::comma_or_bracket, 3, 7},
    {"[\"\xF0\x9F\x98\x80\" x]", m::comma_or_bracket, 1, 6},
    {"\"\xE4\xB8\xAD\xE6\x96\x87\" 1", m::trailing, 1, 6},
};

JSON_SCAN_SUITE(JsonScan);

TEST_P(JsonScan, RejectsWithTheSamePositionedErrorInEveryDriver) {
    for (const RejectCase& c : reject_cases) {
        SCOPED_TRACE("text: " + c.text.substr(0, 40));
        ScanOutcomes r = scan_all_ways(c.text);
        const JsonError* pretty = error_of(r.pretty);
        const JsonError* compact = error_of(r.compact);
        const JsonError* tree = error_of(r.tree);
        ASSERT_TRUE(pretty && compact && tree);
        EXPECT_TRUE(pretty->positioned);
        EXPECT_EQ(pretty->message, positioned_message(c.message, c.line, c.column));
        EXPECT_EQ(pretty->line, static_cast<std::uint64_t>(c.line));
        EXPECT_TRUE(same_error(*pretty, *compact));
        EXPECT_TRUE(same_error(*pretty, *tree));
    }
}

TEST_P(JsonScan, AcceptsEveryFormOfTheGrammar) {
    const char* accepted[] = {
        "0", "-0", "1E5", "1e-5", "0.5", "-12.340e+10", "123456789012345678901234567890",
        "true", "false", "null", "\"\"", "\"\\uD800\"", "\"\\\"\\\\\\/\\b\\f\\n\\r\\t\\u00e9\\uABCD\"",
        "\"\x7F\xC3\xA9\xF0\x9F\x98\x80\"", "[]", "{}", " [ ] ", "\t\r\n{\"a\" :\t1 ,\"a\":2}\r\n",
        "\xEF\xBB\xBF[1]", "[[[]],{}]", "{\"\":{\"\":[]}}",
    };
    for (const char* text : accepted) {
        SCOPED_TRACE(text);
        ScanOutcomes r = scan_all_ways(text);
        EXPECT_EQ(error_of(r.pretty), nullptr) << output_of(r.pretty);
        EXPECT_EQ(error_of(r.compact), nullptr) << output_of(r.compact);
        EXPECT_EQ(error_of(r.tree), nullptr);
    }
}

// Runs of string bytes, digits and indentation are read a byte at a time for
// sixteen bytes, then in blocks: a run of every length up to past two blocks
// after that must end exactly where its last byte is.
TEST_P(JsonScan, RunsEndAtTheirLastByteWhateverTheirLength) {
    for (std::size_t n = 1; n <= 56; ++n) {
        SCOPED_TRACE(n);
        const int after = static_cast<int>(n) + 2;  // column just past the run and its opener
        const RejectCase cases[] = {
            {"\"" + std::string(n, 'a') + "\x01\"", m::control_in_string, 1, after},
            {"\"" + std::string(n, 'a'), m::unterminated_string, 1, after},
            {"[" + std::string(n, '7') + "x]", m::comma_or_bracket, 1, after},
            {"0." + std::string(n, '5') + "e", m::exponent_digit, 1, after + 2},
            {"1e" + std::string(n, '5') + "]", m::trailing, 1, after + 1},
            {"[\n" + std::string(n, ' ') + "x]", m::expect_value, 2, static_cast<int>(n) + 1},
            {"[\n" + std::string(n, ' '), m::end_expect_value, 2, static_cast<int>(n) + 1},
        };
        for (const RejectCase& c : cases) {
            ScanOutcomes r = scan_all_ways(c.text);
            ASSERT_NE(error_of(r.tree), nullptr) << c.text;
            EXPECT_EQ(error_of(r.tree)->message, positioned_message(c.message, c.line, c.column)) << c.text;
            EXPECT_TRUE(same_error(*error_of(r.tree), *error_of(r.compact)));
        }
        std::string accepted = "[\n" + std::string(n, ' ') + "\"" + std::string(n, 'b') + "\", " + std::string(n, '9') + "]";
        EXPECT_EQ(output_of(format_json(accepted, JsonMode::compact)),
                  "[\"" + std::string(n, 'b') + "\"," + std::string(n, '9') + "]");
    }
}

TEST_P(JsonScan, NestingLimitIsExactly256Containers) {
    std::string objects;
    for (int i = 0; i < 255; ++i) objects += "{\"k\":";
    objects += "[1]";
    for (int i = 0; i < 255; ++i) objects += "}";
    for (const std::string& text : {nested_arrays(256), objects}) {
        ScanOutcomes r = scan_all_ways(text);
        EXPECT_EQ(error_of(r.pretty), nullptr);
        EXPECT_EQ(error_of(r.compact), nullptr);
        EXPECT_EQ(error_of(r.tree), nullptr);
    }
    // The 257th bracket fails even when it would be empty or unterminated.
    for (const std::string& text : {std::string(257, '['), std::string(256, '[') + "{}" + std::string(256, ']')}) {
        auto r = format_json(text, JsonMode::compact);
        ASSERT_NE(error_of(r), nullptr);
        EXPECT_EQ(error_of(r)->message, positioned_message(m::too_deep, 1, 257));
    }
}

TEST_P(JsonScan, ErrorSelectionCountsUtf16UnitsOfTheLine) {
    struct Case {
        std::string text;
        std::uint64_t column_utf16, length_utf16;
    };
    const Case cases[] = {
        {"[\"\xF0\x9F\x98\x80\" x]", 6, 1},         // the emoji counts one character, two units
        {"\"\xF0\x9F\x98\x80", 3, 0},               // end of text: nothing to select
        {"\xF0\x9F\x98\x80", 0, 2},                 // the offending character itself is non-BMP
        {"[1,\n\"\xE4\xB8\xAD\"\n x]", 1, 1},
        {"\xEF\xBB\xBF{", 2, 0},                    // the mark is one unit of line 1
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        auto r = format_json(c.text, JsonMode::format);
        ASSERT_NE(error_of(r), nullptr);
        EXPECT_EQ(error_of(r)->column_utf16, c.column_utf16);
        EXPECT_EQ(error_of(r)->length_utf16, c.length_utf16);
    }
}

TEST_P(JsonScan, ContextMarksTheOffendingCharacter) {
    struct Case {
        std::string text;
        std::string context;
    };
    const Case cases[] = {
        {"", "⟦文本末尾⟧"},
        {"   ", "   ⟦文本末尾⟧"},
        {"\"a\tb\"", "\"a⟦制表符⟧b\""},
        {"[1,\n]", "⟦]⟧"},
        {"[1 2]", "[1 ⟦2⟧]"},
        {"\"a\nb\"", "\"a⟦换行⟧"},
        {"{\"a\":1\n", "⟦文本末尾⟧"},
        {"[\"\xE4\xB8\xAD\" x]\r\nnext", "[\"\xE4\xB8\xAD\" ⟦x⟧]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        auto r = build_json_tree(c.text);
        ASSERT_NE(error_of(r), nullptr);
        EXPECT_EQ(error_of(r)->context, c.context);
    }
}

}  // namespace
