#include <gtest/gtest.h>

#include <string>

#include "ui/white_space.h"

namespace {

TEST(WhiteSpace, TrimmedAtBothEndsOnly) {
    struct Case {
        std::string text, trimmed;
    };
    const Case cases[] = {
        {"", ""},
        {"  10  ", "10"},
        {"\t\n\v\f\r10\r\n", "10"},
        {"\xC2\xA0" "10" "\xC2\x85", "10"},           // U+00A0, U+0085
        {"\xE3\x80\x80" "10" "\xE3\x80\x80", "10"},   // U+3000 ideographic space
        {"\xE2\x80\x80\xE2\x80\x8A" "7", "7"},        // U+2000, U+200A
        {"7\xE2\x80\xA8\xE2\x80\xA9\xE2\x80\xAF", "7"},  // U+2028, U+2029, U+202F
        {"\xE1\x9A\x80" "7" "\xE2\x81\x9F", "7"},     // U+1680, U+205F
        {"\xE2\x80\x8B" "7", "\xE2\x80\x8B" "7"},     // U+200B is not white space
        {"\xEF\xBB\xBF" "7", "\xEF\xBB\xBF" "7"},     // nor U+FEFF
        {"1 0", "1 0"},
        {"   ", ""},
        {"\xC2", "\xC2"},  // a cut-off sequence stays
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(trim_unicode_white_space(c.text), c.trimmed);
    }
}

TEST(WhiteSpace, LengthOfTheLeadingCharacter) {
    struct Case {
        std::string text;
        std::size_t length;
    };
    const Case cases[] = {
        {" x", 1}, {"\x85", 0}, {"\xC2\x85x", 2}, {"\xC2\xA0", 2}, {"\xE3\x80\x80", 3},
        {"\xE2\x80\x8B", 0},  // zero-width space
        {"\xE3\x80", 0},       // cut short
        {"x ", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(white_space_length(c.text), c.length) << c.text;
}

}  // namespace
