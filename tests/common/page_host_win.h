#pragma once

// One tool page as the main window holds it, driven through its real
// controls as a user would: the page window of class "Brivane.Page" at
// 168, 0 of a window that stands in for the main window, with the status
// line (id 9) beside it.

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "../ui/ui_test_support_win.h"
#include "ui/controls_win.h"
#include "main/page_registry_win.h"
#include "ui/tool_page_win.h"
#include "ui/ui_resources_win.h"

namespace page_test {

// The size the main window gives a page at its start size, in logical pixels.
inline constexpr int default_width = 908;
inline constexpr int default_height = 660;

// Makes the page's variant for its freshly created window; for pages whose
// tests supply what open_page would take from the system (a date source).
using PageBuilder = std::unique_ptr<PageVariant> (*)(HWND page);

class HostedPage {
public:
    // The page as open_page builds it.
    explicit HostedPage(int index) {
        prepare_host();
        page_ = open_page(main_, index);
        show();
    }
    // The page with the variant `build` makes.
    explicit HostedPage(PageBuilder build) {
        prepare_host();
        page_ = create_page_window(main_);
        auto record = std::make_unique<ToolPage>();
        record->variant = build(page_);
        attach_tool_page(page_, std::move(record));
        show();
    }
    ~HostedPage() {
        DestroyWindow(page_);
        DestroyWindow(status_);
        pump();
    }
    HostedPage(const HostedPage&) = delete;
    HostedPage& operator=(const HostedPage&) = delete;

    HWND main() const { return main_; }
    HWND page() const { return page_; }
    HWND status_line() const { return status_; }

    // The page `width` by `height` logical pixels.
    void resize(int width, int height) {
        place_control(page_, 168, 0, width, height);
        pump();
    }

    // The page's controls in creation order (the order of the z-order list).
    std::vector<HWND> controls() const {
        std::vector<HWND> list;
        for (HWND c = GetWindow(page_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) list.push_back(c);
        return list;
    }
    HWND control(std::size_t position) const {
        const std::vector<HWND> all = controls();
        return position < all.size() ? all[position] : nullptr;
    }
    HWND item(int id) const { return GetDlgItem(page_, id); }

    // What the user does, as the controls report it to the page.

    // An edit: the new text, and the notification the edit sends.
    void type(HWND field, std::string_view text) {
        set_text(field, text);
        SendMessageW(page_, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(field), EN_CHANGE), reinterpret_cast<LPARAM>(field));
        pump();
    }
    // A click on the real button: nothing happens while it is disabled.
    void click(HWND button) {
        SendMessageW(button, BM_CLICK, 0, 0);
        pump();
    }
    // The command a click on the button sends its page, delivered even when
    // the button is disabled, as a command arriving from elsewhere would be.
    void command(int id) {
        SendMessageW(page_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(item(id)));
        pump();
    }
    // A choice in a list.
    void choose(HWND list, int position) {
        SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
        SendMessageW(page_, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
        pump();
    }

    std::string status_text() const { return read_text(status_); }
    bool status_is_error() const { return has_property(status_, selected_property); }
    void reset_status() { set_status(main_, "就绪", false); }

    static void pump() { ui_test::HostWindow::pump(); }

private:
    // The shared, active test window, so that the keyboard focus can move
    // into the page, made large enough to show the whole page.
    void prepare_host() {
        // A layout checked in logical pixels holds at any DPI; this makes sure
        // the run at another DPI (tests/CMakeLists.txt) really has it.
        EXPECT_EQ(ui_resources().dpi, ui_test::expected_dpi());
        register_page_class(GetModuleHandleW(nullptr));
        main_ = ui_test::focus_host();
        SetWindowPos(main_, nullptr, 0, 0, scale(168 + default_width), scale(default_height + 30),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        status_ = create_control(main_, ControlKind::StatusLabel, "就绪", status_label_id);
    }
    void show() {
        ShowWindow(page_, SW_SHOWNA);
        resize(default_width, default_height);
    }

    HWND main_ = nullptr;
    HWND status_ = nullptr;
    HWND page_ = nullptr;
};

// One control a page makes, by its position in creation order: its kind,
// text (none: not compared) and command id.
struct ExpectedControl {
    std::size_t position;
    ControlKind kind;
    const char* text;
    int id;
};

inline void expect_controls(const HostedPage& host, std::span<const ExpectedControl> expected) {
    for (const ExpectedControl& e : expected) {
        SCOPED_TRACE(testing::Message() << "control " << e.position);
        const HWND control = host.control(e.position);
        EXPECT_EQ(control_kind(control), e.kind);
        EXPECT_EQ(GetDlgCtrlID(control), e.id);
        if (e.text) {
            EXPECT_EQ(read_text(control), e.text);
        }
    }
}

inline bool read_only(HWND edit) { return (GetWindowLongW(edit, GWL_STYLE) & ES_READONLY) != 0; }

// A drop-down list's items and its selected position.
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

// The clipboard's text; a clipboard that cannot be opened or holds no text
// reads as a marker no page ever copies, so that comparisons fail.
inline std::string clipboard_text() {
    if (!open_clipboard(nullptr)) return "<cannot open the clipboard>";
    std::string out = "<no text on the clipboard>";
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* text = static_cast<const wchar_t*>(GlobalLock(data))) {
            out = from_wide(text);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return out;
}

inline bool put_on_clipboard(std::string_view text) {
    const std::wstring wide = to_wide(text);
    return copy_text_to_clipboard(nullptr, wide.c_str(), wide.size() + 1);
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

// The rectangle of a control in its page's logical coordinates.
struct LogicalRect {
    int x, y, w, h;
    friend bool operator==(const LogicalRect&, const LogicalRect&) = default;
};
inline std::ostream& operator<<(std::ostream& out, const LogicalRect& r) {
    return out << "{" << r.x << ", " << r.y << ", " << r.w << ", " << r.h << "}";
}

// The device rectangle a control placed at the logical one has: a width or
// height below 1 becomes 0.
inline RECT device_rect(const LogicalRect& r) {
    const int w = r.w < 1 ? 0 : scale(r.w);
    const int h = r.h < 1 ? 0 : scale(r.h);
    return {scale(r.x), scale(r.y), scale(r.x) + w, scale(r.y) + h};
}

// A control's rectangle in its parent's client area, in device pixels.
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

// Where a control, by its position in creation order, stands in its page.
struct ExpectedPlace {
    std::size_t position;
    LogicalRect rect;
};

// A drop-down list keeps its face height and grows only when open: its
// height is not compared.
inline void expect_layout(const HostedPage& host, std::span<const ExpectedPlace> expected) {
    for (const ExpectedPlace& e : expected) {
        SCOPED_TRACE(testing::Message() << "control " << e.position);
        const HWND control = host.control(e.position);
        expect_placed(control, e.rect, control_kind(control) == ControlKind::Dropdown);
    }
}

}  // namespace page_test
