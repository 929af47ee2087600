// The page's fast conversions give what the general ones give.
#include <gtest/gtest.h>

#include <random>

#include "json/control_text.h"
#include "ui/text_convert.h"

namespace {

using namespace std::string_literals;

// The general conversion, but with a lone CR made CR LF as well.
std::u16string general(std::string s) {
    for (std::size_t i = 0; i < s.size(); ++i) s.insert(i + 1, s[i] == '\r' && s[i + 1] != '\n' ? "\n" : "");
    return utf8_to_utf16_crlf(s);
}

TEST(ControlText, FromUtf8MatchesTheGeneralConversion) {
    const std::string cases[] = {
        "", "a", "\n", "\r\n", "\r", "\r\r\n\n\r", "a\nb\r\nc\rd\n\n", "\xE4\xB8\xAD\n\xF0\x9F\x98\x80",
        "\xC3", "\xC3x", "\xE4\xB8", "\xE4\xB8\n", "\xF0\x9F\x98", "\xFF\xFE", "\xED\xA0\x80", "x\xC0\xAF",
    };
    for (const std::string& c : cases) EXPECT_EQ(to_control_text(c, false), general(c)) << c;
    std::mt19937 random(7);
    const char alphabet[] = {'a', '\n', '\r', '\0', '\xC3', '\xA9', '\xE4', '\xB8', '\xAD', '\xF0', '\x9F', '\x80'};
    for (int round = 0; round < 2000; ++round) {
        std::string s;
        const int n = static_cast<int>(random() % 12);
        for (int k = 0; k < n; ++k) s.push_back(alphabet[random() % sizeof(alphabet)]);
        ASSERT_EQ(to_control_text(s, false), general(s)) << round;
    }
}

TEST(ControlText, NulShownAsSymbolOnRequest) {
    EXPECT_EQ(to_control_text("a\0b\n"s, true), u"a\u2400b\r\n");
    EXPECT_EQ(to_control_text("a\0b"s, false), std::u16string(u"a\0b", 3));
}

TEST(ControlText, ClipboardUnits) {
    struct Case {
        std::u16string units;
        std::optional<std::u16string> text;
    };
    const Case cases[] = {
        {u"", u""},
        {u"a\nb\r\nc\rd", u"a\r\nb\r\nc\r\nd"},
        {std::u16string(u"a\r\0\n", 4), u"a\r\n"},
        {std::u16string(u"a\0b", 3), u"a"},
        {u"\U0001F600\n", u"\U0001F600\r\n"},
        {std::u16string(1, char16_t(0xD83D)), std::nullopt},
        {std::u16string{char16_t(0xDE00), u'a'}, std::nullopt},
        {std::u16string{char16_t(0xD83D), u'a'}, std::nullopt},
        {std::u16string{u'a', 0, char16_t(0xD83D)}, u"a"},  // after the NUL: not part of the text
    };
    for (const Case& c : cases) EXPECT_EQ(clipboard_to_control_text(c.units), c.text);
}

TEST(ControlText, ToUtf8MatchesTheGeneralConversion) {
    const std::u16string cases[] = {
        u"", u"abc\r\n", u"\u00e9\u4e2d", u"\U0001F600", std::u16string(1, char16_t(0xD83D)),
        std::u16string{char16_t(0xDE00), u'x'}, std::u16string{char16_t(0xD83D), char16_t(0xD83D), char16_t(0xDE00)},
    };
    for (const std::u16string& c : cases) EXPECT_EQ(control_text_to_utf8(c), utf16_to_utf8(c));
}

TEST(ControlText, LengthAsTheControlCountsIt) {
    EXPECT_EQ(control_length(u"a\r\nb", false), 4u);
    EXPECT_EQ(control_length(u"a\r\nb", true), 3u);
    EXPECT_EQ(control_length(u"a\rb\r\n\r\n", true), 5u);
    EXPECT_EQ(control_length(u"\U0001F600", true), 2u);
}

}  // namespace
