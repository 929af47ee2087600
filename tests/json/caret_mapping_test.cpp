#include <gtest/gtest.h>

#include "json/caret_mapping.h"
#include "json/json_format.h"

namespace {

std::string pretty(const std::string& text) { return std::get<std::string>(format_json(text, JsonMode::format)); }

TEST(SameUpToLineBreaks, Cases) {
    struct Case {
        std::string input, output;
        bool same;
    };
    const Case cases[] = {
        {"{\r\n  \"a\": 1\r\n}", "{\n  \"a\": 1\n}", true},
        {"{\r  \"a\": 1\r}", "{\n  \"a\": 1\n}", true},
        {"{\n  \"a\": 1\n}", "{\n  \"a\": 1\n}", true},
        {"", "", true},
        {"{\"a\":1}", "{\n  \"a\": 1\n}", false},
        {"{\r\n}", "{\n}\n", false},  // the output goes on
        {"{\r\n}x", "{\n}", false},   // the input goes on
        {"\r\r\n", "\n\n", true},
        {"\r\n", "\r\n", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        EXPECT_EQ(same_up_to_line_breaks(c.input, c.output), c.same);
    }
}

TEST(MapSelection, CaretsAndSelections) {
    struct Case {
        std::string input;
        std::uint32_t start, end;
        bool rich;
        std::uint32_t mapped_start, mapped_end;
    };
    const Case cases[] = {
        {"{\"a\":1}", 6, 6, false, 11, 11},               // after the 1: "{", LF (2), two spaces, "a": , 1
        {"{\"a\":1}", 6, 6, true, 10, 10},
        {"{\"a\":1}", 0, 0, false, 0, 0},
        {"   {\"a\":1}", 2, 2, false, 0, 0},              // before the first token
        {"{\"a\":1}", 1, 7, false, 1, 14},                // a selection keeps both ends
        {"{\"a\":1,   \"b\":2}", 9, 9, false, 12, 12},    // in white space: just after the comma
        {"{\"a b\":1}", 3, 3, false, 7, 7},               // inside a string: the same character
        {"\xEF\xBB\xBF{\"a\":1}", 2, 2, false, 1, 1},     // the mark is not significant
        {"[\r\n1]", 4, 4, false, 6, 6},                   // CR LF counts 2 in a plain control
        {"[\r\n1]", 3, 3, true, 5, 5},                    // and 1 in a rich one
        {"[\"\xF0\x9F\x98\x80\",2]", 5, 5, false, 9, 9},  // the emoji counts two units
        {"{\"a\":\"x\\\" y\"}", 9, 9, false, 14, 14},     // an escaped quote does not end the string
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input + " @" + std::to_string(c.start));
        SelectionRange r = map_selection(c.input, pretty(c.input), {c.start, c.end}, c.rich);
        EXPECT_EQ(r.start, c.mapped_start);
        EXPECT_EQ(r.end, c.mapped_end);
    }
}

}  // namespace
