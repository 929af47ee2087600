#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "../common/page_host_win.h"
#include "time_diff/time_diff.h"
#include "ui/page_layout.h"

// The time-difference page driven through its controls.

namespace {

using page_test::HostedPage;

enum Child : std::size_t {
    title,
    start_label,
    end_label,
    start_edit,
    end_edit,
    start_now,
    end_now,
    unit_label,
    unit_list,
    result_heading,
    result,
    breakdown,
    copy,
    swap,
    clear,
    hint,
    child_count,
};

constexpr const char* missing = "请输入开始和结束时间。";
constexpr const char* bad_start = "开始时间无效，请核对日期和时间。";
constexpr const char* bad_end = "结束时间无效，请核对日期和时间。";

class TimeDiffPage : public ::testing::Test {
protected:
    HostedPage host{time_diff_page};

    HWND at(Child c) const { return host.control(c); }
    std::string text(Child c) const { return read_text(at(c)); }
    bool copy_enabled() const { return IsWindowEnabled(at(copy)) != FALSE; }

    void enter(const char* start, const char* end, int unit) {
        host.type(at(start_edit), start);
        host.type(at(end_edit), end);
        host.choose(at(unit_list), unit);
    }
    void expect_no_result(const char* why) {
        EXPECT_EQ(text(result), "—");
        EXPECT_EQ(text(breakdown), why);
        EXPECT_FALSE(copy_enabled());
    }
};

TEST_F(TimeDiffPage, BuiltEmptyWithMinutesSelected) {
    const page_test::ExpectedControl controls[] = {
        {title, ControlKind::PageTitle, "时间差值计算器", 0},
        {start_label, ControlKind::Label, "开始时间", 0},
        {end_label, ControlKind::Label, "结束时间", 0},
        {start_edit, ControlKind::TextField, "", 601},
        {end_edit, ControlKind::TextField, "", 602},
        {start_now, ControlKind::Button, "当前时间", 603},
        {end_now, ControlKind::Button, "当前时间", 604},
        {unit_label, ControlKind::Label, "差值单位", 0},
        {unit_list, ControlKind::Dropdown, "分钟", 605},
        {result_heading, ControlKind::SectionTitle, "结束时间 − 开始时间", 0},
        {result, ControlKind::PageTitle, "—", 0},
        {breakdown, ControlKind::Label, missing, 0},
        {copy, ControlKind::PrimaryButton, "复制结果", 606},
        {swap, ControlKind::Button, "交换时间", 607},
        {clear, ControlKind::Button, "清空", 608},
        {hint, ControlKind::Hint, "例如 2026-11-26 08:30:00.123。按同一时区计算，年按 365 天、月按 30 天。", 0},
    };
    ASSERT_EQ(host.controls().size(), static_cast<std::size_t>(child_count));
    page_test::expect_controls(host, controls);
    EXPECT_EQ(page_test::list_items(at(unit_list)),
              (std::vector<std::string>{"年", "月", "日", "小时", "分钟", "秒"}));
    EXPECT_EQ(dropdown_selection(at(unit_list)), 4);
    EXPECT_FALSE(copy_enabled());
    for (Child c : {swap, clear, start_now, end_now}) EXPECT_TRUE(IsWindowEnabled(at(c))) << c;
    EXPECT_EQ(host.status_text(), "就绪");
}

TEST_F(TimeDiffPage, LayoutAtTheCappedAndANarrowWidth) {
    // Page 1000 wide: the content is capped at 760.
    const page_test::ExpectedPlace wide[] = {
        {title, {28, 24, 760, 39}},        {start_label, {28, 84, 760, 22}},   {start_edit, {28, 108, 650, 34}},
        {start_now, {688, 108, 100, 34}},  {end_label, {28, 162, 760, 22}},    {end_edit, {28, 186, 650, 34}},
        {end_now, {688, 186, 100, 34}},    {unit_label, {28, 241, 100, 23}},   {result_heading, {28, 327, 760, 26}},
        {result, {28, 360, 760, 45}},      {breakdown, {28, 411, 760, 25}},    {copy, {28, 453, 100, 34}},
        {swap, {136, 453, 100, 34}},       {clear, {244, 453, 100, 34}},       {hint, {28, 502, 760, 44}},
    };
    host.resize(1000, 660);
    page_test::expect_layout(host, wide);
    const RECT list = page_test::rect_in_parent(at(unit_list));
    EXPECT_EQ(list.left, scale(28));
    EXPECT_EQ(list.top, scale(266));
    EXPECT_EQ(list.right - list.left, scale(142));
    // Page 600 wide: W = 544.
    host.resize(600, 660);
    page_test::expect_placed(at(title), {28, 24, 544, 39});
    page_test::expect_placed(at(start_edit), {28, 108, 434, 34});
    page_test::expect_placed(at(end_now), {472, 186, 100, 34});
    page_test::expect_placed(at(hint), {28, 502, 544, 44});
    // Narrower than the buttons beside the edits: the edits shrink to nothing.
    host.resize(160, 660);
    page_test::expect_placed(at(start_edit), {28, 108, 0, 34});
    page_test::expect_placed(at(start_now), {32, 108, 100, 34});
}

TEST_F(TimeDiffPage, RecomputesOnEveryEditAndUnitChange) {
    struct Case {
        const char* start;
        const char* end;
        int unit;
        const char* result;  // nullptr: no result, with the message as the breakdown
        const char* breakdown;
    };
    const Case cases[] = {
        {"2026-01-01 00:00:00", "2026-01-02 01:30:00.5", 3, "25.500139 小时", "1 天 1 小时 30 分 0.5 秒"},
        {"2026-01-02 01:30:00.5", "2026-01-01 00:00:00", 3, "-25.500139 小时", "负 1 天 1 小时 30 分 0.5 秒"},
        {"2026-01-01 00:00:00.001", "2026-01-01", 0, "0 年", "负 0 天 0 小时 0 分 0.001 秒"},
        {"2026-1-5", "2026/01/05 8:30", 4, "510 分钟", "0 天 8 小时 30 分 0 秒"},
        {"2026-01-05T00:00", "2026-01-05 00:00:01.5", 5, "1.5 秒", "0 天 0 小时 0 分 1.5 秒"},
        {"2026-01-01", "2026-01-31", 1, "1 月", "30 天 0 小时 0 分 0 秒"},
        {"2026-01-01", "2026-01-02", 2, "1 日", "1 天 0 小时 0 分 0 秒"},
        {"2025-01-01", "2026-01-01", 0, "1 年", "365 天 0 小时 0 分 0 秒"},
        {"2026-02-29", "2026-03-01", 4, nullptr, bad_start},
        {"2026-01-01 24:00", "2026-01-02", 4, nullptr, bad_start},
        {"2026-01-05 08:3", "2026-01-05", 4, nullptr, bad_start},
        {"2026-01-05", "2026-01-05 08:30:5", 4, nullptr, bad_end},
        {"2026-01-05", "2026-01-05 08:30:05.1234", 4, nullptr, bad_end},
        {"26-01-05", "bad", 4, nullptr, bad_start},
        {"2026-01-05", "2026-01-05Z", 4, nullptr, bad_end},
        {"2026-01-05", "2026-01-05 08:30 +08:00", 4, nullptr, bad_end},
        {"", "2026-01-05 08:30 +08:00", 4, nullptr, missing},
        {"2026-01-05", "  ", 4, nullptr, missing},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.start) + " / " + c.end);
        // Each case starts from a result, so that a refusal must take it away.
        enter("2026-01-01", "2026-01-02", 2);
        ASSERT_EQ(text(result), "1 日");
        ASSERT_TRUE(copy_enabled());
        enter(c.start, c.end, c.unit);
        if (c.result) {
            EXPECT_EQ(text(result), c.result);
            EXPECT_EQ(text(breakdown), c.breakdown);
            EXPECT_TRUE(copy_enabled());
        } else {
            expect_no_result(c.breakdown);
        }
        EXPECT_EQ(host.status_text(), "就绪");  // nothing goes to the status line
    }
}

TEST_F(TimeDiffPage, EachStepRecomputesAlone) {
    host.type(at(start_edit), "2026-01-01");
    expect_no_result(missing);
    host.type(at(end_edit), "2026-01-01 01:30");
    EXPECT_EQ(text(result), "90 分钟");
    host.choose(at(unit_list), 3);
    EXPECT_EQ(text(result), "1.5 小时");
    host.choose(at(unit_list), 5);
    EXPECT_EQ(text(result), "5400 秒");
    host.type(at(end_edit), "2026-01-01 01:3");
    expect_no_result(bad_end);
    host.type(at(end_edit), "2026-01-01 01:30:00.25");
    EXPECT_EQ(text(result), "5400.25 秒");
    EXPECT_EQ(text(breakdown), "0 天 1 小时 30 分 0.25 秒");
}

TEST_F(TimeDiffPage, TypingIntoTheEditRecomputes) {
    host.type(at(end_edit), "2026-01-02");
    // Keystrokes into the real edit: it notifies the page itself.
    SetFocus(at(start_edit));
    for (const char c : std::string("2026-01-01 12:00")) {
        SendMessageW(at(start_edit), WM_CHAR, static_cast<WPARAM>(c), 0);
        host.pump();
        if (c == '1' && text(start_edit) == "2026-01-01") {
            EXPECT_EQ(text(result), "1440 分钟");
        }
    }
    EXPECT_EQ(text(start_edit), "2026-01-01 12:00");
    EXPECT_EQ(text(result), "720 分钟");
    EXPECT_EQ(text(breakdown), "0 天 12 小时 0 分 0 秒");
    // Deleting a character: "2026-01-01 12:0" is refused.
    SendMessageW(at(start_edit), WM_CHAR, VK_BACK, 0);
    host.pump();
    expect_no_result(bad_start);
}

TEST_F(TimeDiffPage, CopyPutsTheBareValueOnTheClipboard) {
    enter("2026-01-01 01:30", "2026-01-01", 3);
    ASSERT_EQ(text(result), "-1.5 小时");
    ASSERT_TRUE(page_test::put_on_clipboard("before"));
    host.click(at(copy));
    EXPECT_EQ(page_test::clipboard_text(), "-1.5");
    EXPECT_EQ(host.status_text(), "已复制到剪贴板。");
    EXPECT_FALSE(host.status_is_error());
    // The value follows the unit.
    host.choose(at(unit_list), 4);
    host.command(606);
    EXPECT_EQ(page_test::clipboard_text(), "-90");
}

TEST_F(TimeDiffPage, NothingToCopyWithoutAResult) {
    enter("2026-01-01", "2026-01-02", 2);
    host.type(at(end_edit), "2026-02-30");
    expect_no_result(bad_end);
    ASSERT_TRUE(page_test::put_on_clipboard("before"));
    // The button is disabled; its command, should it come, has nothing to copy.
    host.command(606);
    EXPECT_EQ(page_test::clipboard_text(), "before");
    EXPECT_EQ(host.status_text(), "请先生成或转换结果。");
    EXPECT_TRUE(host.status_is_error());
}

TEST_F(TimeDiffPage, SwapExchangesTheTimes) {
    enter("2026-01-01 00:00:00", "2026-01-02 01:30:00.5", 3);
    host.command(607);
    EXPECT_EQ(text(start_edit), "2026-01-02 01:30:00.5");
    EXPECT_EQ(text(end_edit), "2026-01-01 00:00:00");
    EXPECT_EQ(text(result), "-25.500139 小时");
    EXPECT_EQ(text(breakdown), "负 1 天 1 小时 30 分 0.5 秒");
    host.command(607);
    EXPECT_EQ(text(result), "25.500139 小时");
    // With one edit empty.
    host.type(at(end_edit), "");
    host.command(607);
    EXPECT_EQ(text(start_edit), "");
    EXPECT_EQ(text(end_edit), "2026-01-01 00:00:00");
    expect_no_result(missing);
    // An invalid time moves with its text: it is now the end that is refused.
    host.type(at(start_edit), "2026-13-01");
    expect_no_result(bad_start);
    host.command(607);
    expect_no_result(bad_end);
}

TEST_F(TimeDiffPage, ClearEmptiesBothAndFocusesTheStart) {
    enter("2026-01-01", "2026-01-02", 2);
    SetFocus(at(end_edit));
    host.command(608);
    EXPECT_EQ(text(start_edit), "");
    EXPECT_EQ(text(end_edit), "");
    expect_no_result(missing);
    EXPECT_EQ(GetFocus(), at(start_edit));
    EXPECT_EQ(dropdown_selection(at(unit_list)), 2);  // the unit stays
}

// The local time, as the system gives it, read through the page's own reader.
std::int64_t local_now_ms() {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    char text[32];
    wsprintfA(text, "%04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
    return *read_moment(text);
}

TEST_F(TimeDiffPage, CurrentTimeButtons) {
    const std::int64_t before = local_now_ms();
    host.command(603);
    const std::string start = text(start_edit);
    ASSERT_EQ(start.size(), 19u) << start;  // no fraction
    const auto read = read_moment(start);
    ASSERT_TRUE(read.has_value()) << start;
    EXPECT_GE(*read, before);
    EXPECT_LE(*read, local_now_ms());
    expect_no_result(missing);  // the end is still empty
    host.choose(at(unit_list), 5);
    host.command(604);
    const auto end = read_moment(text(end_edit));
    ASSERT_TRUE(end.has_value());
    const std::string seconds = text(result);
    EXPECT_EQ(seconds, std::to_string((*end - *read) / 1000) + " 秒");
    EXPECT_TRUE(copy_enabled());
    EXPECT_EQ(host.status_text(), "就绪");
}

TEST_F(TimeDiffPage, OtherNotificationsAreIgnored) {
    host.type(at(start_edit), "2026-01-01");
    SetWindowTextW(at(end_edit), L"2026-01-02");  // the edit's own EN_CHANGE recomputes
    host.pump();
    ASSERT_EQ(text(result), "1440 分钟");
    for (const int id : {603, 604, 606, 607, 608}) {
        SendMessageW(host.page(), WM_COMMAND, MAKEWPARAM(id, BN_SETFOCUS), reinterpret_cast<LPARAM>(host.item(id)));
    }
    SendMessageW(host.page(), WM_COMMAND, MAKEWPARAM(601, EN_SETFOCUS), reinterpret_cast<LPARAM>(at(start_edit)));
    SendMessageW(host.page(), WM_COMMAND, MAKEWPARAM(605, CBN_DROPDOWN), reinterpret_cast<LPARAM>(at(unit_list)));
    host.pump();
    EXPECT_EQ(text(start_edit), "2026-01-01");
    EXPECT_EQ(text(end_edit), "2026-01-02");
    EXPECT_EQ(text(result), "1440 分钟");
    EXPECT_EQ(host.status_text(), "就绪");
}

}  // namespace
