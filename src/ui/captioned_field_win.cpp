#include "ui/captioned_field_win.h"

#include "ui/controls_win.h"
#include "ui/page_layout.h"

void place_captioned_field(HWND caption, HWND field, int x, int top, int w, bool dropdown) {
    place_control(caption, x, top, w, caption_height);
    place_control(field, x, top + caption_to_field, w, dropdown ? dropdown_height : field_height);
}

HWND create_filled_list(HWND page, const char* const* items, int count) {
    HWND list = create_control(page, ControlKind::Dropdown, "", 0);
    fill_dropdown(list, items, count, 0);
    return list;
}
