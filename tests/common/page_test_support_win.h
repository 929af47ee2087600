#pragma once

// A tool page as the main window holds it, for driving a page through its
// controls: a host window with the status line (id 9), the page window of
// class "Brivane.Page" with its record, shown at the size the main window
// gives a page at its start size (908 by 660 logical pixels).

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "../ui/ui_test_support_win.h"
#include "ui/controls_win.h"
#include "ui/tool_page_win.h"
#include "ui/ui_resources_win.h"

namespace page_test {

inline constexpr int default_width = 908;
inline constexpr int default_height = 660;

class PageHarness {
public:
    PageHarness(int index, std::unique_ptr<PageVariant> variant_of_page(HWND))
        : host_(scale(168 + default_width), scale(default_height + 30)) {
        status_ = create_control(host_.hwnd(), ControlKind::StatusLabel, "就绪", status_label_id);
        register_page_class(GetModuleHandleW(nullptr));
        page_ = create_page_window(host_.hwnd());
        auto record = std::make_unique<ToolPage>();
        record->index = index;
        record->variant = variant_of_page(page_);
        attach_tool_page(page_, std::move(record));
        resize(default_width, default_height);
        ShowWindow(page_, SW_SHOWNA);
        pump();
    }

    HWND page() const { return page_; }
    HWND status() const { return status_; }

    void resize(int width, int height) {
        place_control(page_, 168, 0, width, height);
        pump();
    }

    // The page's controls in creation order.
    std::vector<HWND> controls() const {
        std::vector<HWND> list;
        for (HWND c = GetWindow(page_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) list.push_back(c);
        return list;
    }

    // What the user does, as the controls report it to the page.
    void type(HWND field, std::string_view text) {
        SetWindowTextW(field, to_wide(text).c_str());
        SendMessageW(page_, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(field), EN_CHANGE), reinterpret_cast<LPARAM>(field));
        pump();
    }
    void click(HWND button) {
        SendMessageW(button, BM_CLICK, 0, 0);
        pump();
    }
    void choose(HWND list, int index) {
        SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageW(page_, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
        pump();
    }

    std::string status_text() const { return read_text(status_); }
    bool status_is_error() const { return has_property(status_, selected_property); }
    void reset_status() { set_status(host_.hwnd(), "就绪", false); }

    static void pump() { ui_test::HostWindow::pump(); }

private:
    ui_test::HostWindow host_;
    HWND status_ = nullptr;
    HWND page_ = nullptr;
};

// The rectangle of a control in its page's logical coordinates.
struct LogicalRect {
    int x, y, w, h;
    friend bool operator==(const LogicalRect&, const LogicalRect&) = default;
};
inline std::ostream& operator<<(std::ostream& out, const LogicalRect& r) {
    return out << "{" << r.x << ", " << r.y << ", " << r.w << ", " << r.h << "}";
}

// The device rectangle a control placed at the logical one has.
inline RECT device_rect(const LogicalRect& r) {
    const int w = r.w < 1 ? 0 : scale(r.w);
    const int h = r.h < 1 ? 0 : scale(r.h);
    return {scale(r.x), scale(r.y), scale(r.x) + w, scale(r.y) + h};
}

inline RECT rect_in_parent(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// A drop-down list's closed face is shorter than the height it was given,
// so only its position and width are compared there.
inline void expect_placed(HWND control, const LogicalRect& expected, bool dropdown = false) {
    const RECT actual = rect_in_parent(control);
    const RECT wanted = device_rect(expected);
    EXPECT_EQ(actual.left, wanted.left) << expected;
    EXPECT_EQ(actual.top, wanted.top) << expected;
    EXPECT_EQ(actual.right, wanted.right) << expected;
    if (!dropdown) {
        EXPECT_EQ(actual.bottom, wanted.bottom) << expected;
    }
}

inline std::vector<std::string> list_items(HWND list) {
    std::vector<std::string> items;
    const int count = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const auto length = SendMessageW(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(length));
        items.push_back(from_wide(text));
    }
    return items;
}

inline int selection(HWND list) { return static_cast<int>(SendMessageW(list, CB_GETCURSEL, 0, 0)); }

inline std::string clipboard_text() {
    std::wstring text;
    if (!OpenClipboard(nullptr)) return "<cannot open>";
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (auto* p = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = p;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return from_wide(text);
}

inline void put_on_clipboard(std::wstring_view text) {
    std::wstring copy(text);
    copy_text_to_clipboard(nullptr, copy.c_str(), copy.size() + 1);
}

// A result text as the results box and the clipboard hold it: lines joined
// by CR LF. Fails the test on a lone CR or LF.
inline std::vector<std::string> crlf_lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find("\r\n", start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "a lone line break in line " << lines.size();
        lines.push_back(std::move(line));
        if (end == std::string::npos) return lines;
        start = end + 2;
    }
}

}  // namespace page_test
