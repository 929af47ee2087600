#include <gtest/gtest.h>

#include "json/utf8.h"

namespace {

const std::string fffd = "\xEF\xBF\xBD";

TEST(Utf8, LossyDecodingReplacesMaximalSubparts) {
    struct Case {
        std::string bytes, text;
    };
    const Case cases[] = {
        {"abc", "abc"},
        {"\xE4\xB8\xAD\xF0\x9F\x98\x80", "\xE4\xB8\xAD\xF0\x9F\x98\x80"},
        {"\xE4\xB8", fffd},                           // a character cut short: one replacement
        {"\xF0\x9F\x98", fffd},
        {"a\xE4\xB8" "b", "a" + fffd + "b"},
        {"\x80\x80", fffd + fffd},                    // stray continuation bytes: one each
        {"\xC0\xAF", fffd + fffd},                    // overlong lead is never valid
        {"\xE0\x80\xAF", fffd + fffd + fffd},         // overlong three-byte form
        {"\xED\xA0\x80", fffd + fffd + fffd},         // encoded surrogate
        {"\xF4\x90\x80\x80", fffd + fffd + fffd + fffd},  // above U+10FFFF
        {"\xFF", fffd},
    };
    for (const Case& c : cases) {
        std::string out;
        append_utf8_lossy(out, c.bytes);
        EXPECT_EQ(out, c.text);
        EXPECT_EQ(is_valid_utf8(c.bytes), c.bytes == c.text);
    }
}

}  // namespace
