// Turning a byte offset into line, column and excerpt.
#include <gtest/gtest.h>

#include "json/json_error.h"
#include "json_test_support.h"

namespace {

TEST(JsonErrorPosition, LinesAndColumns) {
    struct Case {
        std::string text;
        std::size_t offset;
        std::uint64_t line, column, column_utf16, length_utf16;
    };
    const Case cases[] = {
        {"", 0, 1, 1, 0, 0},
        {"abc", 3, 1, 4, 3, 0},
        {"abc", 99, 1, 4, 3, 0},                     // clamped to the end
        {"a\r\nb", 3, 2, 1, 0, 1},                   // CR LF is one break
        {"a\r\nb", 2, 2, 1, 0, 1},                   // at the LF of a pair: the CR already broke the line
        {"a\n\rb", 3, 3, 1, 0, 1},                   // LF CR is two
        {"a\r\rb", 3, 3, 1, 0, 1},
        {"\xE4\xB8\xAD\xE6\x96\x87x", 6, 1, 3, 2, 1},
        {"\xE4\xB8\xAD\xE6\x96\x87x", 4, 1, 2, 1, 1},  // inside a character: moved back to its start
        {"\xF0\x9F\x98\x80x", 4, 1, 2, 2, 1},
        {"\xF0\x9F\x98\x80", 2, 1, 1, 0, 2},
        {"a\tb", 1, 1, 2, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text + " @" + std::to_string(c.offset));
        JsonError e = make_json_error(c.text, c.offset, "错");
        EXPECT_TRUE(e.positioned);
        EXPECT_EQ(e.line, c.line);
        EXPECT_EQ(e.message, positioned_message("错", static_cast<int>(c.line), static_cast<int>(c.column)));
        EXPECT_EQ(e.column_utf16, c.column_utf16);
        EXPECT_EQ(e.length_utf16, c.length_utf16);
    }
}

TEST(JsonErrorPosition, MessageSuffixIsExact) {
    EXPECT_EQ(make_json_error("[1,]", 3, "此处应为 JSON 值").message, "此处应为 JSON 值（第 1 行，第 4 列）");
    std::string many_lines(12345, '\n');
    EXPECT_EQ(make_json_error(many_lines, many_lines.size(), "X").message, "X（第 12346 行，第 1 列）");
}

TEST(JsonErrorExcerpt, WindowsOf36Characters) {
    const std::string digits36 = "abcdefghijklmnopqrstuvwxyz0123456789";
    ASSERT_EQ(digits36.size(), 36u);
    struct Case {
        std::string text;
        std::size_t offset;
        std::string context;
    };
    const Case cases[] = {
        {std::string(14, '-') + digits36 + "X", 50, "…" + digits36 + "⟦X⟧"},
        {digits36 + "X", 36, digits36 + "⟦X⟧"},                       // exactly 36 before: no mark
        {"X" + digits36, 0, "⟦X⟧" + digits36},                       // exactly 36 after, then the end
        {"X" + digits36 + "\r\nmore", 0, "⟦X⟧" + digits36},          // 36 after, then a break
        {"X" + digits36 + "!", 0, "⟦X⟧" + digits36 + "…"},
        {"ab\ncd", 2, "ab⟦换行⟧"},
        {"ab\rcd", 2, "ab⟦换行⟧"},
        {"ab", 2, "ab⟦文本末尾⟧"},
        {"a\tb", 1, "a⟦制表符⟧b"},
        {"first\nx\tsecond\nthird", 6, "⟦x⟧\tsecond"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.context);
        EXPECT_EQ(make_json_error(c.text, c.offset, "m").context, c.context);
    }
}

TEST(JsonErrorExcerpt, CountsCharactersNotBytes) {
    std::string han;
    for (int i = 0; i < 40; ++i) han += "\xE4\xB8\xAD";  // 40 × 中
    JsonError e = make_json_error(han + "X" + han, han.size(), "m");
    std::string expected_before, expected_after;
    for (int i = 0; i < 36; ++i) expected_before += "\xE4\xB8\xAD";
    EXPECT_EQ(e.context, "…" + expected_before + "⟦X⟧" + expected_before + "…");
    EXPECT_EQ(e.message, positioned_message("m", 1, 41));
}

TEST(JsonErrorExcerpt, StaysValidUtf8ForArbitraryBytes) {
    // Texts from the page are valid UTF-8, but any byte string must still give
    // an excerpt that converts cleanly.
    JsonError e = make_json_error("\xFF\xC3(\x80x", 4, "m");
    EXPECT_EQ(e.context, "\xEF\xBF\xBD\xEF\xBF\xBD(\xEF\xBF\xBD⟦x⟧");
}

TEST(JsonErrorPlain, HasNoPosition) {
    JsonError e = plain_json_error("文本过大，无法构建树视图");
    EXPECT_FALSE(e.positioned);
    EXPECT_EQ(e.message, "文本过大，无法构建树视图");
    EXPECT_TRUE(e.context.empty());
}

}  // namespace
