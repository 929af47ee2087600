#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <variant>

#include "preferences/preferences.h"

namespace {

using Line = std::variant<std::u16string, std::string>;

std::u16string path_of_length(std::size_t units) {
    std::u16string path = u"C:\\";
    path.append(units - path.size(), u'a');
    return path;
}

std::string message_of(const Line& line) {
    const std::string* message = std::get_if<std::string>(&line);
    return message ? *message : "(a command line)";
}

TEST(PreferenceFlags, AsymmetricDefaultsAndStrayValues) {
    struct Case {
        StoredDword raw;
        bool ball, dock, updates;
    };
    const Case cases[] = {
        {std::nullopt, false, true, false},
        {0u, false, false, false},
        {1u, true, true, true},
        {2u, false, true, false},  // neither 0 nor 1: ball and updates off, docking on
        {0xFFFFFFFFu, false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.raw ? std::to_string(*c.raw) : "absent");
        EXPECT_EQ(decode_floating_ball(c.raw), c.ball);
        EXPECT_EQ(decode_floating_ball_dock(c.raw), c.dock);
        EXPECT_EQ(decode_check_updates(c.raw), c.updates);
    }
    EXPECT_EQ(encode_flag(true), 1u);
    EXPECT_EQ(encode_flag(false), 0u);
}

TEST(PreferenceColorScheme, DecodesOnlyValuesBelowSchemeFour) {
    struct Case {
        StoredDword raw;
        ColorSchemeSetting expected;
    };
    const Case cases[] = {
        {std::nullopt, {0, 0x5E650C}},
        {0u, {0, 0x000000}},
        {0x3123456u, {3, 0x123456}},
        {0x1000000u, {1, 0x000000}},
        {0x2FFFFFFu, {2, 0xFFFFFF}},
        {0x3FFFFFFu, {3, 0xFFFFFF}},
        {0x4000000u, {0, 0x5E650C}},  // scheme 4 invalidates the colour with it
        {0x4123456u, {0, 0x5E650C}},
        {0xFF000000u, {0, 0x5E650C}},
        {0xFFFFFFFFu, {0, 0x5E650C}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.raw ? std::to_string(*c.raw) : "absent");
        EXPECT_EQ(decode_color_scheme(c.raw), c.expected);
    }
}

TEST(PreferenceColorScheme, EncodesOnlyInRangeSettings) {
    struct Case {
        std::uint32_t scheme;
        Colorref color;
        std::optional<std::uint32_t> stored;
    };
    const Case cases[] = {
        {0, 0x5E650C, 0x05E650Cu},  {3, 0x123456, 0x3123456u}, {1, 0xFFFFFF, 0x1FFFFFFu},
        {2, 0, 0x2000000u},         {4, 0, std::nullopt},       {0xFFFFFFFF, 0, std::nullopt},
        {0, 0x1000000, std::nullopt}, {3, 0xFF123456, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.scheme) + "/" + std::to_string(c.color));
        EXPECT_EQ(encode_color_scheme(c.scheme, c.color), c.stored);
    }
    for (std::uint32_t scheme = 0; scheme < 4; ++scheme)
        for (Colorref color : {0x000000u, 0x0C655Eu, 0xFFFFFFu}) {
            ColorSchemeSetting expected{static_cast<std::uint8_t>(scheme), color};
            EXPECT_EQ(decode_color_scheme(encode_color_scheme(scheme, color)), expected);
        }
}

TEST(PreferenceTools, MaskKeepsFiveBits) {
    EXPECT_EQ(ToolMask(0xFFFFFFFF).bits(), 0x1Fu);
    EXPECT_EQ(ToolMask(0xE0), ToolMask());
    EXPECT_EQ(ToolMask().complement(), ToolMask::all());
    EXPECT_EQ(ToolMask(0x05).complement().bits(), 0x1Au);
    ToolMask m = ToolMask().with(4, true).with(0, true);
    EXPECT_EQ(m.bits(), 0x11u);
    EXPECT_TRUE(m.contains(4));
    EXPECT_FALSE(m.contains(1));
    EXPECT_EQ(m.with(4, false).bits(), 0x01u);
    // Page 5 is the settings page, not a tool: it can neither be set nor found.
    EXPECT_EQ(m.with(5, true), m);
    EXPECT_FALSE(ToolMask(0xFFFFFFFF).contains(5));
    EXPECT_FALSE(ToolMask::all().contains(-1));
}

TEST(PreferenceTools, HiddenToolsFirstThenTheOlderVisibleTools) {
    struct Case {
        StoredDword hidden, visible;
        std::uint32_t shown;
    };
    const Case cases[] = {
        {std::nullopt, std::nullopt, 0x1F},
        {0x1Fu, std::nullopt, 0x00},
        {0x00u, std::nullopt, 0x1F},
        {0xFFFFFFE0u, std::nullopt, 0x1F},  // only bits 0 to 4 hide anything
        {0x05u, std::nullopt, 0x1A},
        {0x10u, 0x00u, 0x0F},  // once HiddenTools exists VisibleTools is not read
        {std::nullopt, 0x00u, 0x10},  // the fifth tool predates nothing: always shown
        {std::nullopt, 0x0Fu, 0x1F},
        {std::nullopt, 0x03u, 0x13},
        {std::nullopt, 0xFFFFFFF0u, 0x10},  // bit 4 and above of the old value mean nothing
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.hidden ? std::to_string(*c.hidden) : "-") + " " +
                     (c.visible ? std::to_string(*c.visible) : "-"));
        EXPECT_EQ(decode_visible_tools(c.hidden, c.visible).bits(), c.shown);
    }
}

TEST(PreferenceTools, EverySetSurvivesSaveAndLoad) {
    EXPECT_EQ(encode_hidden_tools(ToolMask()), 0x1Fu);  // nothing visible is allowed
    EXPECT_EQ(encode_hidden_tools(ToolMask::all()), 0u);
    for (std::uint32_t bits = 0; bits < 32; ++bits) {
        std::uint32_t stored = encode_hidden_tools(ToolMask(bits));
        EXPECT_LE(stored, 0x1Fu);
        EXPECT_EQ(decode_visible_tools(stored, 0u).bits(), bits);
    }
}

TEST(StartupPath, AbsoluteForms) {
    struct Case {
        std::u16string path;
        bool absolute;
    };
    const Case cases[] = {
        {u"C:\\Lumaro\\Lumaro.exe", true},
        {u"z:/tools/l.exe", true},
        {u"C:\\", true},
        {u"\\\\server\\share\\Lumaro.exe", true},
        {u"\\\\server\\share", true},
        {u"\\\\?\\C:\\Lumaro.exe", true},
        {u"\\\\?\\UNC\\server\\share\\Lumaro.exe", true},
        {u"\\\\.\\C:\\Lumaro.exe", true},
        {u"", false},
        {u"Lumaro.exe", false},
        {u"tools\\Lumaro.exe", false},
        {u"C:Lumaro.exe", false},  // relative to drive C's current folder
        {u"C:", false},
        {u"\\Lumaro.exe", false},  // relative to the current drive
        {u"1:\\Lumaro.exe", false},
        {u"\\\\server", false},
        {u"\\\\server\\", false},
        {u"\\\\\\share\\x", false},
        {u"\\\\?\\", false},
        {u"中:\\x", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.path.begin(), c.path.end()));
        EXPECT_EQ(is_absolute_windows_path(c.path), c.absolute);
    }
}

TEST(StartupCommandLine, QuotedPathSpaceAndArgumentWithNul) {
    Line line = build_startup_command_line(u"C:\\Program Files\\Lumaro\\Lumaro.exe");
    ASSERT_TRUE(std::holds_alternative<std::u16string>(line)) << message_of(line);
    std::u16string expected = u"\"C:\\Program Files\\Lumaro\\Lumaro.exe\" --startup";
    expected.push_back(u'\0');
    EXPECT_EQ(std::get<std::u16string>(line), expected);
    EXPECT_EQ(std::get<std::u16string>(line).back(), u'\0');
}

TEST(StartupCommandLine, UnitsOutsideAsciiAndSurrogatePairsPassThrough) {
    const std::u16string path = u"D:\\工具\\😀\\Lumaro.exe";
    Line line = build_startup_command_line(path);
    ASSERT_TRUE(std::holds_alternative<std::u16string>(line)) << message_of(line);
    EXPECT_EQ(std::get<std::u16string>(line), u"\"" + path + u"\" --startup" + std::u16string(1, u'\0'));
}

TEST(StartupCommandLine, LengthLimitCountsUtf16Units) {
    Line at_limit = build_startup_command_line(path_of_length(248));
    ASSERT_TRUE(std::holds_alternative<std::u16string>(at_limit)) << message_of(at_limit);
    EXPECT_EQ(std::get<std::u16string>(at_limit).size(), 261u);  // 260 and the NUL: fills the 522-byte buffer
    EXPECT_EQ(message_of(build_startup_command_line(path_of_length(249))), "工具箱路径过长，请移到较短的路径后再开启。");
    EXPECT_EQ(message_of(build_startup_command_line(path_of_length(40000))), "工具箱路径过长，请移到较短的路径后再开启。");

    // A character outside the BMP is two units.
    std::u16string pair_path = path_of_length(246) + u"😀";
    ASSERT_EQ(pair_path.size(), 248u);
    EXPECT_TRUE(std::holds_alternative<std::u16string>(build_startup_command_line(pair_path)));
    pair_path += u"a";
    EXPECT_EQ(message_of(build_startup_command_line(pair_path)), "工具箱路径过长，请移到较短的路径后再开启。");
}

TEST(StartupCommandLine, RefusalsInTheirOrder) {
    struct Case {
        std::u16string path;
        std::string message;
    };
    const std::string relative = "无法获取工具箱的绝对路径。";
    const std::string invalid = "工具箱路径含有无效字符。";
    const std::string too_long = "工具箱路径过长，请移到较短的路径后再开启。";
    const Case cases[] = {
        {u"Lumaro.exe", relative},
        {u"\"C:\\Lumaro.exe\"", relative},  // the quote is not where a drive letter goes
        {u"C:\\Lu\"maro.exe", invalid},
        {u"C:\\Lumaro.exe\"", invalid},
        {std::u16string(u"C:\\Lu\0maro.exe", 14), invalid},
        {std::u16string(u"C:\\Lumaro.exe\0", 14), invalid},
        {path_of_length(300) + u"\"", invalid},  // characters are checked before the length
        {u"x" + path_of_length(300), relative},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        EXPECT_EQ(message_of(build_startup_command_line(c.path)), c.message);
    }
}

TEST(StartupEntry, ByteCountAndBytesMustBothMatch) {
    const std::u16string line(u"\"C:\\L.exe\" --startup\0", 22);
    char16_t stored[261] = {};
    std::memcpy(stored, line.data(), line.size() * 2);
    EXPECT_TRUE(is_startup_entry(line, stored, 44));
    EXPECT_FALSE(is_startup_entry(line, stored, 42));  // the NUL not counted
    EXPECT_FALSE(is_startup_entry(line, stored, 46));  // one more (zero) unit
    EXPECT_FALSE(is_startup_entry(line, stored, 43));
    EXPECT_FALSE(is_startup_entry(line, stored, 0));

    char16_t upper[261] = {};
    std::memcpy(upper, u"\"C:\\L.EXE\" --startup", 40);
    EXPECT_FALSE(is_startup_entry(line, upper, 44));  // Windows would not care; we do

    char16_t unquoted[261] = {};
    std::memcpy(unquoted, u"C:\\L.exe --startup", 36);
    EXPECT_FALSE(is_startup_entry(line, unquoted, 38));
}

TEST(PreferenceMessages, ErrorCodeInUnsignedDecimal) {
    namespace m = preference_messages;
    struct Case {
        const char* message_template;
        std::uint32_t code;
        std::string text;
    };
    const Case cases[] = {
        {m::save_floating_ball, 5, "无法保存悬浮球设置（错误 5）。"},
        {m::save_color_scheme, 5, "无法保存主题配色（错误 5）。"},
        {m::save_check_updates, 1021, "无法保存更新设置（错误 1021）。"},
        {m::save_visible_tools, 0, "无法保存工具列表（错误 0）。"},
        {m::save_floating_ball_dock, 87, "无法保存自动贴边设置（错误 87）。"},
        {m::load_start_at_login, 4294967295u, "无法读取开机启动设置（错误 4294967295）。"},
        {m::save_start_at_login, 0x80070005u, "无法更新开机启动设置（错误 2147942405）。"},
    };
    for (const Case& c : cases) EXPECT_EQ(with_error_code(c.message_template, c.code), c.text);
}

}  // namespace
