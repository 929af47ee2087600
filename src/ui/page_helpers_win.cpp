#include <windows.h>

#include <algorithm>
#include <cstring>

#include "ui/controls_win.h"
#include "ui/ui_resources_win.h"

namespace {

int scaled_extent(int v) { return v < 1 ? 0 : scale(v); }

}  // namespace

void place_control(HWND control, int x, int y, int w, int h) {
    SetWindowPos(control, nullptr, scale(x), scale(y), scaled_extent(w), scaled_extent(h),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void set_status(HWND from, std::string_view text, bool is_error) {
    HWND root = GetAncestor(from, GA_ROOT);
    // A page that is not on screen (or whose main window hides behind the
    // floating ball) has nothing to tell the user.
    if (from != root && !IsWindowVisible(from)) return;
    HWND status = GetDlgItem(root, status_label_id);
    if (!status) return;
    mark_selected(status, is_error);
    SetWindowTextW(status, to_wide(text).c_str());
}

bool open_clipboard(HWND owner) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (OpenClipboard(owner)) return true;
        Sleep(10);
    }
    return false;
}

bool copy_text_to_clipboard(HWND owner, const wchar_t* text, std::size_t length) {
    if (!open_clipboard(owner)) {
        CloseClipboard();
        return false;
    }
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, length * sizeof(wchar_t));
    if (memory) {
        void* target = GlobalLock(memory);
        if (target) {
            std::memcpy(target, text, length * sizeof(wchar_t));
            GlobalUnlock(memory);
            if (EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, memory)) {
                CloseClipboard();
                return true;
            }
        }
        GlobalFree(memory);
    }
    CloseClipboard();
    return false;
}

void copy_result(HWND owner, std::string_view text) {
    if (text.empty()) {
        set_status(owner, "请先生成或转换结果。", true);
        return;
    }
    const std::wstring wide = to_wide_crlf(text);
    if (copy_text_to_clipboard(owner, wide.c_str(), wide.size() + 1))
        set_status(owner, "已复制到剪贴板。", false);
    else
        set_status(owner, "暂时无法访问剪贴板，请重试。", true);
}

void fill_dropdown(HWND dropdown, const char* const* items, int count, int selected) {
    SendMessageW(dropdown, CB_RESETCONTENT, 0, 0);
    int longest = 0;
    for (int i = 0; i < count; ++i) {
        const std::wstring item = to_wide(items[i]);
        longest = std::max(longest, static_cast<int>(item.size()));
        SendMessageW(dropdown, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
    SendMessageW(dropdown, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(scale(std::max(98, 15 * longest + 35))), 0);
    SendMessageW(dropdown, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

int dropdown_selection(HWND dropdown) { return static_cast<int>(SendMessageW(dropdown, CB_GETCURSEL, 0, 0)); }

void mark_selected(HWND control, bool selected) {
    if (selected)
        SetPropW(control, selected_property, reinterpret_cast<HANDLE>(1));
    else
        RemovePropW(control, selected_property);
    InvalidateRect(control, nullptr, TRUE);
}

void set_toggle(HWND button, bool on) {
    SetWindowTextW(button, on ? L"已开启" : L"已关闭");
    mark_selected(button, on);
}

std::string read_text(HWND control) {
    const int length = GetWindowTextLengthW(control);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(control, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return from_wide(text);
}

void set_text(HWND control, std::string_view utf8) { SetWindowTextW(control, to_wide(utf8).c_str()); }

void clear_text(HWND control) { SetWindowTextW(control, L""); }
