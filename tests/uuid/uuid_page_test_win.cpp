#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "../common/page_host_win.h"
#include "ui/page_layout.h"
#include "uuid/batch.h"
#include "uuid/uuid_page_win.h"

namespace {

using page_test::crlf_lines;

// The controls in creation order.
enum Control {
    title, separator_caption, separator_list, case_caption, case_list, count_caption, count_field, heading,
    generate, copy_all, results, control_count
};

class UuidPage : public ::testing::Test {
protected:
    UuidPage() : harness_([](HWND page) { return build_uuid_page(page); }) {}

    void SetUp() override { ASSERT_EQ(harness_.controls().size(), static_cast<std::size_t>(control_count)); }

    HWND control(Control c) const { return harness_.controls()[static_cast<std::size_t>(c)]; }

    // Types the count and presses "生成".
    void generate_with(std::string_view count) {
        harness_.type(control(count_field), count);
        harness_.click(control(generate));
    }
    std::string results_text() const { return read_text(control(results)); }

    page_test::HostedPage harness_;
};

bool is_hex_digit(char c, bool upper) {
    return (c >= '0' && c <= '9') || (upper ? (c >= 'A' && c <= 'F') : (c >= 'a' && c <= 'f'));
}

// The line's hex digits without separators, after checking the separators
// sit between groups of 8, 4, 4, 4 and 12 digits.
std::string digits_of(const std::string& line, char separator, bool upper) {
    std::string digits;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const bool separator_place = separator != 0 && (i == 8 || i == 13 || i == 18 || i == 23);
        if (separator_place) {
            EXPECT_EQ(line[i], separator) << line;
            continue;
        }
        EXPECT_TRUE(is_hex_digit(line[i], upper)) << line;
        digits.push_back(line[i]);
    }
    return digits;
}

TEST_F(UuidPage, StartsWithItsControlsTextsAndListsInCreationOrder) {
    const page_test::ExpectedControl expected[] = {
        {title, ControlKind::PageTitle, "随机 UUID", 0},
        {separator_caption, ControlKind::Label, "分隔符", 0},
        {separator_list, ControlKind::Dropdown, "连字符  -", 0},
        {case_caption, ControlKind::Label, "字母大小写", 0},
        {case_list, ControlKind::Dropdown, "小写", 0},
        {count_caption, ControlKind::Label, "数量（1–10000）", 0},
        {count_field, ControlKind::TextField, "10", 0},
        {heading, ControlKind::SectionTitle, "生成结果", 0},
        {generate, ControlKind::PrimaryButton, "生成", 301},
        {copy_all, ControlKind::Button, "复制全部", 302},
        {results, ControlKind::ResultArea, "", 0},
    };
    page_test::expect_controls(harness_, expected);
    EXPECT_EQ(page_test::list_items(control(separator_list)),
              (std::vector<std::string>{"连字符  -", "下划线  _", "无分隔符"}));
    EXPECT_EQ(dropdown_selection(control(separator_list)), 0);
    EXPECT_EQ(page_test::list_items(control(case_list)), (std::vector<std::string>{"小写", "大写"}));
    EXPECT_EQ(dropdown_selection(control(case_list)), 0);
    EXPECT_FALSE(IsWindowEnabled(control(copy_all)));
    EXPECT_TRUE(IsWindowEnabled(control(generate)));
    EXPECT_TRUE(GetWindowLongW(control(results), GWL_STYLE) & ES_READONLY);
}

TEST_F(UuidPage, LaysOutItsControlsForThePageSize) {
    for (auto [p, h] : {std::pair{908, 660}, std::pair{640, 400}, std::pair{1300, 900}}) {
        SCOPED_TRACE(p);
        harness_.resize(p, h);
        const page_test::ExpectedPlace expected[] = {
            {title, {28, 24, p - 56, 39}},
            {separator_caption, {28, 86, 148, 20}},
            {separator_list, {28, 110, 148, 252}},
            {case_caption, {192, 86, 116, 20}},
            {case_list, {192, 110, 116, 252}},
            {count_caption, {324, 86, 136, 20}},
            {count_field, {324, 110, 136, 34}},
            {generate, {476, 110, 96, 34}},
            {heading, {28, 174, p - 168, 24}},
            {copy_all, {p - 124, 168, 96, 34}},
            {results, {28, 212, p - 56, h - 230}},
        };
        page_test::expect_layout(harness_, expected);
    }
}

TEST_F(UuidPage, GeneratesTenLowerCaseHyphenatedUuidsByDefault) {
    harness_.click(control(generate));
    const std::vector<std::string> lines = crlf_lines(results_text());
    ASSERT_EQ(lines.size(), 10u);
    for (const std::string& line : lines) {
        ASSERT_EQ(line.size(), 36u) << line;
        const std::string digits = digits_of(line, '-', false);
        EXPECT_EQ(digits[12], '4') << line;
        EXPECT_NE(std::string("89ab").find(digits[16]), std::string::npos) << line;
    }
    EXPECT_EQ(read_text(control(heading)), "生成结果（10 条）");
    EXPECT_EQ(harness_.status_text(), "已生成 10 条。");
    EXPECT_FALSE(harness_.status_is_error());
    EXPECT_TRUE(IsWindowEnabled(control(copy_all)));
}

TEST_F(UuidPage, EveryStyleAndCaseWritesItsForm) {
    const struct {
        int separator;
        int letter_case;
        char separator_char;  // 0: none
        bool upper;
    } cases[] = {
        {0, 0, '-', false}, {0, 1, '-', true}, {1, 0, '_', false},
        {1, 1, '_', true},  {2, 0, 0, false},  {2, 1, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.separator << "/" << c.letter_case);
        harness_.choose(control(separator_list), c.separator);
        harness_.choose(control(case_list), c.letter_case);
        generate_with("200");
        const std::vector<std::string> lines = crlf_lines(results_text());
        ASSERT_EQ(lines.size(), 200u);
        std::set<char> variants;
        for (const std::string& line : lines) {
            ASSERT_EQ(line.size(), c.separator_char ? 36u : 32u) << line;
            const std::string digits = digits_of(line, c.separator_char, c.upper);
            ASSERT_EQ(digits.size(), 32u);
            EXPECT_EQ(digits[12], '4') << line;
            variants.insert(digits[16]);
        }
        const std::set<char> allowed = c.upper ? std::set<char>{'8', '9', 'A', 'B'} : std::set<char>{'8', '9', 'a', 'b'};
        // 200 UUIDs all but surely show all four variant digits, and no others.
        EXPECT_EQ(variants, allowed);
    }
}

TEST_F(UuidPage, AcceptedCountsGiveThatManyLines) {
    const struct {
        const char* text;
        std::size_t lines;
    } cases[] = {
        {" 10 ", 10}, {"+5", 5}, {"1", 1}, {"007", 7}, {"\t3\u3000", 3}, {"10000", 10000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        harness_.reset_status();
        generate_with(c.text);
        EXPECT_EQ(crlf_lines(results_text()).size(), c.lines);
        EXPECT_EQ(read_text(control(heading)), results_heading(static_cast<std::uint32_t>(c.lines)));
        EXPECT_EQ(harness_.status_text(), generated_status(static_cast<std::uint32_t>(c.lines)));
        EXPECT_FALSE(harness_.status_is_error());
    }
    EXPECT_EQ(read_text(control(heading)), "生成结果（10000 条）");
}

TEST_F(UuidPage, RefusedCountsKeepThePreviousResults) {
    generate_with("3");
    const std::string previous = results_text();
    ASSERT_EQ(crlf_lines(previous).size(), 3u);
    for (const char* text : {"0", "-1", "−1", "10001", "1.5", "", "+", "  ", "１０", "1e3", "99999999999999999999999"}) {
        SCOPED_TRACE(text);
        harness_.reset_status();
        generate_with(text);
        EXPECT_EQ(harness_.status_text(), "数量必须是 1 到 10000 之间的整数。");
        EXPECT_TRUE(harness_.status_is_error());
        EXPECT_EQ(results_text(), previous);
        EXPECT_EQ(read_text(control(heading)), "生成结果（3 条）");
        EXPECT_TRUE(IsWindowEnabled(control(copy_all)));
    }
}

TEST_F(UuidPage, ARefusedCountBeforeAnyGenerationLeavesCopyDisabled) {
    generate_with("0");
    EXPECT_EQ(harness_.status_text(), "数量必须是 1 到 10000 之间的整数。");
    EXPECT_FALSE(IsWindowEnabled(control(copy_all)));
    EXPECT_EQ(results_text(), "");
    EXPECT_EQ(read_text(control(heading)), "生成结果");
}

TEST_F(UuidPage, CopyAllPutsTheResultsOnTheClipboard) {
    generate_with("25");
    page_test::put_on_clipboard("before");
    harness_.click(control(copy_all));
    const std::string copied = page_test::clipboard_text();
    EXPECT_EQ(copied, results_text());
    EXPECT_EQ(crlf_lines(copied).size(), 25u);
    EXPECT_EQ(copied.substr(copied.size() - 2).find('\n'), std::string::npos);  // no trailing line break
    EXPECT_EQ(harness_.status_text(), "已复制到剪贴板。");
    EXPECT_FALSE(harness_.status_is_error());
}

TEST_F(UuidPage, CopyAllAfterARefusedCountStillCopiesThePreviousResults) {
    generate_with("4");
    const std::string previous = results_text();
    generate_with("10001");
    ASSERT_TRUE(harness_.status_is_error());
    page_test::put_on_clipboard("before");
    harness_.click(control(copy_all));
    EXPECT_EQ(page_test::clipboard_text(), previous);
    EXPECT_EQ(harness_.status_text(), "已复制到剪贴板。");
}

TEST_F(UuidPage, CopyAllBeforeAnyGenerationHasNothingToCopy) {
    EXPECT_FALSE(IsWindowEnabled(control(copy_all)));
    // Should the command arrive all the same, the clipboard stays as it was.
    page_test::put_on_clipboard("before");
    SendMessageW(harness_.page(), WM_COMMAND, MAKEWPARAM(302, BN_CLICKED), 0);
    EXPECT_EQ(page_test::clipboard_text(), "before");
    EXPECT_EQ(harness_.status_text(), "请先生成或转换结果。");
    EXPECT_TRUE(harness_.status_is_error());
}

TEST_F(UuidPage, EachGenerationReplacesTheResultsWithNewUuids) {
    generate_with("50");
    const std::vector<std::string> first = crlf_lines(results_text());
    generate_with("50");
    const std::vector<std::string> second = crlf_lines(results_text());
    std::set<std::string> all(first.begin(), first.end());
    all.insert(second.begin(), second.end());
    EXPECT_EQ(all.size(), 100u);
}

TEST_F(UuidPage, TheResultsBoxKeepsItsPlaceOrderAndFocusAcrossBatches) {
    generate_with("3");
    SetFocus(control(results));
    ASSERT_EQ(GetFocus(), control(results));
    // As from the keyboard: a click would first move the focus to the button.
    harness_.type(control(count_field), "5");
    SendMessageW(harness_.page(), WM_COMMAND, MAKEWPARAM(301, BN_CLICKED), 0);
    EXPECT_EQ(crlf_lines(results_text()).size(), 5u);
    EXPECT_EQ(control_kind(control(results)), ControlKind::ResultArea);
    EXPECT_TRUE(GetWindowLongW(control(results), GWL_STYLE) & ES_READONLY);
    EXPECT_EQ(GetFocus(), control(results));
    EXPECT_EQ(GetWindow(control(results), GW_HWNDNEXT), nullptr);  // still last in the tab order
    page_test::expect_placed(control(results), {28, 212, 908 - 56, 660 - 230});
    harness_.resize(700, 500);
    page_test::expect_placed(control(results), {28, 212, 700 - 56, 500 - 230});
}

TEST_F(UuidPage, CommandsWithANotificationCodeAreIgnored) {
    SendMessageW(harness_.page(), WM_COMMAND, MAKEWPARAM(301, BN_DOUBLECLICKED), 0);
    SendMessageW(harness_.page(), WM_COMMAND, MAKEWPARAM(301, BN_SETFOCUS), 0);
    EXPECT_EQ(results_text(), "");
    EXPECT_EQ(harness_.status_text(), "就绪");
    EXPECT_FALSE(IsWindowEnabled(control(copy_all)));
}

// How long 10,000 UUIDs take from the command to the results box holding
// them; the figure is printed (over seven runs) when LUMARO_UUID_SHOW_TIMING
// is set, otherwise one run only checks the result.
TEST_F(UuidPage, TimeToShowTenThousand) {
    const bool report = std::getenv("LUMARO_UUID_SHOW_TIMING") != nullptr;
    harness_.type(control(count_field), "10000");
    std::vector<double> ms;
    for (int run = 0; run < (report ? 7 : 1); ++run) {
        const auto start = std::chrono::steady_clock::now();
        SendMessageW(harness_.page(), WM_COMMAND, MAKEWPARAM(301, BN_CLICKED), 0);
        UpdateWindow(control(results));
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        harness_.pump();
    }
    EXPECT_EQ(crlf_lines(results_text()).size(), 10000u);
    if (!report) return;
    std::printf("runs:");
    for (double m : ms) std::printf(" %.0f", m);
    std::printf(" ms\n");
    std::sort(ms.begin(), ms.end());
    std::printf("10000 UUIDs generated and shown: median %.1f ms, min %.1f ms, max %.1f ms\n", ms[3], ms[0], ms[6]);
}

}  // namespace
