#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "../common/page_host_win.h"
#include "timestamp/clock_win.h"
#include "timestamp/local_zone_win.h"
#include "timestamp/timestamp_convert.h"
#include "timestamp/timestamp_messages.h"
#include "tz_test_win.h"
#include "ui/page_layout.h"

// The timestamp page driven through its controls. The suite TimestampPage
// holds to assertions that are true in any local zone; the page's local-time
// paths are tested in the Tz* suites.

namespace {

namespace msg = timestamp_messages;
using page_test::HostedPage;

// Positions of the controls in creation order.
enum Child : std::size_t {
    title,
    now_heading,
    refresh,
    seconds_label,
    seconds_box,
    copy_seconds,
    milliseconds_label,
    milliseconds_box,
    copy_milliseconds,
    to_date_heading,
    timestamp_label,
    timestamp_input,
    unit_label,
    unit_list,
    output_zone_label,
    output_zone_list,
    to_date,
    date_result,
    copy_date,
    to_timestamp_heading,
    fill_now,
    date_label,
    date_input,
    input_zone_label,
    input_zone_list,
    output_unit_label,
    output_unit_list,
    to_timestamp,
    timestamp_result,
    copy_timestamp,
    hint,
    child_count,
};

std::int64_t number(const std::string& text) { return std::stoll(text); }

class TimestampPage : public ::testing::Test {
protected:
    HostedPage host{timestamp_page};

    HWND at(Child c) const { return host.control(c); }
    std::string text(Child c) const { return read_text(at(c)); }
};

TEST_F(TimestampPage, ControlsInCreationOrder) {
    const page_test::ExpectedControl controls[] = {
        {title, ControlKind::PageTitle, "时间戳转换", 0},
        {now_heading, ControlKind::SectionTitle, "当前 Unix 时间戳", 0},
        {refresh, ControlKind::Button, "更新时间戳", 201},
        {seconds_label, ControlKind::Label, "秒", 0},
        {seconds_box, ControlKind::TextField, nullptr, 0},
        {copy_seconds, ControlKind::Button, "复制", 202},
        {milliseconds_label, ControlKind::Label, "毫秒", 0},
        {milliseconds_box, ControlKind::TextField, nullptr, 0},
        {copy_milliseconds, ControlKind::Button, "复制", 203},
        {to_date_heading, ControlKind::SectionTitle, "时间戳转日期", 0},
        {timestamp_label, ControlKind::Label, "Unix 时间戳", 0},
        {timestamp_input, ControlKind::TextField, "", 0},
        {unit_label, ControlKind::Label, "输入单位", 0},
        {unit_list, ControlKind::Dropdown, nullptr, 0},
        {output_zone_label, ControlKind::Label, "输出时区", 0},
        {output_zone_list, ControlKind::Dropdown, nullptr, 0},
        {to_date, ControlKind::PrimaryButton, "转换日期", 204},
        {date_result, ControlKind::TextField, "", 0},
        {copy_date, ControlKind::Button, "复制", 205},
        {to_timestamp_heading, ControlKind::SectionTitle, "日期转时间戳", 0},
        {fill_now, ControlKind::Button, "填入当前时间", 208},
        {date_label, ControlKind::Label, "日期时间", 0},
        {date_input, ControlKind::TextField, nullptr, 0},
        {input_zone_label, ControlKind::Label, "输入时区", 0},
        {input_zone_list, ControlKind::Dropdown, nullptr, 0},
        {output_unit_label, ControlKind::Label, "输出单位", 0},
        {output_unit_list, ControlKind::Dropdown, nullptr, 0},
        {to_timestamp, ControlKind::PrimaryButton, "转换时间戳", 206},
        {timestamp_result, ControlKind::TextField, "", 0},
        {copy_timestamp, ControlKind::Button, "复制", 207},
        {hint, ControlKind::Hint, "例如 2026-01-01 08:00:00.123", 0},
    };
    ASSERT_EQ(host.controls().size(), static_cast<std::size_t>(child_count));
    page_test::expect_controls(host, controls);
    for (Child c : {seconds_box, milliseconds_box, date_result, timestamp_result}) {
        EXPECT_TRUE(page_test::read_only(at(c))) << c;
    }
    for (Child c : {timestamp_input, date_input}) EXPECT_FALSE(page_test::read_only(at(c))) << c;

    using Items = std::vector<std::string>;
    EXPECT_EQ(page_test::list_items(at(unit_list)), (Items{"自动识别", "秒", "毫秒"}));
    EXPECT_EQ(page_test::list_items(at(output_zone_list)), (Items{"本地时间", "UTC"}));
    EXPECT_EQ(page_test::list_items(at(input_zone_list)), (Items{"本地时间", "UTC"}));
    EXPECT_EQ(page_test::list_items(at(output_unit_list)), (Items{"秒", "毫秒"}));
    for (Child c : {unit_list, output_zone_list, input_zone_list, output_unit_list})
        EXPECT_EQ(dropdown_selection(at(c)), 0) << c;
}

TEST_F(TimestampPage, BuiltWithTheCurrentTimeAndNoStatus) {
    const UnixTime after = read_system_clock();
    EXPECT_EQ(host.status_text(), "就绪");
    const std::int64_t seconds = number(text(seconds_box));
    EXPECT_LE(seconds, after.seconds);
    EXPECT_GE(seconds, after.seconds - 5);
    // The milliseconds of the same reading.
    EXPECT_EQ(text(milliseconds_box).substr(0, text(seconds_box).size()), text(seconds_box));
    EXPECT_EQ(text(milliseconds_box).size(), text(seconds_box).size() + 3);
    // The date input holds the local time of a moment ago, with milliseconds.
    const std::string date = text(date_input);
    ASSERT_EQ(date.size(), 23u) << date;
    const Conversion back = date_to_timestamp(date, ZoneChoice::Local, OutputUnit::Seconds, WindowsLocalZone());
    ASSERT_TRUE(back.ok) << date;
    EXPECT_LE(number(back.text), after.seconds);
    EXPECT_GE(number(back.text), after.seconds - 5);
    EXPECT_EQ(text(date_result), "");
    EXPECT_EQ(text(timestamp_result), "");
}

TEST_F(TimestampPage, LayoutAtTheCappedAndANarrowWidth) {
    // Page 1200 wide: the content is capped at 880 (B = 432).
    const page_test::ExpectedPlace wide[] = {
        {title, {28, 24, 880, 39}},
        {now_heading, {28, 86, 738, 24}},
        {refresh, {782, 80, 126, 34}},
        {seconds_label, {28, 124, 432, 20}},
        {seconds_box, {28, 148, 360, 34}},
        {copy_seconds, {396, 148, 64, 34}},
        {milliseconds_label, {476, 124, 432, 20}},
        {milliseconds_box, {476, 148, 360, 34}},
        {copy_milliseconds, {844, 148, 64, 34}},
        {to_date_heading, {28, 212, 880, 24}},
        {timestamp_label, {28, 244, 616, 20}},
        {timestamp_input, {28, 268, 616, 34}},
        {unit_label, {660, 244, 116, 20}},
        {unit_list, {660, 268, 116, 252}},
        {output_zone_label, {792, 244, 116, 20}},
        {output_zone_list, {792, 268, 116, 252}},
        {to_date, {28, 316, 126, 34}},
        {date_result, {170, 316, 666, 34}},
        {copy_date, {844, 316, 64, 34}},
        {to_timestamp_heading, {28, 376, 738, 24}},
        {fill_now, {782, 370, 126, 34}},
        {date_label, {28, 411, 616, 20}},
        {date_input, {28, 435, 616, 34}},
        {input_zone_label, {660, 411, 116, 20}},
        {input_zone_list, {660, 435, 116, 252}},
        {output_unit_label, {792, 411, 116, 20}},
        {output_unit_list, {792, 435, 116, 252}},
        {hint, {28, 474, 616, 20}},
        {to_timestamp, {28, 501, 126, 34}},
        {timestamp_result, {170, 501, 666, 34}},
        {copy_timestamp, {844, 501, 64, 34}},
    };
    host.resize(1200, 660);
    page_test::expect_layout(host, wide);
    // Page 621 wide: W = 565, B = 274 (odd: rounded toward zero).
    host.resize(621, 660);
    page_test::expect_placed(at(title), {28, 24, 565, 39});
    page_test::expect_placed(at(seconds_box), {28, 148, 202, 34});
    page_test::expect_placed(at(copy_seconds), {238, 148, 64, 34});
    page_test::expect_placed(at(milliseconds_label), {318, 124, 275, 20});
    page_test::expect_placed(at(milliseconds_box), {318, 148, 203, 34});
    page_test::expect_placed(at(copy_milliseconds), {529, 148, 64, 34});
    page_test::expect_placed(at(date_result), {170, 316, 351, 34});
    page_test::expect_placed(at(date_input), {28, 435, 301, 34});
    // Narrower than the fixed parts: widths below 1 become 0.
    host.resize(250, 660);
    page_test::expect_placed(at(timestamp_input), {28, 268, 0, 34});
    page_test::expect_placed(at(date_result), {170, 316, 0, 34});
}

TEST_F(TimestampPage, RefreshShowsTheCurrentTime) {
    const UnixTime before = read_system_clock();
    SetWindowTextW(at(seconds_box), L"");
    SetWindowTextW(at(milliseconds_box), L"");
    host.command(201);
    const UnixTime after = read_system_clock();
    const std::int64_t ms = number(text(milliseconds_box));
    EXPECT_GE(ms, before.seconds * 1000 + before.nanoseconds / 1000000);
    EXPECT_LE(ms, after.seconds * 1000 + after.nanoseconds / 1000000);
    EXPECT_EQ(number(text(seconds_box)), ms / 1000);
    EXPECT_EQ(host.status_text(), "已更新当前时间戳。");
    EXPECT_FALSE(host.status_is_error());
}

// One conversion: the input, the positions chosen in the section's two lists
// (unit and output zone, or input zone and output unit), and the result or,
// when that is null, the message.
struct Step {
    const char* input;
    int first;
    int second;
    const char* result;
    const char* message;
};

// Types the input, chooses the positions and presses the section's button
// (204 to a date, 206 to a timestamp). A result from before must not be left
// behind by a failure.
void convert(HostedPage& host, const Step& s, bool to_date) {
    SCOPED_TRACE(s.input);
    HWND input = host.control(to_date ? timestamp_input : date_input);
    HWND result = host.control(to_date ? date_result : timestamp_result);
    SetWindowTextW(result, L"earlier");
    host.reset_status();
    host.type(input, s.input);
    host.choose(host.control(to_date ? unit_list : input_zone_list), s.first);
    host.choose(host.control(to_date ? output_zone_list : output_unit_list), s.second);
    EXPECT_EQ(host.status_text(), "就绪");  // choosing converts nothing
    host.command(to_date ? 204 : 206);
    EXPECT_EQ(read_text(result), s.result ? s.result : "");
    EXPECT_EQ(host.status_text(), s.result ? msg::converted : s.message);
    EXPECT_EQ(host.status_is_error(), s.result == nullptr);
    EXPECT_EQ(read_text(input), s.input);  // the input stays as typed
}

TEST_F(TimestampPage, TimestampToDate) {
    // UTC output, so that nothing depends on the local zone.
    const Step steps[] = {
        {"1767225600", 0, 1, "2026-01-01 00:00:00 +00:00", nullptr},
        {"1767225600000", 0, 1, "2026-01-01 00:00:00.000 +00:00", nullptr},
        {"1767225600123", 0, 1, "2026-01-01 00:00:00.123 +00:00", nullptr},
        {"0000000001", 0, 1, "1970-01-01 00:00:01 +00:00", nullptr},
        {"00000000001", 0, 1, "1970-01-01 00:00:00.001 +00:00", nullptr},
        {"-1", 1, 1, "1969-12-31 23:59:59 +00:00", nullptr},
        {"-1", 2, 1, "1969-12-31 23:59:59.999 +00:00", nullptr},
        {"  +42\t", 0, 1, "1970-01-01 00:00:42 +00:00", nullptr},
        {"8210266876799", 1, 1, "+262142-12-31 23:59:59 +00:00", nullptr},
        {"-8334601315200", 1, 1, "-262144-12-31 00:00:00 +00:00", nullptr},
        {"", 0, 1, nullptr, msg::not_an_integer},
        {"+", 0, 1, nullptr, msg::not_an_integer},
        {"-", 0, 1, nullptr, msg::not_an_integer},
        {"4 2", 0, 1, nullptr, msg::not_an_integer},
        {"1e3", 0, 1, nullptr, msg::not_an_integer},
        {"9223372036854775808", 0, 1, nullptr, msg::not_an_integer},
        {"12345678901234567", 0, 1, nullptr, msg::timestamp_out_of_range},
        {"8210266876800", 1, 1, nullptr, msg::timestamp_out_of_range},
        {"-8334601315201", 1, 1, nullptr, msg::timestamp_out_of_range},
    };
    for (const Step& s : steps) convert(host, s, true);
}

TEST_F(TimestampPage, DateToTimestamp) {
    // UTC input zone or a written offset, so that nothing depends on the local zone.
    const Step steps[] = {
        {"2026-01-01", 1, 0, "1767225600", nullptr},
        {"2026-01-01T08:00", 1, 0, "1767254400", nullptr},
        {"2026-01-01 08:00", 1, 0, "1767254400", nullptr},
        {"2026-01-01T00:00:00Z", 0, 0, "1767225600", nullptr},
        {"2026-01-01 08:00:00 +08:00", 0, 0, "1767225600", nullptr},
        {"2026-01-01 08:00:00 +08:00", 0, 1, "1767225600000", nullptr},
        {"1970-01-01 00:00:00.999", 1, 0, "0", nullptr},
        {"1970-01-01 00:00:00.999", 1, 1, "999", nullptr},
        {"1969-12-31 23:59:59.5", 1, 0, "-1", nullptr},
        {"1969-12-31 23:59:59.5", 1, 1, "-500", nullptr},
        {" 2026-01-01 ", 1, 0, "1767225600", nullptr},
        {"2026/01/01", 1, 0, nullptr, msg::bad_date},
        {"", 1, 0, nullptr, msg::bad_date},
        {"2026-02-29", 1, 0, nullptr, msg::bad_date},
    };
    for (const Step& s : steps) convert(host, s, false);
}

TEST_F(TimestampPage, FillTheCurrentTimeInUtc) {
    host.choose(at(input_zone_list), 1);
    host.type(at(date_input), "2000-01-01");
    host.command(206);
    ASSERT_EQ(text(timestamp_result), "946684800");
    const UnixTime before = read_system_clock();
    host.command(208);
    const UnixTime after = read_system_clock();
    EXPECT_EQ(host.status_text(), msg::filled);
    EXPECT_FALSE(host.status_is_error());
    EXPECT_EQ(text(timestamp_result), "");  // the old result goes
    const std::string date = text(date_input);
    ASSERT_EQ(date.size(), 23u) << date;
    EXPECT_EQ(date[10], ' ');
    EXPECT_EQ(date[19], '.');
    // Written in UTC, it converts back to the moment of the click.
    host.choose(at(output_unit_list), 1);
    host.command(206);
    const std::int64_t ms = number(text(timestamp_result));
    EXPECT_GE(ms, before.seconds * 1000 + before.nanoseconds / 1000000);
    EXPECT_LE(ms, after.seconds * 1000 + after.nanoseconds / 1000000);
}

TEST_F(TimestampPage, CopyPutsEachBoxOnTheClipboard) {
    host.choose(at(output_zone_list), 1);
    host.type(at(timestamp_input), "1767225600");
    host.command(204);
    host.choose(at(input_zone_list), 1);
    host.type(at(date_input), "2026-01-01");
    host.command(206);
    struct Copy {
        int id;
        Child box;
    };
    for (const Copy c : {Copy{202, seconds_box}, Copy{203, milliseconds_box}, Copy{205, date_result},
                         Copy{207, timestamp_result}}) {
        SCOPED_TRACE(c.id);
        ASSERT_TRUE(page_test::put_on_clipboard("before"));
        host.reset_status();
        host.command(c.id);
        ASSERT_FALSE(text(c.box).empty());
        EXPECT_EQ(page_test::clipboard_text(), text(c.box));
        EXPECT_EQ(host.status_text(), "已复制到剪贴板。");
        EXPECT_FALSE(host.status_is_error());
    }
    EXPECT_EQ(page_test::clipboard_text(), "1767225600");
}

TEST_F(TimestampPage, CopyOfAnEmptyResultLeavesTheClipboardAlone) {
    for (const int id : {205, 207}) {
        SCOPED_TRACE(id);
        ASSERT_TRUE(page_test::put_on_clipboard("before"));
        host.reset_status();
        host.command(id);
        EXPECT_EQ(host.status_text(), "请先生成或转换结果。");
        EXPECT_TRUE(host.status_is_error());
        EXPECT_EQ(page_test::clipboard_text(), "before");
    }
    // A failed conversion empties the result: nothing to copy either.
    host.type(at(timestamp_input), "x");
    host.command(204);
    ASSERT_TRUE(page_test::put_on_clipboard("before"));
    host.command(205);
    EXPECT_EQ(host.status_text(), "请先生成或转换结果。");
    EXPECT_EQ(page_test::clipboard_text(), "before");
}

TEST_F(TimestampPage, OtherNotificationsAreIgnored) {
    host.choose(at(output_zone_list), 1);
    host.type(at(timestamp_input), "0");
    for (const WORD code : {WORD{BN_SETFOCUS}, WORD{BN_KILLFOCUS}, WORD{EN_CHANGE}}) {
        SendMessageW(host.page(), WM_COMMAND, MAKEWPARAM(204, code), reinterpret_cast<LPARAM>(host.item(204)));
        SendMessageW(host.page(), WM_COMMAND, MAKEWPARAM(208, code), reinterpret_cast<LPARAM>(host.item(208)));
    }
    EXPECT_EQ(text(date_result), "");
    EXPECT_EQ(host.status_text(), "就绪");
}

TEST_F(TimestampPage, AClickOnTheRealButtonConverts) {
    host.choose(at(output_zone_list), 1);
    host.type(at(timestamp_input), "86400");
    host.click(host.item(204));
    EXPECT_EQ(text(date_result), "1970-01-02 00:00:00 +00:00");
    EXPECT_EQ(host.status_text(), msg::converted);
}

// The page's local-time paths in fixed zones.

TEST_F(TzShanghai, PageConvertsInLocalTime) {
    HostedPage host{timestamp_page};
    const Step to_date_steps[] = {
        {"1767225600", 0, 0, "2026-01-01 08:00:00 +08:00", nullptr},
        {"1767225600123", 0, 0, "2026-01-01 08:00:00.123 +08:00", nullptr},
        {"8210266876799", 1, 0, nullptr, msg::local_out_of_range},
        {"8210266876799", 1, 1, "+262142-12-31 23:59:59 +00:00", nullptr},
    };
    for (const Step& s : to_date_steps) convert(host, s, true);
    const Step to_timestamp_steps[] = {
        {"2026-01-01 08:00:00", 0, 0, "1767225600", nullptr},
        {"2026-01-01", 0, 0, "1767196800", nullptr},
        {"2026-01-01", 1, 0, "1767225600", nullptr},
        {"2026-01-01 08:00:00 +08:00", 1, 1, "1767225600000", nullptr},
    };
    for (const Step& s : to_timestamp_steps) convert(host, s, false);
}

TEST_F(TzShanghai, PageFillsTheLocalTime) {
    HostedPage host{timestamp_page};
    host.command(208);
    const std::string local = read_text(host.control(date_input));
    host.choose(host.control(input_zone_list), 1);
    host.command(208);
    const std::string utc = read_text(host.control(date_input));
    // Eight hours apart, give or take the moment between the clicks.
    const auto seconds = [](const std::string& date) {
        return number(date_to_timestamp(date, ZoneChoice::Utc, OutputUnit::Seconds, WindowsLocalZone()).text);
    };
    const std::int64_t apart = seconds(local) - seconds(utc);
    EXPECT_GE(apart, 8 * 3600 - 2);
    EXPECT_LE(apart, 8 * 3600);
}

TEST_F(TzNewYork, PageRefusesSkippedAndRepeatedTimes) {
    HostedPage host{timestamp_page};
    const Step steps[] = {
        {"2026-03-08 02:30", 0, 0, nullptr, msg::unavailable_local},
        {"2026-11-01 01:30", 0, 0, nullptr, msg::ambiguous_local},
        {"2026-11-01T01:30:00-04:00", 0, 0, "1793511000", nullptr},
        {"2026-11-01 01:30", 1, 0, "1793496600", nullptr},
        {"2026-03-08 03:00:00", 0, 0, "1772953200", nullptr},
    };
    for (const Step& s : steps) convert(host, s, false);
    convert(host, {"1772953199", 0, 0, "2026-03-08 01:59:59 -05:00", nullptr}, true);
    convert(host, {"1772953200", 0, 0, "2026-03-08 03:00:00 -04:00", nullptr}, true);
}

}  // namespace
