#include "ui/title_only_page_win.h"

#include "ui/controls_win.h"
#include "ui/page_layout.h"

namespace {

class TitleOnlyPage final : public PageVariant {
public:
    TitleOnlyPage(HWND page, int index)
        : index_(index), title_(create_control(page, ControlKind::PageTitle, page_titles[index], 0)) {}

    void layout(int width, int) override {
        place_control(title_, page_left_margin, page_title_top, page_content_width(index_, width),
                      page_title_height(index_));
    }
    void command(WPARAM) override {}

private:
    int index_;
    HWND title_;
};

}  // namespace

std::unique_ptr<PageVariant> make_title_only_page(HWND page, int index) {
    return std::make_unique<TitleOnlyPage>(page, index);
}
