#include "uuid/batch_panel_win.h"

#include <utility>
#include <variant>

#include "ui/captioned_field_win.h"
#include "ui/controls_win.h"
#include "ui/page_layout.h"

BatchPanel::BatchPanel(HWND page, int generate_id, int copy_id)
    : page_(page),
      count_caption_(create_control(page, ControlKind::Label, "数量（1–10000）", 0)),
      count_field_(create_control(page, ControlKind::TextField, "10", 0)),
      heading_(create_control(page, ControlKind::SectionTitle, "生成结果", 0)),
      generate_(create_control(page, ControlKind::PrimaryButton, "生成", generate_id)),
      copy_(create_control(page, ControlKind::Button, "复制全部", copy_id)),
      results_(create_control(page, ControlKind::ResultArea, "", 0)) {
    // Nothing to copy before the first generation.
    EnableWindow(copy_, FALSE);
}

void BatchPanel::layout(int top, int width, int height) {
    place_captioned_field(count_caption_, count_field_, 324, top, 136, false);
    place_control(generate_, 476, top + caption_to_field, 96, field_height);
    place_control(heading_, page_left_margin, top + 88, width - 168, 24);
    place_control(copy_, width - 124, top + 82, 96, field_height);
    place_control(results_, page_left_margin, top + 126, width - 2 * page_left_margin, height - top - 144);
}

std::string BatchPanel::count_text() const { return read_text(count_field_); }

void BatchPanel::show(BatchOutcome outcome) {
    if (const auto* message = std::get_if<std::string>(&outcome)) {
        set_status(page_, *message, true);
        return;
    }
    Batch& batch = std::get<Batch>(outcome);
    replace_results(batch.text);
    set_text(heading_, results_heading(batch.count));
    last_text_ = std::move(batch.text);
    EnableWindow(copy_, TRUE);
    set_status(page_, generated_status(batch.count), false);
}

// A fresh box rather than new text in the old one: Wine's rich edit takes
// time quadratic in the lines it removes (minutes for 10,000), while filling
// an empty box is linear. The new box takes the old one's place in the tab
// order, its rectangle and, if it had it, the keyboard focus.
void BatchPanel::replace_results(std::string_view text) {
    HWND fresh = create_control(page_, ControlKind::ResultArea, "", 0);
    if (!fresh) {
        SetWindowTextW(results_, to_wide_crlf(text).c_str());
        return;
    }
    // Filled out of sight, so that the old results stay on screen meanwhile.
    ShowWindow(fresh, SW_HIDE);
    RECT r;
    GetWindowRect(results_, &r);
    MapWindowPoints(nullptr, page_, reinterpret_cast<POINT*>(&r), 2);
    SetWindowPos(fresh, results_, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOACTIVATE);
    SetWindowTextW(fresh, to_wide_crlf(text).c_str());
    const bool had_focus = GetFocus() == results_;
    DestroyWindow(results_);
    results_ = fresh;
    ShowWindow(fresh, SW_SHOWNA);
    if (had_focus) SetFocus(fresh);
}

void BatchPanel::copy() const { copy_result(page_, last_text_); }
