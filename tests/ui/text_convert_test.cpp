#include <gtest/gtest.h>

#include "ui/text_convert.h"

namespace {

struct Utf8Case {
    const char* name;
    std::string utf8;
    std::u16string utf16;
    std::u16string utf16_crlf;
};

TEST(TextConvert, Utf8ToUtf16) {
    const Utf8Case cases[] = {
        {"empty", "", u"", u""},
        {"ascii", "abc", u"abc", u"abc"},
        {"chinese", "就绪", u"就绪", u"就绪"},
        {"astral", "\xF0\x9F\x98\x80", u"\U0001F600", u"\U0001F600"},
        {"lone lf", "a\nb", u"a\nb", u"a\r\nb"},
        {"crlf stays", "a\r\nb", u"a\r\nb", u"a\r\nb"},
        {"leading lf", "\n", u"\n", u"\r\n"},
        {"two lf", "\n\n", u"\n\n", u"\r\n\r\n"},
        {"lone cr", "a\rb", u"a\rb", u"a\rb"},
        {"cr lf lf", "\r\n\n", u"\r\n\n", u"\r\n\r\n"},
        {"cr cr lf", "\r\r\n", u"\r\r\n", u"\r\r\n"},
        {"nul inside", std::string("a\0b", 3), std::u16string(u"a\0b", 3), std::u16string(u"a\0b", 3)},
        {"max code point", "\xF4\x8F\xBF\xBF", u"\U0010FFFF", u"\U0010FFFF"},
        // Malformed input: one U+FFFD per maximal ill-formed subsequence.
        {"stray continuation", "a\x80z", u"a\uFFFDz", u"a\uFFFDz"},
        {"truncated 3-byte", "\xE5\xB0z", u"\uFFFDz", u"\uFFFDz"},
        {"truncated at end", "\xE5\xB0", u"\uFFFD", u"\uFFFD"},
        {"overlong 2-byte", "\xC0\xAF", u"\uFFFD\uFFFD", u"\uFFFD\uFFFD"},
        {"overlong 3-byte", "\xE0\x80\x80", u"\uFFFD\uFFFD\uFFFD", u"\uFFFD\uFFFD\uFFFD"},
        {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD", u"\uFFFD\uFFFD\uFFFD"},
        {"above 10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"invalid lead", "\xFF\n", u"\uFFFD\n", u"\uFFFD\r\n"},
        {"lf after bad byte", "\xE5\n", u"\uFFFD\n", u"\uFFFD\r\n"},
    };
    for (const Utf8Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(utf8_to_utf16(c.utf8), c.utf16);
        EXPECT_EQ(utf8_to_utf16_crlf(c.utf8), c.utf16_crlf);
    }
}

TEST(TextConvert, Utf16ToUtf8) {
    struct Case {
        const char* name;
        std::u16string utf16;
        std::string utf8;
    };
    const Case cases[] = {
        {"empty", u"", ""},
        {"ascii", u"a\r\nb", "a\r\nb"},
        {"two byte", u"\u00E9", "\xC3\xA9"},
        {"chinese", u"已复制到剪贴板。", "已复制到剪贴板。"},
        {"pair", u"\U0001F600", "\xF0\x9F\x98\x80"},
        {"lone high", std::u16string{u'a', char16_t(0xD83D), u'b'}, "a\xEF\xBF\xBD" "b"},
        {"lone low", std::u16string{char16_t(0xDE00)}, "\xEF\xBF\xBD"},
        {"high at end", std::u16string{u'x', char16_t(0xD800)}, "x\xEF\xBF\xBD"},
        {"reversed pair", std::u16string{char16_t(0xDE00), char16_t(0xD83D)}, "\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"high high low", std::u16string{char16_t(0xD83D), char16_t(0xD83D), char16_t(0xDE00)},
         "\xEF\xBF\xBD\xF0\x9F\x98\x80"},
        {"fffd itself", u"\uFFFD", "\xEF\xBF\xBD"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(utf16_to_utf8(c.utf16), c.utf8);
    }
}

TEST(TextConvert, RoundTripsEveryScalarValueBoundary) {
    for (char32_t c : {0x7Fu, 0x80u, 0x7FFu, 0x800u, 0xD7FFu, 0xE000u, 0xFFFFu, 0x10000u, 0x10FFFFu}) {
        std::u16string one;
        if (c < 0x10000) {
            one.push_back(static_cast<char16_t>(c));
        } else {
            one.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            one.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        }
        EXPECT_EQ(utf8_to_utf16(utf16_to_utf8(one)), one) << std::hex << static_cast<unsigned>(c);
    }
}

}  // namespace
