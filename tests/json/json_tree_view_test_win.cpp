#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "json/json_tree.h"
#include "json/json_tree_view_win.h"
#include "ui/app_message.h"
#include "ui/control_subclass_win.h"
#include "ui/controls_win.h"
#include "ui/painting_win.h"
#include "ui/ui_resources_win.h"
#include "../ui/ui_test_support_win.h"
#include "json_test_support.h"

namespace {

using ui_test::HostWindow;

// What the page does for its tree view: the expanding notification and the
// posted load request go to the control's record with the current tree.
struct PageState {
    JsonTreeView* view = nullptr;
    const JsonTree* tree = nullptr;
    int expanding_notices = 0;
};
PageState page_state;

LRESULT CALLBACK page_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (LRESULT painted; handle_control_paint_message(message, wparam, lparam, painted)) return painted;
    if (message == WM_NOTIFY && page_state.view) {
        const auto* header = reinterpret_cast<const NMHDR*>(lparam);
        if (header->code == TVN_ITEMEXPANDINGW) {
            ++page_state.expanding_notices;
            return page_state.view->on_expanding(hwnd, *reinterpret_cast<const NMTREEVIEWW*>(lparam),
                                                 page_state.tree);
        }
    }
    if (message == message_id(AppMessage::JsonTreeLoadMore) && page_state.view) {
        page_state.view->on_load_more(page_state.tree);
        return 0;
    }
    if (message == WM_ERASEBKGND) {
        RECT r;
        GetClientRect(hwnd, &r);
        SetDCBrushColor(reinterpret_cast<HDC>(wparam), ui_resources().palette.window_bg);
        FillRect(reinterpret_cast<HDC>(wparam), &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
        return 1;
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
}

// A top-level window that is both the page (parent of the tree view) and the
// main window (it holds the status line).
HWND create_page_window() {
    HWND hwnd = ui_test::create_test_popup(L"Lumaro.TreeViewTestPage", page_procedure, L"Lumaro tree view test",
                                           0, 0, 640, 520);
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    UpdateWindow(hwnd);
    return hwnd;
}

// Messages sent to tree views on this thread while a recorder exists.
struct SentMessage {
    UINT message;
    WPARAM wparam;
    LPARAM lparam;
    friend bool operator==(const SentMessage&, const SentMessage&) = default;
};
std::vector<SentMessage> sent_to_tree_views;

LRESULT CALLBACK record_tree_view_message(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HC_ACTION) {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lparam);
        wchar_t name[32] = {};
        GetClassNameW(call->hwnd, name, 32);
        if (lstrcmpW(name, L"SysTreeView32") == 0)
            sent_to_tree_views.push_back({call->message, call->wParam, call->lParam});
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

class MessageRecorder {
public:
    MessageRecorder() {
        sent_to_tree_views.clear();
        hook_ = SetWindowsHookExW(WH_CALLWNDPROC, record_tree_view_message, nullptr, GetCurrentThreadId());
    }
    ~MessageRecorder() { UnhookWindowsHookEx(hook_); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;
    bool saw(SentMessage m) const {
        for (const SentMessage& s : sent_to_tree_views)
            if (s == m) return true;
        return false;
    }

private:
    HHOOK hook_ = nullptr;
};

struct ItemInfo {
    std::string label;
    LPARAM parameter = 0;
    int children = -1;
    UINT state = 0;
};

const std::string load_more = "加载更多条目…";

class JsonTreeViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        page = create_page_window();
        status = create_control(page, ControlKind::StatusLabel, "就绪", status_label_id);
        place_control(status, 0, 480, 640, 30);
        ASSERT_TRUE(view.create(page, ui_resources().heading_font));
        place_control(view.hwnd, 10, 10, 600, 460);
        ShowWindow(view.hwnd, SW_SHOWNA);
        page_state = {&view, nullptr, 0};
        HostWindow::pump();
    }
    void TearDown() override {
        page_state = {};
        DestroyWindow(page);
        HostWindow::pump();
    }

    // Builds the tree (the worker's part) and fills the control with it.
    bool show(std::string json) {
        auto built = build_json_tree(std::move(json));
        if (!std::holds_alternative<JsonTree>(built)) {
            ADD_FAILURE() << std::get<JsonError>(built).message;
            return false;
        }
        tree = std::get<JsonTree>(std::move(built));
        page_state.tree = &*tree;
        const bool filled = view.fill(*tree);
        HostWindow::pump();
        return filled;
    }

    HTREEITEM next(HTREEITEM item, UINT relation) const {
        return reinterpret_cast<HTREEITEM>(
            SendMessageW(view.hwnd, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
    }
    HTREEITEM root() const { return next(nullptr, TVGN_ROOT); }
    HTREEITEM selected() const { return next(nullptr, TVGN_CARET); }
    std::vector<HTREEITEM> children(HTREEITEM parent) const {
        std::vector<HTREEITEM> items;
        for (HTREEITEM i = next(parent, TVGN_CHILD); i; i = next(i, TVGN_NEXT)) items.push_back(i);
        return items;
    }
    std::vector<HTREEITEM> root_items() const {
        std::vector<HTREEITEM> items;
        for (HTREEITEM i = root(); i; i = next(i, TVGN_NEXT)) items.push_back(i);
        return items;
    }
    ItemInfo info(HTREEITEM item) const {
        wchar_t text[512] = {};
        TVITEMW tv{};
        tv.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN | TVIF_STATE;
        tv.hItem = item;
        tv.pszText = text;
        tv.cchTextMax = 512;
        tv.stateMask = TVIS_EXPANDED | TVIS_SELECTED;
        if (!SendMessageW(view.hwnd, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv))) return {};
        return {from_wide(text), tv.lParam, tv.cChildren, tv.state};
    }
    std::string label(HTREEITEM item) const { return info(item).label; }
    std::vector<std::string> labels(HTREEITEM parent) const {
        std::vector<std::string> out;
        for (HTREEITEM i : children(parent)) out.push_back(label(i));
        return out;
    }
    // As a click on the button does: the control asks the page first.
    BOOL expand(HTREEITEM item) {
        const BOOL expanded =
            static_cast<BOOL>(SendMessageW(view.hwnd, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item)));
        HostWindow::pump();
        return expanded;
    }
    HTREEITEM child_labelled(HTREEITEM parent, const std::string& text) const {
        for (HTREEITEM i : children(parent))
            if (label(i) == text) return i;
        return nullptr;
    }
    int count() const { return static_cast<int>(SendMessageW(view.hwnd, TVM_GETCOUNT, 0, 0)); }

    HWND page = nullptr;
    HWND status = nullptr;
    JsonTreeView view;
    std::optional<JsonTree> tree;
};

std::string array_of(int n) {
    std::string json = "[";
    for (int i = 0; i < n; ++i) json += (i ? "," : "") + std::to_string(i * 10);
    return json + "]";
}

std::vector<std::string> element_labels(int from, int to) {
    std::vector<std::string> out;
    for (int i = from; i < to; ++i) out.push_back("[" + std::to_string(i) + "]: " + std::to_string(i * 10));
    return out;
}

// Without TVS_NONEVENHEIGHT the control rounds an odd height down.
LRESULT even_height(int pixels) { return pixels & ~1; }

TEST_F(JsonTreeViewTest, IsAHiddenTreeViewOfThePageWithItsOwnFrame) {
    JsonTreeView fresh;
    MessageRecorder recorder;
    ASSERT_TRUE(fresh.create(page, ui_resources().heading_font));
    HWND hwnd = fresh.hwnd;
    // Wine's tree view ignores extended styles, so the request itself is
    // what can be checked everywhere.
    EXPECT_TRUE(recorder.saw({CCM_SETUNICODEFORMAT, TRUE, 0}));
    EXPECT_TRUE(recorder.saw({WM_THEMECHANGED, 0, 0}));  // SetWindowTheme tells the control
    EXPECT_TRUE(recorder.saw({TVM_SETEXTENDEDSTYLE, TVS_EX_DOUBLEBUFFER, TVS_EX_DOUBLEBUFFER}));
    if (!ui_test::running_under_wine()) {
        EXPECT_EQ(SendMessageW(hwnd, TVM_GETEXTENDEDSTYLE, 0, 0) & TVS_EX_DOUBLEBUFFER, TVS_EX_DOUBLEBUFFER);
    }
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    EXPECT_STREQ(name, L"SysTreeView32");
    EXPECT_EQ(GetDlgCtrlID(hwnd), 109);
    EXPECT_EQ(GetParent(hwnd), page);
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE));
    const DWORD wanted = WS_CHILD | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS;
    EXPECT_EQ(style & wanted, wanted);
    EXPECT_EQ(style & (WS_VISIBLE | WS_BORDER), 0u);
    EXPECT_EQ(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    EXPECT_NE(SendMessageW(hwnd, CCM_GETUNICODEFORMAT, 0, 0), 0);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)), ui_resources().heading_font);
    EXPECT_EQ(SendMessageW(hwnd, TVM_GETITEMHEIGHT, 0, 0), even_height(scale(25)));

    // The shared subclass with reference 0 and no kind: this is how the
    // palette refresh recognises the tree view.
    DWORD_PTR reference = 99;
    EXPECT_TRUE(find_window_subclass(hwnd, control_subclass, control_subclass_id, &reference));
    EXPECT_EQ(reference, 0u);
    EXPECT_EQ(control_kind(hwnd), ControlKind::None);

    // Its frame is the subclass's one-pixel (scaled) inset on every side.
    place_control(hwnd, 0, 0, 300, 200);
    RECT window, client;
    GetWindowRect(hwnd, &window);
    GetClientRect(hwnd, &client);
    EXPECT_EQ((window.right - window.left) - client.right, 2 * scale(1));
    EXPECT_EQ((window.bottom - window.top) - client.bottom, 2 * scale(1));
    DestroyWindow(hwnd);
}

TEST_F(JsonTreeViewTest, TakesItsColoursFromThePalette) {
    const Palette saved = ui_resources().palette;
    for (int scheme : {0, 1, 2}) {
        ui_resources().palette = derive_palette(scheme, 0);
        view.apply_palette();
        const Palette& p = ui_resources().palette;
        EXPECT_EQ(static_cast<Colorref>(SendMessageW(view.hwnd, TVM_GETBKCOLOR, 0, 0)), p.result_bg) << scheme;
        EXPECT_EQ(static_cast<Colorref>(SendMessageW(view.hwnd, TVM_GETTEXTCOLOR, 0, 0)), p.text) << scheme;
        EXPECT_EQ(static_cast<Colorref>(SendMessageW(view.hwnd, TVM_GETLINECOLOR, 0, 0)), p.border) << scheme;
    }
    // The palette refresh of the main window gives the tree the same colours.
    ui_resources().palette = saved;
    refresh_control_colors(view.hwnd, 0);
    EXPECT_EQ(static_cast<Colorref>(SendMessageW(view.hwnd, TVM_GETBKCOLOR, 0, 0)), saved.result_bg);
}

TEST_F(JsonTreeViewTest, ItemHeightIsScaled) {
    for (int logical : {25, 30, 31}) {
        view.set_item_height(logical);
        EXPECT_EQ(SendMessageW(view.hwnd, TVM_GETITEMHEIGHT, 0, 0), even_height(scale(logical)));
    }
}

TEST_F(JsonTreeViewTest, ShowsTheRootExpandedAndSelectedWithItsFirstChildren) {
    ASSERT_TRUE(show(R"([1,{"k":true}])"));
    ASSERT_EQ(root_items().size(), 1u);
    HTREEITEM top = root();
    const ItemInfo top_info = info(top);
    EXPECT_EQ(top_info.label, "[…] 2 项");
    EXPECT_EQ(top_info.parameter, 1);
    EXPECT_EQ(top_info.children, 1);
    EXPECT_TRUE(top_info.state & TVIS_EXPANDED);
    EXPECT_EQ(selected(), top);

    EXPECT_EQ(labels(top), (std::vector<std::string>{"[0]: 1", "[1]: {…} 1 项"}));
    const std::vector<HTREEITEM> items = children(top);
    EXPECT_EQ(info(items[0]).parameter, 2);
    EXPECT_EQ(info(items[0]).children, 0);
    EXPECT_EQ(info(items[1]).parameter, 3);
    EXPECT_EQ(info(items[1]).children, 1);
    // Nothing below the object until it is expanded.
    EXPECT_EQ(count(), 3);
    EXPECT_EQ(children(items[1]).size(), 0u);

    EXPECT_TRUE(expand(items[1]));
    EXPECT_EQ(labels(items[1]), (std::vector<std::string>{"\"k\": true"}));
    EXPECT_EQ(info(children(items[1])[0]).parameter, 4);
    EXPECT_EQ(info(children(items[1])[0]).children, 0);
    EXPECT_EQ(count(), 4);

    // Collapsing and expanding again inserts nothing twice.
    SendMessageW(view.hwnd, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(items[1]));
    expand(items[1]);
    EXPECT_EQ(count(), 4);
}

TEST_F(JsonTreeViewTest, TopLevelScalarIsOneItemWithoutPrefix) {
    struct Case {
        const char* json;
        const char* label;
    };
    for (const Case c : {Case{"42", "42"}, Case{R"( "hi" )", "\"hi\""}, Case{"null", "null"}, Case{"-0.5e3", "-0.5e3"}}) {
        view.reset();
        ASSERT_TRUE(show(c.json)) << c.json;
        ASSERT_EQ(root_items().size(), 1u) << c.json;
        EXPECT_EQ(label(root()), c.label);
        EXPECT_EQ(info(root()).children, 0) << c.json;
        EXPECT_EQ(count(), 1) << c.json;
        EXPECT_EQ(selected(), root()) << c.json;
    }
}

TEST_F(JsonTreeViewTest, EmptyContainersHaveNoButton) {
    for (const char* json : {"{}", "[]"}) {
        view.reset();
        ASSERT_TRUE(show(json));
        EXPECT_EQ(label(root()), json);
        EXPECT_EQ(info(root()).children, 0);
        EXPECT_EQ(count(), 1);
    }
    view.reset();
    ASSERT_TRUE(show(R"({"a":{},"b":[],"c":[0]})"));
    EXPECT_EQ(labels(root()), (std::vector<std::string>{"\"a\": {}", "\"b\": []", "\"c\": […] 1 项"}));
    const std::vector<HTREEITEM> items = children(root());
    EXPECT_EQ(info(items[0]).children, 0);
    EXPECT_EQ(info(items[1]).children, 0);
    EXPECT_EQ(info(items[2]).children, 1);
    EXPECT_FALSE(expand(items[0]));
    EXPECT_EQ(children(items[0]).size(), 0u);
}

TEST_F(JsonTreeViewTest, LargeArrayLoadsInSlicesOf256) {
    ASSERT_TRUE(show(array_of(600)));
    HTREEITEM top = root();
    EXPECT_EQ(label(top), "[…] 600 项");

    std::vector<std::string> expected = element_labels(0, 256);
    expected.push_back(load_more);
    ASSERT_EQ(labels(top), expected);
    HTREEITEM more = children(top).back();
    EXPECT_EQ(info(more).children, 1);
    EXPECT_EQ(info(more).parameter, ~static_cast<LPARAM>(257));  // node 257 is element 256
    EXPECT_EQ(count(), 258);

    // The continuation is selected: the first new element takes over.
    SendMessageW(view.hwnd, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(more));
    ASSERT_EQ(selected(), more);
    SendMessageW(view.hwnd, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(more));
    // The control is not touched inside its own notification; the slice
    // arrives with the posted request.
    EXPECT_TRUE(view.load.pending);
    EXPECT_EQ(count(), 258);
    HostWindow::pump();
    EXPECT_FALSE(view.load.pending);

    expected = element_labels(0, 512);
    expected.push_back(load_more);
    ASSERT_EQ(labels(top), expected);
    EXPECT_EQ(label(selected()), "[256]: 2560");
    EXPECT_EQ(next(selected(), TVGN_PARENT), top);

    // Not selected this time: the selection stays where it is.
    more = children(top).back();
    EXPECT_EQ(info(more).parameter, ~static_cast<LPARAM>(513));
    EXPECT_FALSE(expand(more));
    EXPECT_EQ(labels(top), element_labels(0, 600));
    EXPECT_EQ(label(selected()), "[256]: 2560");
    EXPECT_EQ(count(), 601);
}

TEST_F(JsonTreeViewTest, TheKeyboardLoadsTheNextSliceToo) {
    ASSERT_TRUE(show(array_of(300)));
    HTREEITEM more = children(root()).back();
    SendMessageW(view.hwnd, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(more));
    // Right arrow expands the selected item as a user does it. Pressed twice
    // before the first request is served, it still loads the slice once.
    for (int press = 0; press < 2; ++press) {
        SendMessageW(view.hwnd, WM_KEYDOWN, VK_RIGHT, 0);
        SendMessageW(view.hwnd, WM_KEYUP, VK_RIGHT, 0);
    }
    HostWindow::pump();
    EXPECT_EQ(labels(root()), element_labels(0, 300));
    EXPECT_EQ(label(selected()), "[256]: 2560");
}

TEST_F(JsonTreeViewTest, NestedContainersLoadTheirOwnSlices) {
    // An object of 300 members inside an array, between two siblings.
    std::string members;
    for (int i = 0; i < 300; ++i) members += (i ? "," : "") + std::string("\"m") + std::to_string(i) + "\":" + "null";
    ASSERT_TRUE(show("[true,{" + members + "},false]"));
    EXPECT_EQ(labels(root()), (std::vector<std::string>{"[0]: true", "[1]: {…} 300 项", "[2]: false"}));
    HTREEITEM object = children(root())[1];
    EXPECT_TRUE(expand(object));
    std::vector<HTREEITEM> items = children(object);
    ASSERT_EQ(items.size(), 257u);
    EXPECT_EQ(label(items[0]), "\"m0\": null");
    EXPECT_EQ(label(items[255]), "\"m255\": null");
    EXPECT_EQ(label(items[256]), load_more);
    EXPECT_FALSE(expand(items[256]));
    items = children(object);
    ASSERT_EQ(items.size(), 300u);
    EXPECT_EQ(label(items[256]), "\"m256\": null");
    EXPECT_EQ(label(items[299]), "\"m299\": null");
    // The outer array's items are untouched.
    EXPECT_EQ(labels(root()), (std::vector<std::string>{"[0]: true", "[1]: {…} 300 项", "[2]: false"}));
}

TEST_F(JsonTreeViewTest, LongStringsAndKeysAreShortened) {
    const std::string key = "\"" + repeat("键", 95) + "\"";
    const std::string value = "\"" + repeat("x", 200) + "\"";
    ASSERT_TRUE(show("{" + key + ":" + value + ",\"short\":\"" + repeat("y", 86) + "\"}"));
    EXPECT_EQ(labels(root()), (std::vector<std::string>{
                                  "\"" + repeat("键", 87) + "…: \"" + repeat("x", 87) + "…",
                                  "\"short\": \"" + repeat("y", 86) + "\"",
                              }));
}

TEST_F(JsonTreeViewTest, StringsAndKeysShowTheirEscapesAsWritten) {
    ASSERT_TRUE(show(R"({"a\nb":"tab\there","u":"\u4e2d\"","e":"😀"})"));
    EXPECT_EQ(labels(root()), (std::vector<std::string>{
                                  R"("a\nb": "tab\there")",
                                  R"("u": "\u4e2d\"")",
                                  "\"e\": \"😀\"",
                              }));
}

TEST_F(JsonTreeViewTest, ResetDeletesEverythingAndThePendingLoad) {
    ASSERT_TRUE(show(array_of(600)));
    expand(children(root())[0]);
    SendMessageW(view.hwnd, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(children(root()).back()));
    ASSERT_TRUE(view.load.pending);

    view.reset();
    EXPECT_FALSE(view.load.pending);
    EXPECT_EQ(count(), 0);
    EXPECT_EQ(root(), nullptr);
    // The request already posted finds nothing to load.
    HostWindow::pump();
    EXPECT_EQ(count(), 0);

    // A new result starts again from its root and first slice.
    ASSERT_TRUE(show(R"({"n":[1,2,3],"m":{"x":1}})"));
    ASSERT_EQ(root_items().size(), 1u);
    EXPECT_EQ(label(root()), "{…} 2 项");
    EXPECT_EQ(labels(root()), (std::vector<std::string>{"\"n\": […] 3 项", "\"m\": {…} 1 项"}));
    EXPECT_EQ(count(), 3);
    EXPECT_EQ(selected(), root());
}

TEST_F(JsonTreeViewTest, ALoadArrivingWhileTheTextIsShownKeepsTheTreeHidden) {
    ASSERT_TRUE(show(array_of(300)));
    SendMessageW(view.hwnd, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(children(root()).back()));
    ASSERT_TRUE(view.load.pending);
    ShowWindow(view.hwnd, SW_HIDE);
    HostWindow::pump();
    EXPECT_FALSE(IsWindowVisible(view.hwnd));
    EXPECT_EQ(labels(root()), element_labels(0, 300));
}

TEST_F(JsonTreeViewTest, ALoadRequestForAnotherResultIsDropped) {
    ASSERT_TRUE(show(array_of(300)));
    SendMessageW(view.hwnd, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(children(root()).back()));
    ASSERT_TRUE(view.load.pending);
    // The page's result is no longer a tree when the request arrives.
    page_state.tree = nullptr;
    HostWindow::pump();
    EXPECT_FALSE(view.load.pending);
    EXPECT_EQ(count(), 258);
    EXPECT_EQ(label(children(root()).back()), load_more);
}

TEST_F(JsonTreeViewTest, OnlyExpansionsOfItsOwnItemsAreHandled) {
    ASSERT_TRUE(show(array_of(300)));
    HTREEITEM more = children(root()).back();
    NMTREEVIEWW notice{};
    notice.hdr = {view.hwnd, static_cast<UINT_PTR>(json_tree_view_id), TVN_ITEMEXPANDINGW};
    notice.action = TVE_COLLAPSE;
    notice.itemNew.hItem = more;
    notice.itemNew.lParam = info(more).parameter;
    EXPECT_EQ(view.on_expanding(page, notice, &*tree), 0);
    EXPECT_FALSE(view.load.pending);

    notice.action = TVE_EXPAND;
    notice.hdr.hwndFrom = status;
    EXPECT_EQ(view.on_expanding(page, notice, &*tree), 0);
    EXPECT_FALSE(view.load.pending);

    notice.hdr.hwndFrom = view.hwnd;
    notice.hdr.code = TVN_ITEMEXPANDEDW;
    EXPECT_EQ(view.on_expanding(page, notice, &*tree), 0);
    EXPECT_FALSE(view.load.pending);

    notice.hdr.code = TVN_ITEMEXPANDINGW;
    EXPECT_EQ(view.on_expanding(page, notice, &*tree), 1);
    EXPECT_TRUE(view.load.pending);
    EXPECT_EQ(view.load.item, more);
    EXPECT_EQ(view.load.next, 257u);
    HostWindow::pump();
    EXPECT_EQ(count(), 301);
}

TEST_F(JsonTreeViewTest, AFailedLoadRequestLeavesTheItemAndSaysSo) {
    ASSERT_TRUE(show(array_of(300)));
    HTREEITEM more = children(root()).back();
    // A page whose message queue refuses the request: a window that is gone.
    HWND gone = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    NMTREEVIEWW notice{};
    notice.hdr = {view.hwnd, static_cast<UINT_PTR>(json_tree_view_id), TVN_ITEMEXPANDINGW};
    notice.action = TVE_EXPAND;
    notice.itemNew.hItem = more;
    notice.itemNew.lParam = info(more).parameter;
    EXPECT_EQ(view.on_expanding(gone, notice, &*tree), 1);
    EXPECT_FALSE(view.load.pending);
    HostWindow::pump();
    EXPECT_EQ(count(), 258);
    EXPECT_EQ(label(children(root()).back()), load_more);
    // Expanding it again works.
    EXPECT_FALSE(expand(more));
    EXPECT_EQ(count(), 301);
}

TEST_F(JsonTreeViewTest, FillWithoutAControlFails) {
    JsonTreeView none;
    auto built = build_json_tree("[1]");
    ASSERT_TRUE(std::holds_alternative<JsonTree>(built));
    EXPECT_FALSE(none.fill(std::get<JsonTree>(built)));
    EXPECT_FALSE(view.fill(JsonTree{}));
    EXPECT_EQ(count(), 0);
}

// Not a timed test: prints how long a document of a million nodes takes from
// fill() to its first slice on screen when LUMARO_TREE_BENCH is set, beside
// a document of 300 nodes, which needs the same 257 items.
TEST_F(JsonTreeViewTest, AMillionNodesOpenWithOneSlice) {
    for (int elements : {299, 999'999}) {
        std::string json;
        json.reserve(static_cast<std::size_t>(elements) * 2 + 2);
        json += '[';
        for (int i = 0; i < elements; ++i) json += i ? ",7" : "7";
        json += ']';
        auto built = build_json_tree(std::move(json));
        ASSERT_TRUE(std::holds_alternative<JsonTree>(built));
        view.reset();
        tree = std::get<JsonTree>(std::move(built));
        page_state.tree = &*tree;
        ASSERT_EQ(tree->nodes.size(), static_cast<std::size_t>(elements) + 1);

        // As the page does: filled while hidden, then shown.
        ShowWindow(view.hwnd, SW_HIDE);
        const auto start = std::chrono::steady_clock::now();
        ASSERT_TRUE(view.fill(*tree));
        const auto filled = std::chrono::steady_clock::now();
        ShowWindow(view.hwnd, SW_SHOWNA);
        UpdateWindow(view.hwnd);
        const auto painted = std::chrono::steady_clock::now();
        EXPECT_EQ(count(), 258);

        if (std::getenv("LUMARO_TREE_BENCH")) {
            using ms = std::chrono::duration<double, std::milli>;
            std::printf("tree of %zu nodes: fill %.2f ms, fill and first paint %.2f ms\n", tree->nodes.size(),
                        ms(filled - start).count(), ms(painted - start).count());
        }
    }
}

}  // namespace
