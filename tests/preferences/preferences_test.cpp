#include <gtest/gtest.h>

#include "preferences/preferences.h"

namespace {

const std::string too_long = "工具箱路径过长，请移到较短的路径后再开启。";

std::u16string path_of_length(std::size_t units) { return u"C:\\" + std::u16string(units - 3, u'a'); }

std::string message_of(const std::variant<std::u16string, std::string>& line) {
    const std::string* message = std::get_if<std::string>(&line);
    return message ? *message : "(a command line)";
}

TEST(PreferenceValues, FlagsAndColourScheme) {
    struct Case {
        StoredDword raw;
        bool ball, dock, updates;
        ColorSchemeSetting scheme;
    };
    const Case cases[] = {
        {std::nullopt, false, true, false, {0, 0x5E650C}},
        {0u, false, false, false, {0, 0x000000}},
        {1u, true, true, true, {0, 0x000001}},
        {2u, false, true, false, {0, 0x000002}},  // neither 0 nor 1: only docking is on
        {0x3123456u, false, true, false, {3, 0x123456}},
        {0x3FFFFFFu, false, true, false, {3, 0xFFFFFF}},
        {0x4000000u, false, true, false, {0, 0x5E650C}},  // scheme 4 invalidates the colour with it
        {0xFFFFFFFFu, false, true, false, {0, 0x5E650C}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.raw ? std::to_string(*c.raw) : "absent");
        EXPECT_EQ(decode_floating_ball(c.raw), c.ball);
        EXPECT_EQ(decode_floating_ball_dock(c.raw), c.dock);
        EXPECT_EQ(decode_check_updates(c.raw), c.updates);
        EXPECT_EQ(decode_color_scheme(c.raw), c.scheme);
    }
    EXPECT_EQ(encode_color_scheme(3, 0x123456), 0x3123456u);
    EXPECT_EQ(encode_color_scheme(0, 0xFFFFFF), 0xFFFFFFu);
    EXPECT_EQ(encode_color_scheme(4, 0), std::nullopt);
    EXPECT_EQ(encode_color_scheme(0xFFFFFFFF, 0), std::nullopt);
    EXPECT_EQ(encode_color_scheme(0, 0x1000000), std::nullopt);
}

TEST(PreferenceValues, VisibleTools) {
    struct Case {
        StoredDword hidden, visible;
        std::uint32_t shown;
    };
    const Case cases[] = {
        {std::nullopt, std::nullopt, 0x1F}, {0x1Fu, std::nullopt, 0x00},  {0xFFFFFFE0u, std::nullopt, 0x1F},
        {0x05u, 0x00u, 0x1A},  // VisibleTools only counts without HiddenTools
        {std::nullopt, 0x00u, 0x10},  // the fifth tool postdates VisibleTools: always shown
        {std::nullopt, 0x0Fu, 0x1F},        {std::nullopt, 0xFFFFFFE3u, 0x13},
    };
    for (const Case& c : cases) EXPECT_EQ(decode_visible_tools(c.hidden, c.visible).bits(), c.shown);
    for (std::uint32_t bits = 0; bits < 32; ++bits)
        EXPECT_EQ(decode_visible_tools(encode_hidden_tools(ToolMask(bits)), std::nullopt), ToolMask(bits));
    EXPECT_EQ(encode_hidden_tools(ToolMask()), 0x1Fu);
    EXPECT_EQ(ToolMask(0xFFFFFFFF).with(5, true), ToolMask::all());  // page 5 is settings, not a tool
}

TEST(StartupCommandLine, AbsolutePaths) {
    for (const char16_t* path : {u"C:\\L.exe", u"z:/t/L.exe", u"\\\\server\\share\\L.exe", u"\\\\server\\share",
                                 u"\\\\?\\C:\\L.exe", u"\\\\?\\UNC\\s\\s\\L.exe", u"\\\\.\\C:\\L.exe"})
        EXPECT_TRUE(is_absolute_windows_path(path)) << std::u16string(path).size();
    for (const char16_t* path : {u"", u"L.exe", u"t\\L.exe", u"C:L.exe", u"C:", u"\\L.exe", u"1:\\L.exe",
                                 u"中:\\L.exe", u"\\\\server", u"\\\\server\\", u"\\\\\\share\\L.exe", u"\\\\?\\"})
        EXPECT_FALSE(is_absolute_windows_path(path)) << std::u16string(path).size();
}

TEST(StartupCommandLine, QuotedPathArgumentAndNul) {
    const std::u16string path = u"D:\\工具 箱\\😀\\Lumaro.exe";
    std::u16string expected = u"\"" + path + u"\" --startup";
    expected.push_back(u'\0');
    EXPECT_EQ(std::get<std::u16string>(build_startup_command_line(path)), expected);

    auto at_limit = build_startup_command_line(path_of_length(248));
    ASSERT_TRUE(std::holds_alternative<std::u16string>(at_limit)) << message_of(at_limit);
    EXPECT_EQ(std::get<std::u16string>(at_limit).size(), 261u);  // fills the 522-byte read buffer
    EXPECT_EQ(message_of(build_startup_command_line(path_of_length(249))), too_long);
    // The limit counts UTF-16 units: a character outside the BMP is two.
    EXPECT_EQ(message_of(build_startup_command_line(path_of_length(247) + u"😀")), too_long);
}

TEST(StartupCommandLine, RefusalsInTheirOrder) {
    const std::string relative = "无法获取工具箱的绝对路径。";
    const std::string invalid = "工具箱路径含有无效字符。";
    const std::pair<std::u16string, std::string> cases[] = {
        {u"\"C:\\Lumaro.exe\"", relative},
        {u"C:\\Lu\"maro.exe", invalid},
        {std::u16string(u"C:\\Lu\0maro.exe", 14), invalid},
        {path_of_length(300) + u"\"", invalid},  // characters before length
        {u"x" + path_of_length(300), relative},  // absoluteness before everything
    };
    for (const auto& [path, message] : cases) EXPECT_EQ(message_of(build_startup_command_line(path)), message);
}

TEST(StartupCommandLine, StoredEntryMatchesOnlyByteForByteWithItsNul) {
    const std::u16string line(u"\"C:\\L.exe\" --startup\0", 22);
    char16_t stored[261] = u"\"C:\\L.exe\" --startup";
    EXPECT_TRUE(is_startup_entry(line, stored, 44));
    for (std::size_t bytes : {0, 42, 43, 46}) EXPECT_FALSE(is_startup_entry(line, stored, bytes)) << bytes;
    stored[8] = u'E';  // "L.exE": the same file to Windows, not our text
    EXPECT_FALSE(is_startup_entry(line, stored, 44));
}

}  // namespace
