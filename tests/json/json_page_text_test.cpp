// The JSON page's window-free helpers: the blank test, the drop-down header
// and the two column layouts.
#include <gtest/gtest.h>

#include "json/control_text.h"
#include "json/json_page_layout.h"
#include "json/json_page_text.h"
#include "ui/white_space.h"

namespace {

TEST(JsonPageText, BlankControlTextAgreesWithItsUtf8) {
    struct Case {
        std::u16string units;
        bool blank;
    };
    const Case cases[] = {
        {u"", true},
        {u" \t\r\n", true},
        {u"\u3000\u00a0\u2028\u0085", true},
        {u" 1 ", false},
        {u"\uFEFF", false},       // the byte-order mark is not white space
        {u"\u200B", false},        // zero width space is not white space
        {u" \xD800 ", false},       // an unpaired surrogate stands for U+FFFD
        {u" \U0001F600", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(control_text_to_utf8(c.units)));
        EXPECT_EQ(is_blank_input(c.units), c.blank);
        EXPECT_EQ(trim_unicode_white_space(control_text_to_utf8(c.units)).empty(), c.blank);
    }
}

TEST(JsonPageText, HeaderAndTreeStatus) {
    EXPECT_EQ(history_header(0), "最近记录 · 0");
    EXPECT_EQ(history_header(10), "最近记录 · 10");
    EXPECT_EQ(tree_status(4), "树视图 · 4 个节点");
}

TEST(JsonPageLayout, SideBySideAboveContentWidth519) {
    // Page 908 x 660: content 852, two columns.
    const JsonPageLayout l = json_page_layout(908, 660);
    EXPECT_EQ(l.title, (JsonPageRect{28, 24, 692, 38}));
    EXPECT_EQ(l.history, (JsonPageRect{730, 26, 150, 340}));
    EXPECT_EQ(l.unescape, (JsonPageRect{288, 70, 100, 34}));
    // L = (852 - 20) / 2 = 416, g = 642 - 122 = 520.
    EXPECT_EQ(l.clear, (JsonPageRect{378, 122, 66, 34}));
    EXPECT_EQ(l.paste, (JsonPageRect{304, 122, 66, 34}));
    EXPECT_EQ(l.input, (JsonPageRect{28, 164, 416, 478}));
    // Pane at x 464, width 416, row 122.
    EXPECT_EQ(l.result_label, (JsonPageRect{464, 128, 80, 24}));
    EXPECT_EQ(l.copy, (JsonPageRect{814, 122, 66, 34}));
    EXPECT_EQ(l.view, (JsonPageRect{718, 122, 88, 34}));
    EXPECT_EQ(l.result, (JsonPageRect{464, 164, 416, 478}));
}

TEST(JsonPageLayout, StackedUpToContentWidth519) {
    struct Case {
        int a, b;
        JsonPageRect input, view, result;
    };
    const Case cases[] = {
        // content 519: stacked; g = (600 - 160) / 2 = 220, row y 362.
        {575, 600, {28, 164, 519, 178}, {28 + 519 - 162, 362, 88, 34}, {28, 404, 519, 178}},
        // Tiny page: no negative sizes reach the controls as anything but 0.
        {40, 100, {28, 164, 0, -42}, {-134, 142, 88, 34}, {28, 184, 0, -62}},
    };
    for (const Case& c : cases) {
        const JsonPageLayout l = json_page_layout(c.a, c.b);
        EXPECT_EQ(l.input, c.input) << c.a;
        EXPECT_EQ(l.view, c.view) << c.a;
        EXPECT_EQ(l.result, c.result) << c.a;
    }
    EXPECT_EQ(json_page_layout(576, 600).result.y, 164);  // content 520: side by side
}

}  // namespace
