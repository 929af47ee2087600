#include "uuid/uuid_page_win.h"

#include "ui/captioned_field_win.h"
#include "ui/controls_win.h"
#include "ui/page_layout.h"
#include "uuid/batch_panel_win.h"
#include "uuid/uuid.h"

namespace {

constexpr const char* separator_items[] = {"连字符  -", "下划线  _", "无分隔符"};
constexpr const char* case_items[] = {"小写", "大写"};

class UuidPage final : public PageVariant {
public:
    explicit UuidPage(HWND page)
        : title_(create_control(page, ControlKind::PageTitle, page_titles[uuid_page], 0)),
          separator_caption_(create_control(page, ControlKind::Label, "分隔符", 0)),
          separator_list_(create_filled_list(page, separator_items, 3)),
          case_caption_(create_control(page, ControlKind::Label, "字母大小写", 0)),
          case_list_(create_filled_list(page, case_items, 2)),
          batch_(page, uuid_generate_id, uuid_copy_id) {}

    void layout(int width, int height) override {
        place_control(title_, page_left_margin, page_title_top, page_content_width(uuid_page, width),
                      page_title_height(uuid_page));
        place_captioned_field(separator_caption_, separator_list_, page_left_margin, 86, 148, true);
        place_captioned_field(case_caption_, case_list_, 192, 86, 116, true);
        batch_.layout(86, width, height);
    }

    void command(WPARAM wparam) override {
        if (HIWORD(wparam) != 0) return;
        switch (LOWORD(wparam)) {
            case uuid_generate_id:
                batch_.show(
                    generate_uuid_batch(batch_.count_text(), dropdown_selection(separator_list_), dropdown_selection(case_list_)));
                break;
            case uuid_copy_id: batch_.copy(); break;
            default: break;
        }
    }

private:
    HWND title_;
    HWND separator_caption_;
    HWND separator_list_;
    HWND case_caption_;
    HWND case_list_;
    BatchPanel batch_;
};

}  // namespace

std::unique_ptr<PageVariant> build_uuid_page(HWND page) { return std::make_unique<UuidPage>(page); }
