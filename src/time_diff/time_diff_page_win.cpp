#include "time_diff/time_diff_page_win.h"

#include <string>

#include "time_diff/time_diff.h"
#include "time_diff/time_diff_messages.h"
#include "timestamp/date_time.h"
#include "ui/controls_win.h"
#include "ui/page_layout.h"

namespace {

constexpr int start_id = 601;
constexpr int end_id = 602;
constexpr int start_now_id = 603;
constexpr int end_now_id = 604;
constexpr int unit_id = 605;
constexpr int copy_id = 606;
constexpr int swap_id = 607;
constexpr int clear_id = 608;

constexpr int default_unit = 4;  // "分钟"

// The system's local wall-clock time to the second, as "%Y-%m-%d %H:%M:%S".
std::string local_time_now() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    DateTime t;
    t.date = {now.wYear, now.wMonth, now.wDay};
    t.hour = now.wHour;
    t.minute = now.wMinute;
    t.second = now.wSecond;
    return format_date_time(t, false);
}

class TimeDiffPage final : public PageVariant {
public:
    explicit TimeDiffPage(HWND page) : page_(page) {
        title_ = create_control(page, ControlKind::PageTitle, page_titles[time_diff_page], 0);
        start_label_ = create_control(page, ControlKind::Label, "开始时间", 0);
        end_label_ = create_control(page, ControlKind::Label, "结束时间", 0);
        start_ = create_control(page, ControlKind::TextField, "", start_id);
        end_ = create_control(page, ControlKind::TextField, "", end_id);
        start_now_ = create_control(page, ControlKind::Button, "当前时间", start_now_id);
        end_now_ = create_control(page, ControlKind::Button, "当前时间", end_now_id);
        unit_label_ = create_control(page, ControlKind::Label, "差值单位", 0);
        unit_ = create_control(page, ControlKind::Dropdown, "", unit_id);
        const char* names[time_diff_unit_count];
        for (int i = 0; i < time_diff_unit_count; ++i) names[i] = time_diff_units[i].name;
        fill_dropdown(unit_, names, time_diff_unit_count, default_unit);
        result_heading_ = create_control(page, ControlKind::SectionTitle, "结束时间 − 开始时间", 0);
        result_ = create_control(page, ControlKind::PageTitle, time_diff_messages::no_result, 0);
        breakdown_ = create_control(page, ControlKind::Label, time_diff_messages::missing_input, 0);
        copy_ = create_control(page, ControlKind::PrimaryButton, "复制结果", copy_id);
        swap_ = create_control(page, ControlKind::Button, "交换时间", swap_id);
        clear_ = create_control(page, ControlKind::Button, "清空", clear_id);
        hint_ = create_control(page, ControlKind::Hint,
                               "例如 2026-11-26 08:30:00.123。按同一时区计算，年按 365 天、月按 30 天。", 0);
        EnableWindow(copy_, FALSE);
    }

    void layout(int width, int) override {
        const int w = page_content_width(time_diff_page, width);
        const int x = page_left_margin;
        place_control(title_, x, page_title_top, w, page_title_height(time_diff_page));
        place_control(start_label_, x, 84, w, 22);
        place_control(start_, x, 108, w - 110, field_height);
        place_control(start_now_, w - 72, 108, 100, field_height);
        place_control(end_label_, x, 162, w, 22);
        place_control(end_, x, 186, w - 110, field_height);
        place_control(end_now_, w - 72, 186, 100, field_height);
        place_control(unit_label_, x, 241, 100, 23);
        place_control(unit_, x, 266, 142, 242);
        place_control(result_heading_, x, 327, w, 26);
        place_control(result_, x, 360, w, 45);
        place_control(breakdown_, x, 411, w, 25);
        place_control(copy_, x, 453, 100, field_height);
        place_control(swap_, 136, 453, 100, field_height);
        place_control(clear_, 244, 453, 100, field_height);
        place_control(hint_, x, 502, w, 44);
    }

    void command(WPARAM wparam) override {
        const int id = LOWORD(wparam);
        const int code = HIWORD(wparam);
        if ((id == start_id || id == end_id) && code == EN_CHANGE) {
            recompute();
        } else if (id == unit_id && code == CBN_SELCHANGE) {
            recompute();
        } else if (code != 0) {
            return;
        } else if (id == start_now_id || id == end_now_id) {
            set_text(id == start_now_id ? start_ : end_, local_time_now());
            recompute();
        } else if (id == copy_id) {
            copy_result(page_, current().value);
        } else if (id == swap_id) {
            const std::string start = read_text(start_);
            set_text(start_, read_text(end_));
            set_text(end_, start);
            recompute();
        } else if (id == clear_id) {
            clear_text(start_);
            clear_text(end_);
            SetFocus(start_);
            recompute();
        }
    }

private:
    TimeDiffResult current() const {
        return compute_time_diff(read_text(start_), read_text(end_), dropdown_selection(unit_));
    }

    void recompute() {
        const TimeDiffResult r = current();
        set_text(result_, r.result);
        set_text(breakdown_, r.breakdown);
        EnableWindow(copy_, r.ok ? TRUE : FALSE);
    }

    HWND page_;
    HWND title_ = nullptr;
    HWND start_label_ = nullptr;
    HWND end_label_ = nullptr;
    HWND start_ = nullptr;
    HWND end_ = nullptr;
    HWND start_now_ = nullptr;
    HWND end_now_ = nullptr;
    HWND unit_label_ = nullptr;
    HWND unit_ = nullptr;
    HWND result_heading_ = nullptr;
    HWND result_ = nullptr;
    HWND breakdown_ = nullptr;
    HWND copy_ = nullptr;
    HWND swap_ = nullptr;
    HWND clear_ = nullptr;
    HWND hint_ = nullptr;
};

}  // namespace

std::unique_ptr<PageVariant> build_time_diff_page(HWND page) { return std::make_unique<TimeDiffPage>(page); }
