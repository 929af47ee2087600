#include "identity/id_number_page_win.h"

#include <algorithm>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "identity/id_number.h"
#include "identity/region_table.h"
#include "ui/captioned_field_win.h"
#include "ui/controls_win.h"
#include "ui/page_layout.h"
#include "ui/ui_resources_win.h"
#include "uuid/batch_panel_win.h"

namespace {

constexpr const char* sex_items[] = {"随机", "男", "女"};
constexpr int county_drop_width = 420;

// The table's names are views; the list wants NUL-terminated texts.
void fill_list(HWND list, std::span<const std::string_view> items) {
    std::vector<std::string> texts(items.begin(), items.end());
    std::vector<const char*> pointers;
    pointers.reserve(texts.size());
    for (const std::string& text : texts) pointers.push_back(text.c_str());
    fill_dropdown(list, pointers.data(), static_cast<int>(pointers.size()), 0);
}

HWND make_list(HWND page, std::span<const std::string_view> items, int id) {
    HWND list = create_control(page, ControlKind::Dropdown, "", id);
    fill_list(list, items);
    return list;
}

class IdNumberPage final : public PageVariant {
public:
    IdNumberPage(HWND page, TodaySource today)
        : today_(today),
          title_(create_control(page, ControlKind::PageTitle, page_titles[id_number_page], 0)),
          note_(create_control(page, ControlKind::Hint, "生成中国大陆 18 位身份证号测试样本，请勿用于身份认证。", 0)),
          province_caption_(create_control(page, ControlKind::Label, "省级地区", 0)),
          province_list_(make_list(page, province_list_items(), id_province_list_id)),
          county_caption_(create_control(page, ControlKind::Label, "区县", 0)),
          county_list_(make_list(page, county_list_items(0), 0)),
          sex_caption_(create_control(page, ControlKind::Label, "性别", 0)),
          sex_list_(create_filled_list(page, sex_items, 3)),
          min_age_caption_(create_control(page, ControlKind::Label, "最小年龄", 0)),
          min_age_field_(create_control(page, ControlKind::TextField, "18", 0)),
          max_age_caption_(create_control(page, ControlKind::Label, "最大年龄", 0)),
          max_age_field_(create_control(page, ControlKind::TextField, "60", 0)),
          batch_(page, id_generate_id, id_copy_id) {
        // Wide enough at the start for the long "prefecture · county" names
        // that a province brings; each refill then fits its own items.
        SendMessageW(county_list_, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(scale(county_drop_width)), 0);
    }

    void layout(int width, int height) override {
        const int county_width = std::min(width - 352, 440);
        place_control(title_, page_left_margin, page_title_top, page_content_width(id_number_page, width),
                      page_title_height(id_number_page));
        place_control(note_, page_left_margin, 68, width - 2 * page_left_margin, 22);
        place_captioned_field(province_caption_, province_list_, page_left_margin, 105, 148, true);
        place_captioned_field(county_caption_, county_list_, 192, 105, county_width, true);
        place_captioned_field(sex_caption_, sex_list_, county_width + 208, 105, 116, true);
        place_captioned_field(min_age_caption_, min_age_field_, page_left_margin, 180, 148, false);
        place_captioned_field(max_age_caption_, max_age_field_, 192, 180, 116, false);
        batch_.layout(180, width, height);
    }

    void command(WPARAM wparam) override {
        const int id = LOWORD(wparam);
        const int notification = HIWORD(wparam);
        if (id == id_province_list_id && notification == CBN_SELCHANGE) {
            fill_list(county_list_, county_list_items(dropdown_selection(province_list_)));
            return;
        }
        if (notification != 0) return;
        if (id == id_generate_id) generate();
        if (id == id_copy_id) batch_.copy();
    }

private:
    void generate() {
        const std::string count = batch_.count_text();
        const std::string min_age = read_text(min_age_field_);
        const std::string max_age = read_text(max_age_field_);
        IdNumberRequest request;
        request.count_text = count;
        request.min_age_text = min_age;
        request.max_age_text = max_age;
        request.sex_position = dropdown_selection(sex_list_);
        request.province_position = dropdown_selection(province_list_);
        request.county_position = dropdown_selection(county_list_);
        request.today = today_();
        batch_.show(generate_id_numbers(request));
    }

    TodaySource today_;
    HWND title_;
    HWND note_;
    HWND province_caption_;
    HWND province_list_;
    HWND county_caption_;
    HWND county_list_;
    HWND sex_caption_;
    HWND sex_list_;
    HWND min_age_caption_;
    HWND min_age_field_;
    HWND max_age_caption_;
    HWND max_age_field_;
    BatchPanel batch_;
};

}  // namespace

CivilDate local_today() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay};
}

std::unique_ptr<PageVariant> build_id_number_page(HWND page, TodaySource today) {
    return std::make_unique<IdNumberPage>(page, today);
}
