#include "timestamp/timestamp_page_win.h"

#include <string>

#include "timestamp/clock_win.h"
#include "timestamp/local_zone_win.h"
#include "timestamp/timestamp_convert.h"
#include "timestamp/timestamp_messages.h"
#include "ui/captioned_field_win.h"
#include "ui/controls_win.h"
#include "ui/page_layout.h"

namespace {

namespace msg = timestamp_messages;

constexpr int refresh_id = 201;
constexpr int copy_seconds_id = 202;
constexpr int copy_milliseconds_id = 203;
constexpr int to_date_id = 204;
constexpr int copy_date_id = 205;
constexpr int to_timestamp_id = 206;
constexpr int copy_timestamp_id = 207;
constexpr int fill_now_id = 208;

constexpr const char* unit_items[] = {"自动识别", "秒", "毫秒"};
constexpr const char* zone_items[] = {"本地时间", "UTC"};
constexpr const char* output_unit_items[] = {"秒", "毫秒"};

// A caption with its field below; a drop-down list is given room for its
// open list.
struct LabeledField {
    HWND label = nullptr;
    HWND field = nullptr;
    bool dropdown = false;

    void place(int x, int caption_top, int width) const {
        place_captioned_field(label, field, x, caption_top, width, dropdown);
    }
};

HWND make_read_only_field(HWND page) {
    HWND field = create_control(page, ControlKind::TextField, "", 0);
    SendMessageW(field, EM_SETREADONLY, TRUE, 0);
    return field;
}

LabeledField make_dropdown(HWND page, const char* caption, const char* const* items, int count) {
    // Braces evaluate in order: the caption is made before its list.
    return {create_control(page, ControlKind::Label, caption, 0), create_filled_list(page, items, count), true};
}

LabeledField make_text_field(HWND page, const char* caption) {
    return {create_control(page, ControlKind::Label, caption, 0), create_control(page, ControlKind::TextField, "", 0),
            false};
}

// The lists' items in order: "自动识别", "秒", "毫秒" / "本地时间", "UTC" / "秒", "毫秒";
// no selection (-1) counts as the first item.
InputUnit input_unit_at(int position) {
    return position == 1 ? InputUnit::Seconds : position == 2 ? InputUnit::Milliseconds : InputUnit::Auto;
}
ZoneChoice zone_at(int position) { return position == 1 ? ZoneChoice::Utc : ZoneChoice::Local; }
OutputUnit output_unit_at(int position) { return position == 1 ? OutputUnit::Milliseconds : OutputUnit::Seconds; }

class TimestampPage final : public PageVariant {
public:
    explicit TimestampPage(HWND page) : page_(page) {
        title_ = create_control(page, ControlKind::PageTitle, page_titles[timestamp_page], 0);
        now_heading_ = create_control(page, ControlKind::SectionTitle, "当前 Unix 时间戳", 0);
        refresh_ = create_control(page, ControlKind::Button, "更新时间戳", refresh_id);
        seconds_label_ = create_control(page, ControlKind::Label, "秒", 0);
        seconds_box_ = make_read_only_field(page);
        copy_seconds_ = create_control(page, ControlKind::Button, "复制", copy_seconds_id);
        milliseconds_label_ = create_control(page, ControlKind::Label, "毫秒", 0);
        milliseconds_box_ = make_read_only_field(page);
        copy_milliseconds_ = create_control(page, ControlKind::Button, "复制", copy_milliseconds_id);

        to_date_heading_ = create_control(page, ControlKind::SectionTitle, "时间戳转日期", 0);
        timestamp_input_ = make_text_field(page, "Unix 时间戳");
        input_unit_ = make_dropdown(page, "输入单位", unit_items, 3);
        output_zone_ = make_dropdown(page, "输出时区", zone_items, 2);
        to_date_ = create_control(page, ControlKind::PrimaryButton, "转换日期", to_date_id);
        date_result_ = make_read_only_field(page);
        copy_date_ = create_control(page, ControlKind::Button, "复制", copy_date_id);

        to_timestamp_heading_ = create_control(page, ControlKind::SectionTitle, "日期转时间戳", 0);
        fill_now_ = create_control(page, ControlKind::Button, "填入当前时间", fill_now_id);
        date_input_ = make_text_field(page, "日期时间");
        input_zone_ = make_dropdown(page, "输入时区", zone_items, 2);
        output_unit_ = make_dropdown(page, "输出单位", output_unit_items, 2);
        to_timestamp_ = create_control(page, ControlKind::PrimaryButton, "转换时间戳", to_timestamp_id);
        timestamp_result_ = make_read_only_field(page);
        copy_timestamp_ = create_control(page, ControlKind::Button, "复制", copy_timestamp_id);
        hint_ = create_control(page, ControlKind::Hint, "例如 2026-01-01 08:00:00.123", 0);

        refresh_now();
        fill_date_input();
    }

    void layout(int width, int) override {
        const int w = page_content_width(timestamp_page, width);
        const int b = (w - 16) / 2;
        const int x = page_left_margin;
        const int right_x = w - 98;  // buttons at the right end of a section heading
        const int copy_x = w - 36;   // "复制" at the right edge of the content

        place_control(title_, x, page_title_top, w, page_title_height(timestamp_page));
        place_control(now_heading_, x, 86, w - 142, 24);
        place_control(refresh_, right_x, 80, 126, field_height);
        place_control(seconds_label_, x, 124, b, caption_height);
        place_control(seconds_box_, x, 148, b - 72, field_height);
        place_control(copy_seconds_, b - 36, 148, 64, field_height);
        place_control(milliseconds_label_, b + 44, 124, w - b - 16, caption_height);
        place_control(milliseconds_box_, b + 44, 148, w - b - 88, field_height);
        place_control(copy_milliseconds_, copy_x, 148, 64, field_height);

        place_control(to_date_heading_, x, 212, w, 24);
        timestamp_input_.place(x, 244, w - 264);
        input_unit_.place(w - 220, 244, 116);
        output_zone_.place(w - 88, 244, 116);
        place_control(to_date_, x, 316, 126, field_height);
        place_control(date_result_, 170, 316, w - 214, field_height);
        place_control(copy_date_, copy_x, 316, 64, field_height);

        place_control(to_timestamp_heading_, x, 376, w - 142, 24);
        place_control(fill_now_, right_x, 370, 126, field_height);
        date_input_.place(x, 411, w - 264);
        input_zone_.place(w - 220, 411, 116);
        output_unit_.place(w - 88, 411, 116);
        place_control(hint_, x, 474, w - 264, 20);
        place_control(to_timestamp_, x, 501, 126, field_height);
        place_control(timestamp_result_, 170, 501, w - 214, field_height);
        place_control(copy_timestamp_, copy_x, 501, 64, field_height);
    }

    void command(WPARAM wparam) override {
        if (HIWORD(wparam) != 0) return;
        switch (LOWORD(wparam)) {
            case refresh_id:
                refresh_now();
                set_status(page_, msg::refreshed, false);
                break;
            case copy_seconds_id: copy_result(page_, read_text(seconds_box_)); break;
            case copy_milliseconds_id: copy_result(page_, read_text(milliseconds_box_)); break;
            case copy_date_id: copy_result(page_, read_text(date_result_)); break;
            case copy_timestamp_id: copy_result(page_, read_text(timestamp_result_)); break;
            case to_date_id: {
                const auto unit = input_unit_at(dropdown_selection(input_unit_.field));
                const auto zone = zone_at(dropdown_selection(output_zone_.field));
                show(date_result_, timestamp_to_date(read_text(timestamp_input_.field), unit, zone, WindowsLocalZone()));
                break;
            }
            case to_timestamp_id: {
                const auto zone = zone_at(dropdown_selection(input_zone_.field));
                const auto unit = output_unit_at(dropdown_selection(output_unit_.field));
                show(timestamp_result_, date_to_timestamp(read_text(date_input_.field), zone, unit, WindowsLocalZone()));
                break;
            }
            case fill_now_id:
                if (fill_date_input())
                    set_status(page_, msg::filled, false);
                else
                    set_status(page_, msg::unavailable_local, true);
                break;
            default: break;
        }
    }

private:
    void refresh_now() {
        const UnixTime now = read_system_clock();
        set_text(seconds_box_, unix_seconds_text(now));
        set_text(milliseconds_box_, unix_milliseconds_text(now));
    }

    // False, and the input left as it was, when the system cannot tell the
    // local time of the instant.
    bool fill_date_input() {
        const auto zone = zone_at(dropdown_selection(input_zone_.field));
        const auto text = current_date_input(read_system_clock(), zone, WindowsLocalZone());
        if (!text) return false;
        set_text(date_input_.field, *text);
        clear_text(timestamp_result_);
        return true;
    }

    void show(HWND result_box, const Conversion& conversion) {
        if (conversion.ok) {
            set_text(result_box, conversion.text);
            set_status(page_, msg::converted, false);
        } else {
            clear_text(result_box);
            set_status(page_, conversion.text, true);
        }
    }

    HWND page_;
    HWND title_ = nullptr;
    HWND now_heading_ = nullptr;
    HWND refresh_ = nullptr;
    HWND seconds_label_ = nullptr;
    HWND seconds_box_ = nullptr;
    HWND copy_seconds_ = nullptr;
    HWND milliseconds_label_ = nullptr;
    HWND milliseconds_box_ = nullptr;
    HWND copy_milliseconds_ = nullptr;
    HWND to_date_heading_ = nullptr;
    LabeledField timestamp_input_;
    LabeledField input_unit_;
    LabeledField output_zone_;
    HWND to_date_ = nullptr;
    HWND date_result_ = nullptr;
    HWND copy_date_ = nullptr;
    HWND to_timestamp_heading_ = nullptr;
    HWND fill_now_ = nullptr;
    LabeledField date_input_;
    LabeledField input_zone_;
    LabeledField output_unit_;
    HWND to_timestamp_ = nullptr;
    HWND timestamp_result_ = nullptr;
    HWND copy_timestamp_ = nullptr;
    HWND hint_ = nullptr;
};

}  // namespace

std::unique_ptr<PageVariant> build_timestamp_page(HWND page) { return std::make_unique<TimestampPage>(page); }
