#pragma once

// One tool page in a window that stands in for the main window (with the
// status line, id 9), driven through its real controls as a user would.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "../ui/ui_test_support_win.h"
#include "ui/controls_win.h"
#include "ui/show_page_win.h"
#include "ui/tool_page_win.h"
#include "ui/ui_resources_win.h"

namespace page_test {

class ToolPageHost {
public:
    // The page at 168, 0 of the shared, active test window (so that the
    // keyboard focus can move into it), `width` by `height` logical pixels.
    explicit ToolPageHost(int index, int width = 908, int height = 660) {
        register_page_class(GetModuleHandleW(nullptr));
        main_ = ui_test::focus_host();
        status_ = create_control(main_, ControlKind::StatusLabel, "就绪", status_label_id);
        page_ = open_page(main_, index);
        ShowWindow(page_, SW_SHOWNA);
        resize(width, height);
        pump();
    }
    ~ToolPageHost() {
        DestroyWindow(page_);
        DestroyWindow(status_);
        pump();
    }
    ToolPageHost(const ToolPageHost&) = delete;
    ToolPageHost& operator=(const ToolPageHost&) = delete;

    HWND main() const { return main_; }
    HWND page() const { return page_; }

    void resize(int width, int height) {
        SetWindowPos(page_, nullptr, scale(168), 0, scale(width), scale(height), SWP_NOZORDER | SWP_NOACTIVATE);
    }

    // The page's controls in creation order (the order of the z-order list).
    std::vector<HWND> children() const {
        std::vector<HWND> out;
        for (HWND c = GetWindow(page_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) out.push_back(c);
        return out;
    }
    HWND child(std::size_t position) const {
        const std::vector<HWND> all = children();
        return position < all.size() ? all[position] : nullptr;
    }
    HWND item(int id) const { return GetDlgItem(page_, id); }

    // What a button sends its parent when clicked.
    void click(int id) {
        SendMessageW(page_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(item(id)));
        pump();
    }
    // A user's edit: the new text, and the notification the edit sends.
    void type(HWND edit, const std::string& text) {
        SetWindowTextW(edit, to_wide(text).c_str());
        SendMessageW(page_, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(edit), EN_CHANGE), reinterpret_cast<LPARAM>(edit));
        pump();
    }
    // A user's choice in a list.
    void choose(HWND dropdown, int position) {
        SendMessageW(dropdown, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
        SendMessageW(page_, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(dropdown), CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(dropdown));
        pump();
    }

    std::string status() const { return read_text(status_); }
    bool status_is_error() const { return has_property(status_, selected_property); }
    void reset_status() { set_status(main_, "就绪", false); }

    static void pump() { ui_test::HostWindow::pump(); }

private:
    HWND main_ = nullptr;
    HWND status_ = nullptr;
    HWND page_ = nullptr;
};

inline std::optional<std::string> clipboard_text() {
    if (!OpenClipboard(nullptr)) return std::nullopt;
    std::optional<std::string> out;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* text = static_cast<const wchar_t*>(GlobalLock(data))) {
            out = from_wide(text);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return out;
}

inline bool put_on_clipboard(const std::string& text) {
    const std::wstring wide = to_wide(text);
    return copy_text_to_clipboard(nullptr, wide.c_str(), wide.size() + 1);
}

// A control's rectangle in its parent's client area, in device pixels.
inline RECT rect_in_parent(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace page_test
