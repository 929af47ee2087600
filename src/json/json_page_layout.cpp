#include "json/json_page_layout.h"

#include "ui/page_layout.h"

JsonPageLayout json_page_layout(int a, int b) {
    JsonPageLayout l;
    l.title = {28, 24, a <= 216 ? 0 : a - 216, 38};
    l.history = {a - 178, 26, 150, 340};
    l.format = {28, 70, 92, 34};
    l.compact = {128, 70, 72, 34};
    l.escape = {208, 70, 72, 34};
    l.unescape = {288, 70, 100, 34};

    const int content = a <= 56 ? 0 : a - 56;
    const int bottom = b >= 141 ? b - 18 : 122;
    int left, input_height, pane_x, pane_width, pane_y;
    if (json_columns_side_by_side(a)) {
        left = (content - 20) / 2;
        input_height = bottom - 122;
        pane_x = left + 48;
        pane_width = content - left - 20;
        pane_y = 122;
    } else {
        left = content;
        input_height = b <= 160 ? 0 : (b - 160) / 2;
        pane_x = 28;
        pane_width = content;
        pane_y = input_height + 142;
    }

    l.input_label = {28, 128, 88, 24};
    l.clear = {left - 38, 122, 66, 34};
    l.paste = {left - 112, 122, 66, 34};
    l.input = {28, 164, left, input_height - 42};

    l.result_label = {pane_x, pane_y + 6, 80, 24};
    l.copy = {pane_x + pane_width - 66, pane_y, 66, 34};
    l.view = {pane_x + pane_width - 162, pane_y, 88, 34};
    l.result = {pane_x, pane_y + 42, pane_width, bottom - pane_y - 42};
    return l;
}
