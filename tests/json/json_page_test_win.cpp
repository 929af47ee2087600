// The JSON page in a window under Wine, driven through its controls, once
// with the rich-edit input and once with the plain EDIT fallback.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <tuple>

#include "../common/page_host_win.h"
#include "../ui/ui_test_support_win.h"
#include "json/json_page_win.h"
#include "json_history/json_history.h"
#include "ui/controls_win.h"
#include "ui/page_layout.h"
#include "ui/tool_page_win.h"
#include "ui/ui_resources_win.h"

namespace fs = std::filesystem;
namespace ids = json_page_ids;

namespace {

using page_test::clipboard_text;
using ui_test::HostWindow;

// Line breaks as LF, whatever the control hands back.
std::string normalized(HWND hwnd) {
    const std::string text = read_text(hwnd);
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out.push_back('\n');
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

HWND child_of_kind(HWND parent, ControlKind kind) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (control_kind(child) == kind) return child;
    return nullptr;
}

// Wide, so that a lone surrogate can be put there too.
void put_on_clipboard(const std::wstring& text) {
    ASSERT_TRUE(copy_text_to_clipboard(nullptr, text.c_str(), text.size() + 1));
}

const char* const pretty_a = "{\n  \"a\": 1\n}";

class JsonPageTest : public ::testing::TestWithParam<bool> {
protected:
    JsonPageTest() : host_(scale(908), scale(690)) {}

    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        root_ = join_path(temp, L"lumaro-json-page-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                    std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(counter_++));
        fs::create_directories(root_);
        SetEnvironmentVariableW(L"LOCALAPPDATA", root_.c_str());
        build();
    }
    void TearDown() override {
        if (page_) DestroyWindow(page_);
        HostWindow::pump();
        // A worker still writing the history gets a moment to let go of it.
        Sleep(50);
        std::error_code ec;
        fs::remove_all(root_, ec);
    }

    // The rich-edit probe runs again for the rich case; the plain case tells
    // the factory that the library is missing.
    void build() {
        ui_resources().rich_edit_state = GetParam() ? RichEditState::NotProbed : RichEditState::Unavailable;
        ASSERT_TRUE(register_page_class(GetModuleHandleW(nullptr)));
        status_ = create_control(host_.hwnd(), ControlKind::StatusLabel, "", status_label_id);
        place_control(status_, 0, 660, 900, 24);
        page_ = create_page_window(host_.hwnd());
        ASSERT_NE(page_, nullptr);
        auto record = std::make_unique<ToolPage>();
        record->variant = build_json_page(page_);
        attach_tool_page(page_, std::move(record));
        place_control(page_, 0, 0, 908, 660);
        ShowWindow(page_, SW_SHOWNA);
        HostWindow::pump();
    }
    void rebuild() {
        DestroyWindow(page_);
        DestroyWindow(status_);
        build();
    }

    HWND input() const { return GetDlgItem(page_, ids::input); }
    HWND button(int id) const { return GetDlgItem(page_, id); }
    HWND history() const { return GetDlgItem(page_, ids::history); }
    HWND result_box() const { return child_of_kind(page_, ControlKind::ResultArea); }
    HWND tree() const { return GetDlgItem(page_, 109); }
    std::string status() const { return read_text(status_); }
    bool status_is_error() const { return has_property(status_, selected_property); }
    std::string view_text() const { return read_text(button(ids::view)); }
    std::pair<DWORD, DWORD> selection() const {
        DWORD start = 0, end = 0;
        SendMessageW(input(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }

    // Pumps one message at a time until the condition holds.
    bool pump_until(const std::function<bool()>& done, DWORD timeout_ms = 10000) {
        const ULONGLONG until = GetTickCount64() + timeout_ms;
        while (!done()) {
            if (GetTickCount64() > until) return false;
            MSG m;
            if (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&m);
                DispatchMessageW(&m);
            } else {
                Sleep(2);
            }
        }
        return true;
    }
    void pump_for(DWORD ms) {
        pump_until([] { return false; }, ms);
    }
    // The status line is blanked first so that a repeated message still counts.
    void forget_status() { SetWindowTextW(status_, L""); }
    bool settled() const {
        const std::string s = status();
        return !s.empty() && s != "正在处理文本…" && s != "正在恢复历史记录…" && s != "正在解析 JSON…";
    }
    // Waits for the next final status (after the idle timer and the job).
    std::string next_status() {
        EXPECT_TRUE(pump_until([&] { return settled(); })) << "still: " << status();
        return status();
    }

    void type(std::wstring_view text) {
        for (wchar_t c : text) SendMessageW(input(), WM_CHAR, c, 1);
    }
    // A programmatic replacement of the whole input, announced as an edit.
    void set_input(std::string_view text) {
        SetWindowTextW(input(), to_wide_crlf(text).c_str());
        SendMessageW(page_, WM_COMMAND, MAKEWPARAM(ids::input, EN_CHANGE), reinterpret_cast<LPARAM>(input()));
    }
    void click(int id) {
        forget_status();
        SendMessageW(button(id), BM_CLICK, 0, 0);
    }
    bool enabled(int id) const { return IsWindowEnabled(button(id)) != FALSE; }
    // Chosen as a user does: the list opened, the item selected, Enter.
    void pick_history(int index) {
        forget_status();
        SendMessageW(history(), CB_SHOWDROPDOWN, TRUE, 0);
        SendMessageW(history(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageW(history(), WM_KEYDOWN, VK_RETURN, 0);
    }
    std::string history_item(int index) const {
        const LRESULT length = SendMessageW(history(), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
        if (length < 0) return "<none>";
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        SendMessageW(history(), CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(length));
        return from_wide(text);
    }

    static inline int counter_ = 0;
    HostWindow host_;
    HistoryPath root_;
    HWND status_ = nullptr;
    HWND page_ = nullptr;
};

TEST_P(JsonPageTest, InputIsTheExpectedKindOfControl) {
    wchar_t name[32] = {};
    GetClassNameW(input(), name, 32);
    EXPECT_EQ(lstrcmpiW(name, GetParam() ? L"RICHEDIT50W" : L"Edit"), 0) << from_wide(name);
    EXPECT_EQ(view_text(), "树视图");
    EXPECT_EQ(history_item(0), "最近记录 · 0");
    EXPECT_EQ(SendMessageW(history(), CB_GETCOUNT, 0, 0), 1);
    EXPECT_FALSE(enabled(ids::copy));
    EXPECT_TRUE(enabled(ids::format));
}

TEST_P(JsonPageTest, TypedJsonIsBeautifiedInPlaceAsOneUndoableEdit) {
    type(L"{\"a\":1}");
    SendMessageW(input(), EM_SETSEL, 6, 6);  // just after the 1
    forget_status();
    EXPECT_EQ(next_status(), "已自动美化 JSON。");
    EXPECT_FALSE(status_is_error());
    EXPECT_EQ(normalized(input()), pretty_a);
    EXPECT_EQ(normalized(result_box()), pretty_a);
    // After the same 1: position 11 with CR LF breaks, 10 with the rich edit's CR.
    const DWORD caret = GetParam() ? 10 : 11;
    EXPECT_EQ(selection(), std::make_pair(caret, caret));
    EXPECT_TRUE(enabled(ids::copy));

    SendMessageW(input(), EM_UNDO, 0, 0);
    EXPECT_EQ(normalized(input()), "{\"a\":1}");
    SendMessageW(page_, WM_COMMAND, MAKEWPARAM(ids::input, EN_CHANGE), reinterpret_cast<LPARAM>(input()));
    EXPECT_FALSE(enabled(ids::copy));  // the result no longer matches the input
    forget_status();
    EXPECT_EQ(next_status(), "已自动美化 JSON。");
    // The very text that was replaced is left alone this time.
    EXPECT_EQ(normalized(input()), "{\"a\":1}");
    EXPECT_EQ(normalized(result_box()), pretty_a);
}

TEST_P(JsonPageTest, TypingRestartsTheWait) {
    type(L"[1");
    forget_status();
    pump_for(250);
    type(L",2]");
    pump_for(250);
    EXPECT_EQ(status(), "");  // 500 ms after the first key, but only 250 after the last
    EXPECT_EQ(next_status(), "已自动美化 JSON。");
    EXPECT_EQ(normalized(input()), "[\n  1,\n  2\n]");
}

TEST_P(JsonPageTest, AnEditDuringAJobMakesItsResultStale) {
    type(L"{\"a\":1}");
    forget_status();
    ASSERT_TRUE(pump_until([&] { return status() == "正在处理文本…"; }));
    EXPECT_FALSE(enabled(ids::format));
    EXPECT_FALSE(enabled(ids::paste));
    EXPECT_FALSE(IsWindowEnabled(history()));
    EXPECT_TRUE(IsWindowEnabled(input()));
    set_input("[true,false]");
    forget_status();
    EXPECT_EQ(next_status(), "已自动美化 JSON。");
    EXPECT_EQ(normalized(input()), "[\n  true,\n  false\n]");
    EXPECT_EQ(normalized(result_box()), "[\n  true,\n  false\n]");
    EXPECT_TRUE(enabled(ids::format));
}

TEST_P(JsonPageTest, MovingTheCaretDuringAJobKeepsTheInput) {
    type(L"{\"a\":1}");
    forget_status();
    ASSERT_TRUE(pump_until([&] { return status() == "正在处理文本…"; }));
    SendMessageW(input(), EM_SETSEL, 2, 2);
    EXPECT_EQ(next_status(), "已自动美化 JSON。");
    EXPECT_EQ(normalized(input()), "{\"a\":1}");
    EXPECT_EQ(normalized(result_box()), pretty_a);
}

TEST_P(JsonPageTest, InvalidJsonIsReportedAndLocated) {
    type(L"{\"a\":1,}");
    forget_status();
    const std::string message = next_status();
    EXPECT_TRUE(status_is_error());
    EXPECT_NE(message.find("（第 1 行，第 8 列）"), std::string::npos) << message;
    const std::string shown = normalized(result_box());
    EXPECT_EQ(shown.rfind(message + "\n\n", 0), 0u) << shown;
    EXPECT_GT(shown.size(), message.size() + 2);  // the context follows
    EXPECT_EQ(selection(), std::make_pair(DWORD{7}, DWORD{8}));
    EXPECT_EQ(view_text(), "定位错误");
    EXPECT_EQ(normalized(input()), "{\"a\":1,}");
    EXPECT_FALSE(enabled(ids::copy));

    SendMessageW(input(), EM_SETSEL, 0, 0);
    click(ids::view);
    EXPECT_EQ(selection(), std::make_pair(DWORD{7}, DWORD{8}));
    EXPECT_EQ(view_text(), "定位错误");

    type(L" ");
    EXPECT_EQ(view_text(), "树视图");
}

TEST_P(JsonPageTest, ErrorOnALaterLineIsSelectedThere) {
    set_input("{\n  \"a\": tru\n}");
    forget_status();
    const std::string message = next_status();
    EXPECT_TRUE(status_is_error());
    EXPECT_NE(message.find("（第 2 行，第 11 列）"), std::string::npos) << message;
    const LRESULT line = SendMessageW(input(), EM_LINEINDEX, 1, 0);
    EXPECT_EQ(selection(), std::make_pair(static_cast<DWORD>(line + 10), static_cast<DWORD>(line + 11)));
    EXPECT_GT(line, 0);
}

TEST_P(JsonPageTest, EmptyInputCommands) {
    for (int id : {ids::format, ids::compact, ids::unescape}) {
        click(id);
        EXPECT_EQ(status(), "请输入要处理的文本。") << id;
        EXPECT_TRUE(status_is_error());
    }
    click(ids::escape);
    EXPECT_EQ(next_status(), "已转义为 JSON 字符串。");
    EXPECT_EQ(normalized(result_box()), "\"\"");
    EXPECT_TRUE(enabled(ids::copy));
}

TEST_P(JsonPageTest, ButtonsTransformTheInput) {
    struct Case {
        int id;
        std::string input, result, message;
    };
    const Case cases[] = {
        {ids::format, "[1,{\"k\":null}]", "[\n  1,\n  {\n    \"k\": null\n  }\n]", "已格式化 JSON。"},
        {ids::compact, "{ \"b\" : [ 2 ] }", "{\"b\":[2]}", "已压缩 JSON。"},
        {ids::escape, "a\"b", "\"a\\\"b\"", "已转义为 JSON 字符串。"},
        {ids::unescape, "\"x\\ty\"", "x\ty", "已取消转义。"},
    };
    SetForegroundWindow(host_.hwnd());
    for (const Case& c : cases) {
        SetWindowTextW(input(), to_wide_crlf(c.input).c_str());
        SetFocus(button(c.id));
        ASSERT_EQ(GetFocus(), button(c.id));
        click(c.id);
        EXPECT_EQ(next_status(), c.message);
        EXPECT_EQ(GetFocus(), button(c.id)) << "the keyboard is back on the button once its job is done";
        EXPECT_FALSE(status_is_error());
        EXPECT_EQ(normalized(result_box()), c.result);
        EXPECT_EQ(normalized(input()), c.input);  // only the automatic format rewrites the input
    }
}

TEST_P(JsonPageTest, BlankInputWaits) {
    click(ids::escape);
    next_status();
    set_input(" \n\t");
    forget_status();
    EXPECT_EQ(next_status(), "等待输入 JSON。");
    EXPECT_FALSE(status_is_error());
    EXPECT_EQ(normalized(result_box()), "");
    EXPECT_FALSE(enabled(ids::copy));
}

TEST_P(JsonPageTest, PasteReplacesTheWholeInputAndStartsTheWait) {
    set_input("garbage that stays? no");
    pump_for(0);
    SendMessageW(input(), EM_SETSEL, 2, 5);
    put_on_clipboard(L"{\"p\":\r\n[]}");
    click(ids::paste);
    EXPECT_EQ(status(), "已粘贴到输入框。");
    EXPECT_FALSE(status_is_error());
    EXPECT_EQ(normalized(input()), "{\"p\":\n[]}");
    forget_status();
    EXPECT_EQ(next_status(), "已自动美化 JSON。");
    EXPECT_EQ(normalized(input()), "{\n  \"p\": []\n}");
}

TEST_P(JsonPageTest, PasteWithoutTextOrTooLong) {
    ASSERT_TRUE(open_clipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    click(ids::paste);
    EXPECT_EQ(status(), "剪贴板中没有可粘贴的文本。");
    EXPECT_TRUE(status_is_error());

    put_on_clipboard(std::wstring(1, wchar_t(0xD800)) + L"x");
    click(ids::paste);
    EXPECT_EQ(status(), "剪贴板中没有可粘贴的文本。");

    // Just over half the capacity in LF line breaks overflows a plain edit
    // control once they become CR LF (a rich edit counts each as one).
    if (!GetParam()) {
        put_on_clipboard(std::wstring(0x800001, L'\n'));
        click(ids::paste);
        EXPECT_EQ(status(), "剪贴板文本超过输入框容量。");
        EXPECT_TRUE(status_is_error());
    }
    put_on_clipboard(std::wstring(0x1000001, L'1'));
    click(ids::paste);
    EXPECT_EQ(status(), "剪贴板文本超过输入框容量。");
    EXPECT_TRUE(status_is_error());
}

TEST_P(JsonPageTest, CopyOnlyWhenTheResultIsCurrent) {
    EXPECT_FALSE(enabled(ids::copy));
    SetWindowTextW(input(), L"[1,2]");
    click(ids::format);
    next_status();
    ASSERT_TRUE(enabled(ids::copy));
    click(ids::copy);
    EXPECT_EQ(status(), "已复制结果。");
    EXPECT_FALSE(status_is_error());
    EXPECT_EQ(clipboard_text(), "[\n  1,\n  2\n]");  // the result's own LF line breaks

    type(L" ");
    EXPECT_FALSE(enabled(ids::copy));
}

TEST_P(JsonPageTest, NulResultIsShownAsSymbolAndNotCopied) {
    SetWindowTextW(input(), L"\"a\\u0000b\"");
    click(ids::unescape);
    EXPECT_EQ(next_status(), "已取消转义。");
    EXPECT_EQ(normalized(result_box()), "a␀b");
    put_on_clipboard(L"before");
    click(ids::copy);
    EXPECT_EQ(status(), "结果含空字符，无法通过 Windows 文本剪贴板完整复制。");
    EXPECT_TRUE(status_is_error());
    EXPECT_EQ(clipboard_text(), "before");
}

TEST_P(JsonPageTest, ClearEmptiesInputAndResult) {
    SetWindowTextW(input(), L"[1]");
    click(ids::format);
    next_status();
    click(ids::clear);
    EXPECT_EQ(status(), "已清空输入和结果。");
    EXPECT_EQ(normalized(input()), "");
    EXPECT_EQ(normalized(result_box()), "");
    EXPECT_FALSE(enabled(ids::copy));
    pump_for(600);
    EXPECT_EQ(status(), "已清空输入和结果。");  // no automatic format follows
}

TEST_P(JsonPageTest, HistoryRecordsAreOfferedAndRestored) {
    SetWindowTextW(input(), L"{\"first\":1}");
    click(ids::format);
    next_status();
    SetWindowTextW(input(), L"[2]");
    click(ids::compact);
    next_status();
    ASSERT_EQ(SendMessageW(history(), CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(history_item(0), "最近记录 · 2");
    EXPECT_EQ(history_item(1), "[2]");
    EXPECT_EQ(history_item(2), "{\"first\":1}");
    EXPECT_EQ(SendMessageW(history(), CB_GETCURSEL, 0, 0), 0);

    pick_history(0);
    pump_for(100);
    EXPECT_EQ(status(), "");  // the header does nothing
    EXPECT_EQ(normalized(input()), "[2]");

    // Arrow and wheel over the closed box, and moving through the open list,
    // only browse; Enter on the older record restores it.
    SetFocus(history());
    const std::pair<UINT, WPARAM> browsing[] = {{WM_KEYDOWN, VK_DOWN}, {WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA)},
                                                {CB_SHOWDROPDOWN, TRUE}, {WM_KEYDOWN, VK_DOWN}, {WM_KEYDOWN, VK_DOWN}};
    for (auto [message, wparam] : browsing) {
        SendMessageW(history(), message, wparam, 0);
        pump_for(50);
        EXPECT_EQ(normalized(input()), "[2]") << message;
    }
    EXPECT_EQ(status(), "");
    SendMessageW(history(), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(SendMessageW(history(), CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(next_status(), "已恢复历史记录。");
    EXPECT_EQ(normalized(input()), "{\"first\":1}");
    EXPECT_EQ(normalized(result_box()), "{\n  \"first\": 1\n}");
    EXPECT_TRUE(enabled(ids::copy));
    EXPECT_EQ(SendMessageW(history(), CB_GETCURSEL, 0, 0), 0);
    pump_for(600);
    EXPECT_EQ(status(), "已恢复历史记录。");  // the restored text is not an edit
    SendMessageW(input(), EM_UNDO, 0, 0);  // one undo gives back what was there
    EXPECT_EQ(normalized(input()), "[2]");

    // A new page lists the same records.
    rebuild();
    EXPECT_EQ(history_item(0), "最近记录 · 2");
    EXPECT_EQ(history_item(1), "[2]");
}

// Lone CRs and LFs become CR LF in the plain box too, so that the positions
// the page computes are those the user sees: the caret stays after the 1, or
// the 1 is the error selected.
TEST_P(JsonPageTest, PastedLoneLineBreaksAgreeWithPositions) {
    // The position after the 1; a rich edit counts each CR LF it hands back as one.
    auto after_1 = [&] {
        const std::string text = read_text(input()).substr(0, read_text(input()).find('1') + 1);
        return static_cast<DWORD>(text.size() - (GetParam() ? std::count(text.begin(), text.end(), '\n') : 0));
    };
    const std::tuple<const wchar_t*, bool, bool> pastes[] = {
        {L"[\r1,2]", true, false}, {L"[\r1,2]", false, false}, {L"[\n1,2]", false, false}, {L"{\r\"a\" 1}", false, true}};
    for (auto [text, by_button, error] : pastes) {
        click(ids::clear);
        put_on_clipboard(text);
        if (by_button)
            click(ids::paste);
        else
            SendMessageW(input(), WM_PASTE, 0, 0);
        SendMessageW(input(), EM_SETSEL, after_1(), after_1());
        forget_status();
        next_status();
        EXPECT_EQ(selection(), std::make_pair(after_1() - error, after_1())) << by_button << error;
    }
}

TEST_P(JsonPageTest, AListingArrivesEvenForAStaleResult) {
    type(L"[7]");
    forget_status();
    ASSERT_TRUE(pump_until([&] { return status() == "正在处理文本…"; }));
    set_input("");
    EXPECT_TRUE(pump_until([&] { return history_item(0) == "最近记录 · 1"; }));
    EXPECT_EQ(history_item(1), "[7]");
}

TEST_P(JsonPageTest, UnreadableRecordOnlyReportsInTheStatusLine) {
    SetWindowTextW(input(), L"[3]");
    click(ids::format);
    next_status();
    JsonHistoryListing listing = std::get<JsonHistoryListing>(list_history(*history_directory()));
    ASSERT_EQ(listing.size(), 1u);
    ASSERT_TRUE(DeleteFileW(listing[0].path.c_str()));
    pick_history(1);
    EXPECT_EQ(next_status(), "无法读取这条历史记录。");
    EXPECT_TRUE(status_is_error());
    EXPECT_EQ(normalized(result_box()), "[\n  3\n]");  // the result stays
}

TEST_P(JsonPageTest, FailedHistorySaveKeepsTheResult) {
    SetEnvironmentVariableW(L"LOCALAPPDATA", nullptr);
    SetWindowTextW(input(), L"[4]");
    click(ids::format);
    EXPECT_EQ(next_status(), "处理成功，无法保存本地历史记录。");
    EXPECT_TRUE(status_is_error());
    EXPECT_EQ(normalized(result_box()), "[\n  4\n]");
    EXPECT_TRUE(enabled(ids::copy));
}

TEST_P(JsonPageTest, TreeOfAnEmptyInputAsksForJson) {
    click(ids::view);
    if (!tree()) {
        EXPECT_EQ(status(), "无法创建 Windows 树视图。");
    } else {
        EXPECT_EQ(status(), "请输入要查看的 JSON。");
    }
    EXPECT_TRUE(status_is_error());
}

// The tree view itself is its own control; these check the page's side of it.
TEST_P(JsonPageTest, TreeViewShowsAndHidesInPlaceOfTheResultBox) {
    ASSERT_NE(tree(), nullptr);
    SetWindowTextW(input(), L"[1,{\"k\":true}]");
    click(ids::view);
    EXPECT_EQ(next_status(), "树视图 · 4 个节点");
    EXPECT_EQ(view_text(), "文本视图");
    EXPECT_TRUE(IsWindowVisible(tree()));
    EXPECT_FALSE(IsWindowVisible(result_box()));
    RECT tree_rect, box_rect;
    GetWindowRect(tree(), &tree_rect);
    GetWindowRect(result_box(), &box_rect);
    EXPECT_TRUE(EqualRect(&tree_rect, &box_rect));
    // Without TVS_NONEVENHEIGHT the control rounds an odd height down.
    const int item_height = TreeView_GetItemHeight(tree());
    EXPECT_TRUE(item_height == scale(25) || item_height == (scale(25) & ~1)) << item_height;
    EXPECT_NE(TreeView_GetRoot(tree()), nullptr);

    click(ids::view);
    EXPECT_EQ(status(), "已切换到文本视图。");
    EXPECT_EQ(view_text(), "树视图");
    EXPECT_FALSE(IsWindowVisible(tree()));
    EXPECT_TRUE(IsWindowVisible(result_box()));

    // With the tree showing the automatic format builds a tree too.
    click(ids::view);
    EXPECT_EQ(status(), "树视图 · 4 个节点");
    set_input("[[],{}]");
    forget_status();
    EXPECT_EQ(next_status(), "树视图 · 3 个节点");
    EXPECT_EQ(normalized(input()), "[\n  [],\n  {}\n]");
    EXPECT_TRUE(IsWindowVisible(tree()));

    // An error puts the text view back.
    set_input("[");
    forget_status();
    next_status();
    EXPECT_TRUE(status_is_error());
    EXPECT_FALSE(IsWindowVisible(tree()));
    EXPECT_EQ(TreeView_GetRoot(tree()), nullptr);
}

TEST_P(JsonPageTest, TreeOfTheCurrentTextResult) {
    ASSERT_NE(tree(), nullptr);
    SetWindowTextW(input(), L"{ \"x\" : [ 1 ] }");
    click(ids::compact);
    next_status();
    click(ids::view);
    EXPECT_EQ(next_status(), "树视图 · 3 个节点");
    EXPECT_EQ(normalized(result_box()), "{\"x\":[1]}");  // the text stays for the text view
    // A tree of the result is not remembered; only the compacted input is.
    EXPECT_EQ(SendMessageW(history(), CB_GETCOUNT, 0, 0), 2);
}

INSTANTIATE_TEST_SUITE_P(Input, JsonPageTest, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& param) {
                             return param.param ? std::string("RichEdit") : std::string("PlainEdit");
                         });

}  // namespace
