// Escaping a text into one JSON string literal and back.
#include <gtest/gtest.h>

#include "json/json_literal.h"
#include "json/json_messages.h"
#include "json_test_support.h"

namespace {

TEST(JsonEscape, ByteTable) {
    struct Case {
        std::string text, literal;
    };
    const Case cases[] = {
        {"", "\"\""},
        {"a\tb\r\nc\"d", "\"a\\tb\\r\\nc\\\"d\""},
        {"\x01", "\"\\u0001\""},
        {std::string("\0\x1F\x0B", 3), "\"\\u0000\\u001f\\u000b\""},
        {"\b\f\\", "\"\\b\\f\\\\\""},
        {"/\x7F\xE4\xB8\xAD\xF0\x9F\x98\x80", "\"/\x7F\xE4\xB8\xAD\xF0\x9F\x98\x80\""},
        {"\xEF\xBB\xBF {}\r\n", "\"\xEF\xBB\xBF {}\\r\\n\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.literal);
        EXPECT_EQ(escape_json_text(c.text), c.literal);
        EXPECT_EQ(output_of(format_json(c.text, JsonMode::escape)), c.literal);
    }
}

TEST(JsonUnescape, DecodesOneLiteral) {
    struct Case {
        std::string text, decoded;
    };
    const Case cases[] = {
        {"\"\"", ""},
        {"  \"a\\tb\"\r\n", "a\tb"},
        {"\"\\uD83D\\uDE00\"", "\xF0\x9F\x98\x80"},
        {"\"\\u0000x\"", std::string("\0x", 2)},
        {"\"\\\"\\\\\\/\\b\\f\\n\\r\\t\\u00E9\"", "\"\\/\b\f\n\r\t\xC3\xA9"},
        {"\xEF\xBB\xBF\xEF\xBB\xBF\"bom\"", "bom"},
        {"\"\xE4\xB8\xAD\"", "\xE4\xB8\xAD"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(output_of(format_json(c.text, JsonMode::unescape)), c.decoded);
    }
}

TEST(JsonUnescape, EveryFailureIsOneMessageAtItsPlace) {
    struct Case {
        std::string text;
        int line, column;
    };
    const Case cases[] = {
        {"", 1, 1},
        {" \r\n ", 2, 2},
        {"abc", 1, 1},                       // bare word: its first character
        {"  123", 1, 3},
        {"\"abc", 1, 5},                     // unterminated: end of text
        {"\"a\\", 1, 4},                     // ends inside an escape
        {"\"a\\u12", 1, 7},
        {"\"a\\x\"", 1, 4},                  // the character after the backslash
        {"\"a\\u12G4\"", 1, 7},
        {"\"a\tb\"", 1, 3},                  // raw control character
        {"\"a\" \"b\"", 1, 5},               // a second literal: its quotation mark
        {"\"a\" x", 1, 5},
        {"\"a\"\n\n  ,", 3, 3},
        {"\"\\uDC00\"", 1, 7},               // lone low surrogate
        {"\"\\uD800\"", 1, 8},               // high surrogate not followed by an escape
        {"\"\\uD800\\u0041\"", 1, 13},
        {"\xEF\xBB\xBF" "x", 1, 2},          // the removed mark still counts in the position
        {"\xEF\xBB\xBF", 1, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        auto r = format_json(c.text, JsonMode::unescape);
        ASSERT_NE(error_of(r), nullptr);
        EXPECT_TRUE(error_of(r)->positioned);
        EXPECT_EQ(error_of(r)->message, positioned_message(json_messages::unescape_failed, c.line, c.column));
    }
}

TEST(JsonUnescape, RoundTripsWhatEscapeWrites) {
    const std::string texts[] = {"", "plain", "tab\there", "line\r\nbreak", "quote\"back\\slash",
                                 std::string("nul\0ctl\x1F", 8), "\xE4\xB8\xAD\xF0\x9F\x98\x80/"};
    for (const std::string& text : texts) {
        std::string literal = escape_json_text(text);
        EXPECT_EQ(output_of(format_json(literal, JsonMode::unescape)), text);
        EXPECT_EQ(escape_json_text(output_of(format_json(literal, JsonMode::unescape))), literal);
    }
}

}  // namespace
