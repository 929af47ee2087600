#include <gtest/gtest.h>

#include "ui/white_space.h"

namespace {

TEST(WhiteSpace, TrimmedAtBothEndsOnly) {
    EXPECT_EQ(trim_unicode_white_space(" \t\n\v\f\r x y \u0085\u00A0\u1680\u2000\u200A\u2028\u2029\u202F\u205F\u3000"), "x y");
    EXPECT_EQ(trim_unicode_white_space("\u200B1"), "\u200B1");  // zero-width space is not white space
    EXPECT_EQ(trim_unicode_white_space(""), "");
    EXPECT_EQ(trim_unicode_white_space("\u3000"), "");
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
