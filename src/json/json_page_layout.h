#pragma once

// Where the JSON page's controls go for a client size, in logical pixels.

struct JsonPageRect {
    int x = 0, y = 0, w = 0, h = 0;
    friend bool operator==(const JsonPageRect&, const JsonPageRect&) = default;
};

struct JsonPageLayout {
    JsonPageRect title, history, format, compact, escape, unescape;
    JsonPageRect input_label, clear, paste, input;
    JsonPageRect result_label, copy, view, result;  // the tree view shares `result`
};

JsonPageLayout json_page_layout(int width, int height);
