#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "../common/page_host_win.h"
#include "identity/id_number_page_win.h"
#include "identity/region_table.h"
#include "timestamp/calendar.h"
#include "ui/page_layout.h"

namespace {

using page_test::crlf_lines;

// The controls in creation order.
enum Control {
    title, note, province_caption, province_list, county_caption, county_list, sex_caption, sex_list,
    min_age_caption, min_age_field, max_age_caption, max_age_field, count_caption, count_field, heading,
    generate, copy_all, results, control_count
};

// The date the page under test takes as today.
CivilDate test_today{2026, 1, 1};
CivilDate fixed_today() { return test_today; }

class IdNumberPage : public ::testing::Test {
protected:
    IdNumberPage() : harness_([](HWND page) { return build_id_number_page(page, fixed_today); }) {
        test_today = {2026, 1, 1};
    }

    void SetUp() override { ASSERT_EQ(harness_.controls().size(), static_cast<std::size_t>(control_count)); }

    HWND control(Control c) const { return harness_.controls()[static_cast<std::size_t>(c)]; }

    void fill(const char* count, const char* min_age, const char* max_age) {
        harness_.type(control(count_field), count);
        harness_.type(control(min_age_field), min_age);
        harness_.type(control(max_age_field), max_age);
    }
    void press_generate() { harness_.click(control(generate)); }
    std::vector<std::string> result_lines() const { return crlf_lines(read_text(control(results))); }

    page_test::HostedPage harness_;
};

std::set<std::uint32_t> codes_of(std::span<const AreaEntry> areas) {
    std::set<std::uint32_t> codes;
    for (const AreaEntry& a : areas) codes.insert(a.code);
    return codes;
}

// Everything a number of the batch must satisfy. sex: 0 any, 1 odd, 2 even.
void expect_valid(const std::string& number, const std::set<std::uint32_t>& areas, const std::string& earliest,
                  const std::string& latest, int sex) {
    SCOPED_TRACE(number);
    ASSERT_EQ(number.size(), 18u);
    for (std::size_t i = 0; i < 17; ++i) ASSERT_TRUE(number[i] >= '0' && number[i] <= '9');
    EXPECT_TRUE(areas.count(static_cast<std::uint32_t>(std::stoul(number.substr(0, 6)))));
    const std::string birth = number.substr(6, 8);
    const int year = std::stoi(birth.substr(0, 4));
    const unsigned month = static_cast<unsigned>(std::stoi(birth.substr(4, 2)));
    const unsigned day = static_cast<unsigned>(std::stoi(birth.substr(6, 2)));
    EXPECT_TRUE(is_valid_date(year, month, day));
    EXPECT_GE(birth, earliest);
    EXPECT_LE(birth, latest);
    const std::string sequence = number.substr(14, 3);
    EXPECT_NE(sequence, "000");
    const int last_digit = number[16] - '0';
    if (sex != 0) {
        EXPECT_EQ(last_digit % 2, sex == 1 ? 1 : 0);
    }
    const int weights[17] = {7, 9, 10, 5, 8, 4, 2, 1, 6, 3, 7, 9, 10, 5, 8, 4, 2};
    int sum = 0;
    for (std::size_t i = 0; i < 17; ++i) sum += (number[i] - '0') * weights[i];
    EXPECT_EQ(number[17], "10X98765432"[sum % 11]);
}

TEST_F(IdNumberPage, StartsWithItsControlsTextsAndListsInCreationOrder) {
    const page_test::ExpectedControl expected[] = {
        {title, ControlKind::PageTitle, "身份证号生成", 0},
        {note, ControlKind::Hint, "生成中国大陆 18 位身份证号测试样本，请勿用于身份认证。", 0},
        {province_caption, ControlKind::Label, "省级地区", 0},
        {province_list, ControlKind::Dropdown, "全国随机", 401},
        {county_caption, ControlKind::Label, "区县", 0},
        {county_list, ControlKind::Dropdown, "全国随机", 0},
        {sex_caption, ControlKind::Label, "性别", 0},
        {sex_list, ControlKind::Dropdown, "随机", 0},
        {min_age_caption, ControlKind::Label, "最小年龄", 0},
        {min_age_field, ControlKind::TextField, "18", 0},
        {max_age_caption, ControlKind::Label, "最大年龄", 0},
        {max_age_field, ControlKind::TextField, "60", 0},
        {count_caption, ControlKind::Label, "数量（1–10000）", 0},
        {count_field, ControlKind::TextField, "10", 0},
        {heading, ControlKind::SectionTitle, "生成结果", 0},
        {generate, ControlKind::PrimaryButton, "生成", 402},
        {copy_all, ControlKind::Button, "复制全部", 403},
        {results, ControlKind::ResultArea, "", 0},
    };
    page_test::expect_controls(harness_, expected);
    const std::vector<std::string> provinces = page_test::list_items(control(province_list));
    ASSERT_EQ(provinces.size(), 32u);
    EXPECT_EQ(provinces[0], "全国随机");
    EXPECT_EQ(provinces[1], "北京市");
    EXPECT_EQ(provinces[19], "广东省");
    EXPECT_EQ(provinces[31], "新疆维吾尔自治区");
    EXPECT_EQ(page_test::list_items(control(county_list)), std::vector<std::string>{"全国随机"});
    EXPECT_EQ(page_test::list_items(control(sex_list)), (std::vector<std::string>{"随机", "男", "女"}));
    for (Control list : {province_list, county_list, sex_list}) EXPECT_EQ(dropdown_selection(control(list)), 0);
    // The county list opens 420 units wide at the start, whatever its item.
    EXPECT_EQ(SendMessageW(control(county_list), CB_GETDROPPEDWIDTH, 0, 0), scale(420));
    EXPECT_FALSE(IsWindowEnabled(control(copy_all)));
    EXPECT_TRUE(GetWindowLongW(control(results), GWL_STYLE) & ES_READONLY);
}

TEST_F(IdNumberPage, LaysOutItsControlsForThePageSize) {
    for (auto [p, h] : {std::pair{908, 660}, std::pair{600, 500}, std::pair{1300, 900}}) {
        SCOPED_TRACE(p);
        harness_.resize(p, h);
        const int c = std::min(p - 352, 440);
        const page_test::ExpectedPlace expected[] = {
            {title, {28, 24, p - 56, 39}},
            {note, {28, 68, p - 56, 22}},
            {province_caption, {28, 105, 148, 20}},
            {province_list, {28, 129, 148, 252}},
            {county_caption, {192, 105, c, 20}},
            {county_list, {192, 129, c, 252}},
            {sex_caption, {c + 208, 105, 116, 20}},
            {sex_list, {c + 208, 129, 116, 252}},
            {min_age_caption, {28, 180, 148, 20}},
            {min_age_field, {28, 204, 148, 34}},
            {max_age_caption, {192, 180, 116, 20}},
            {max_age_field, {192, 204, 116, 34}},
            {count_caption, {324, 180, 136, 20}},
            {count_field, {324, 204, 136, 34}},
            {generate, {476, 204, 96, 34}},
            {heading, {28, 268, p - 168, 24}},
            {copy_all, {p - 124, 262, 96, 34}},
            {results, {28, 306, p - 56, h - 324}},
        };
        page_test::expect_layout(harness_, expected);
    }
}

TEST_F(IdNumberPage, ChoosingAProvinceRefillsTheCountyList) {
    const struct {
        int province;
        std::size_t items;
        const char* first;
        const char* second;
    } cases[] = {
        {1, 17, "该地区随机", "东城区"},
        {3, 168, "该地区随机", "石家庄市 · 长安区"},
        {5, 104, "该地区随机", nullptr},
        {31, 111, "该地区随机", nullptr},
        {0, 1, "全国随机", nullptr},
        {22, 38, "该地区随机", nullptr},
    };
    // A county list 100 units wide, narrower than most of its items. The list
    // compares a new drop width with the width it had when last measured, so
    // one refill first lets it take in the new size.
    harness_.resize(452, 600);
    harness_.choose(control(province_list), 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.province);
        // A county chosen before the change does not survive it.
        if (page_test::list_items(control(county_list)).size() > 2) harness_.choose(control(county_list), 2);
        harness_.choose(control(province_list), c.province);
        const std::vector<std::string> items = page_test::list_items(control(county_list));
        ASSERT_EQ(items.size(), c.items);
        EXPECT_EQ(items[0], c.first);
        if (c.second) {
            EXPECT_EQ(items[1], c.second);
        }
        EXPECT_EQ(dropdown_selection(control(county_list)), 0);
        std::size_t longest = 0;
        for (const std::string& item : items) longest = std::max(longest, to_wide(item).size());
        // A list never opens narrower than itself.
        const RECT face = page_test::rect_in_parent(control(county_list));
        EXPECT_EQ(SendMessageW(control(county_list), CB_GETDROPPEDWIDTH, 0, 0),
                  std::max(scale(std::max(98, 15 * static_cast<int>(longest) + 35)), int{face.right - face.left}));
    }
}

TEST_F(IdNumberPage, OtherNotificationsOfTheProvinceListDoNotRefill) {
    SendMessageW(control(province_list), CB_SETCURSEL, 1, 0);
    for (int code : {CBN_DROPDOWN, CBN_CLOSEUP, CBN_SETFOCUS, CBN_SELENDOK, 0}) {
        SendMessageW(harness_.page(), WM_COMMAND, MAKEWPARAM(401, code), reinterpret_cast<LPARAM>(control(province_list)));
        EXPECT_EQ(page_test::list_items(control(county_list)), std::vector<std::string>{"全国随机"}) << code;
    }
    EXPECT_EQ(read_text(control(results)), "");
}

TEST_F(IdNumberPage, GeneratesTenValidNumbersByDefault) {
    press_generate();
    const std::vector<std::string> lines = result_lines();
    ASSERT_EQ(lines.size(), 10u);
    const auto national = codes_of(region_table().national);
    for (const std::string& line : lines) expect_valid(line, national, "19650102", "20080101", 0);
    EXPECT_EQ(read_text(control(heading)), "生成结果（10 条）");
    EXPECT_EQ(harness_.status_text(), "已生成 10 条。");
    EXPECT_FALSE(harness_.status_is_error());
    EXPECT_TRUE(IsWindowEnabled(control(copy_all)));
}

TEST_F(IdNumberPage, NumbersFollowTheChosenAreaSexAndAges) {
    const RegionTable& table = region_table();
    const struct {
        int province;
        int county;
        int sex;
        const char* min_age;
        const char* max_age;
        CivilDate today;
        std::set<std::uint32_t> areas;
        const char* earliest;
        const char* latest;
    } cases[] = {
        {1, 1, 2, "0", "0", {2026, 1, 1}, {110101}, "20250102", "20260101"},
        {1, 1, 1, " +0 ", "0", {2026, 1, 1}, {110101}, "20250102", "20260101"},
        {3, 0, 1, "18", "60", {2026, 1, 1}, codes_of(table.provinces[2].areas), "19650102", "20080101"},
        {3, 1, 0, "30", "30", {2026, 7, 15}, {130102}, "19950716", "19960715"},
        {21, 0, 2, "0", "60", {2024, 2, 29}, codes_of(table.provinces[20].areas), "19630301", "20240229"},
        {0, 0, 0, "120", "120", {2026, 1, 1}, codes_of(table.national), "19050102", "19060101"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.province << "/" << c.county << "/" << c.sex << " " << c.earliest);
        test_today = c.today;
        harness_.choose(control(province_list), c.province);
        harness_.choose(control(county_list), c.county);
        harness_.choose(control(sex_list), c.sex);
        fill("500", c.min_age, c.max_age);
        press_generate();
        ASSERT_EQ(harness_.status_text(), "已生成 500 条。");
        const std::vector<std::string> lines = result_lines();
        ASSERT_EQ(lines.size(), 500u);
        EXPECT_EQ(std::set<std::string>(lines.begin(), lines.end()).size(), 500u);
        for (const std::string& line : lines) expect_valid(line, c.areas, c.earliest, c.latest, c.sex);
    }
}

TEST_F(IdNumberPage, TodayIsReadAtEachPress) {
    fill("300", "0", "0");
    press_generate();
    for (const std::string& line : result_lines()) expect_valid(line, codes_of(region_table().national), "20250102", "20260101", 0);
    test_today = {2026, 3, 1};
    press_generate();
    for (const std::string& line : result_lines()) expect_valid(line, codes_of(region_table().national), "20250302", "20260301", 0);
}

// The ways the user can leave the lists in a state that no refill produces.
enum class Lists {
    as_built,
    county_without_province,  // a county of 北京市 chosen, then the province selection cleared
    county_beyond_province,   // county 100 of 河北省 chosen, then 北京市 selected without a refill
};

TEST_F(IdNumberPage, EachRefusalShowsItsMessageInOrderAndKeepsThePreviousResults) {
    const std::string count = "数量必须是 1 到 10000 之间的整数。";
    const std::string age = "请输入 0 到 120 之间的整数年龄。";
    const std::string province = "请选择有效的省级地区。";
    const std::string county = "请选择有效的区县。";
    const std::string range = "年龄范围应在 0–120 周岁之间，最小年龄不能大于最大年龄。";
    const std::string early = "系统日期过早，请检查 Windows 日期设置。";
    const std::string late = "系统日期超出可用范围，请检查 Windows 日期设置。";
    const struct {
        const char* count;
        const char* min_age;
        const char* max_age;
        Lists lists;
        CivilDate today;
        const std::string& message;
    } cases[] = {
        {"0", "18", "60", Lists::as_built, {2026, 1, 1}, count},
        {"", "18", "60", Lists::as_built, {2026, 1, 1}, count},
        {"10001", "x", "y", Lists::county_without_province, {50, 1, 1}, count},
        {"+", "18", "60", Lists::as_built, {2026, 1, 1}, count},
        {"10", "", "60", Lists::as_built, {2026, 1, 1}, age},
        {"10", "18", "", Lists::as_built, {2026, 1, 1}, age},
        {"10", "-1", "60", Lists::as_built, {2026, 1, 1}, age},
        {"10", "18", "60.5", Lists::as_built, {2026, 1, 1}, age},
        {"10", "18", "4294967296", Lists::as_built, {2026, 1, 1}, age},
        {"10", "1 8", "60", Lists::county_without_province, {50, 1, 1}, age},
        {"10", "18", "60", Lists::county_without_province, {2026, 1, 1}, province},
        {"10", "30", "20", Lists::county_without_province, {50, 1, 1}, province},
        {"10", "18", "60", Lists::county_beyond_province, {2026, 1, 1}, county},
        {"10", "30", "20", Lists::county_beyond_province, {50, 1, 1}, county},
        {"10", "30", "20", Lists::as_built, {2026, 1, 1}, range},
        {"10", "0", "121", Lists::as_built, {2026, 1, 1}, range},
        {"10", "121", "121", Lists::as_built, {50, 1, 1}, range},
        {"10", "0", "120", Lists::as_built, {100, 1, 1}, early},
        {"10", "0", "0", Lists::as_built, {10000, 1, 1}, late},
    };
    // One good batch first: every refusal must leave it in place.
    fill("7", "18", "60");
    press_generate();
    const std::string previous = read_text(control(results));
    ASSERT_EQ(crlf_lines(previous).size(), 7u);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.message << " / " << c.count << " " << c.min_age << "-" << c.max_age);
        harness_.choose(control(province_list), 0);
        if (c.lists == Lists::county_without_province) {
            harness_.choose(control(province_list), 1);
            harness_.choose(control(county_list), 3);
            SendMessageW(control(province_list), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        } else if (c.lists == Lists::county_beyond_province) {
            harness_.choose(control(province_list), 3);
            harness_.choose(control(county_list), 100);
            SendMessageW(control(province_list), CB_SETCURSEL, 1, 0);
        }
        test_today = c.today;
        fill(c.count, c.min_age, c.max_age);
        harness_.reset_status();
        press_generate();
        EXPECT_EQ(harness_.status_text(), c.message);
        EXPECT_TRUE(harness_.status_is_error());
        EXPECT_EQ(read_text(control(results)), previous);
        EXPECT_EQ(read_text(control(heading)), "生成结果（7 条）");
        EXPECT_TRUE(IsWindowEnabled(control(copy_all)));
    }
}

TEST_F(IdNumberPage, CopyAllPutsTheResultsOnTheClipboardAlsoAfterARefusal) {
    fill("12", "18", "60");
    press_generate();
    const std::string shown = read_text(control(results));
    page_test::put_on_clipboard("before");
    harness_.click(control(copy_all));
    EXPECT_EQ(page_test::clipboard_text(), shown);
    EXPECT_EQ(crlf_lines(page_test::clipboard_text()).size(), 12u);
    EXPECT_EQ(harness_.status_text(), "已复制到剪贴板。");
    EXPECT_FALSE(harness_.status_is_error());

    fill("12", "60", "18");
    press_generate();
    ASSERT_TRUE(harness_.status_is_error());
    page_test::put_on_clipboard("before");
    harness_.click(control(copy_all));
    EXPECT_EQ(page_test::clipboard_text(), shown);
    EXPECT_EQ(harness_.status_text(), "已复制到剪贴板。");
}

TEST_F(IdNumberPage, TenThousandDistinctNumbers) {
    harness_.choose(control(province_list), 9);  // 上海市
    harness_.choose(control(county_list), 1);
    fill("10000", "0", "0");
    press_generate();
    const std::vector<std::string> lines = result_lines();
    ASSERT_EQ(lines.size(), 10000u);
    EXPECT_EQ(std::set<std::string>(lines.begin(), lines.end()).size(), 10000u);
    EXPECT_EQ(read_text(control(heading)), "生成结果（10000 条）");
    EXPECT_EQ(harness_.status_text(), "已生成 10000 条。");
}

}  // namespace
