// How long the user-interface thread is busy while a large document is pasted
// and beautified. Always checks the outcome on a small document; with
// LUMARO_JSON_PAGE_TIMING=<MiB> it runs a document of that size and prints the
// figures (no timing is asserted: the machine decides them);
// LUMARO_JSON_PAGE_TIMING_INPUT=rich or plain limits the run to one kind of input.
// LUMARO_JSON_PAGE_TIMING_STAND_IN=1 keeps the text away from the two edit
// controls (a subclass holds it and answers for them), so that the page's own
// work can be timed on documents that Wine's edit controls take minutes over.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "../ui/ui_test_support_win.h"
#include "json/json_clipboard_win.h"
#include "json/json_page_win.h"
#include "ui/controls_win.h"
#include "ui/page_layout.h"
#include "ui/tool_page_win.h"
#include "ui/ui_resources_win.h"

namespace {

using Clock = std::chrono::steady_clock;

double ms_since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Time spent inside the edit controls' own handling of what the page sends
// them, during the message being dispatched.
struct EditTime {
    double inside_ms = 0;
    double longest_set_ms = 0;  // one WM_SETTEXT or EM_REPLACESEL
    double longest_get_ms = 0;  // one WM_GETTEXT
};
EditTime edit_time;
bool stand_in = false;
std::wstring held_text[2];  // input, result box

LRESULT answer_for_edit(std::wstring& held, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_SETTEXT:
        case EM_REPLACESEL:  // the page only ever replaces the whole text
            held = reinterpret_cast<const wchar_t*>(lparam);
            return TRUE;
        case WM_GETTEXTLENGTH: return static_cast<LRESULT>(held.size());
        default: {
            const std::size_t n = std::min(held.size(), static_cast<std::size_t>(wparam ? wparam - 1 : 0));
            auto* out = reinterpret_cast<wchar_t*>(lparam);
            std::copy_n(held.data(), n, out);
            if (wparam) out[n] = L'\0';
            return static_cast<LRESULT>(n);
        }
    }
}

LRESULT CALLBACK timed_edit(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR which) {
    if (stand_in && (message == WM_SETTEXT || message == EM_REPLACESEL || message == WM_GETTEXT ||
                     message == WM_GETTEXTLENGTH)) {
        // The stand-in's copying is in place of the control's work.
        const auto start = Clock::now();
        const LRESULT r = answer_for_edit(held_text[which], message, wparam, lparam);
        edit_time.inside_ms += ms_since(start);
        return r;
    }
    // Everything the controls do when the page asks them (selection, scrolling
    // the caret into view, their own notifications) is theirs, counted once.
    static int depth = 0;
    const auto start = Clock::now();
    ++depth;
    const LRESULT r = DefSubclassProc(hwnd, message, wparam, lparam);
    --depth;
    const double took = ms_since(start);
    if (depth == 0) edit_time.inside_ms += took;
    if (message == WM_SETTEXT || message == EM_REPLACESEL)
        edit_time.longest_set_ms = std::max(edit_time.longest_set_ms, took);
    if (message == WM_GETTEXT) edit_time.longest_get_ms = std::max(edit_time.longest_get_ms, took);
    return r;
}

// A compact document of at most `bytes` bytes: objects with a few members,
// one a long string, so that the pretty form stays below the 24 MiB limit.
std::string document(std::size_t bytes) {
    std::string text = "[";
    for (int i = 0;; ++i) {
        const std::string item = "{\"id\":" + std::to_string(i) + ",\"name\":\"item " + std::to_string(i) +
                                 "\",\"ok\":true,\"note\":\"" + std::string(160, 'x') + "\"}";
        if (i > 0 && text.size() + item.size() + 2 > bytes) break;
        if (i) text += ',';
        text += item;
    }
    text += ']';
    return text;
}

struct Figures {
    double paste_ms = 0;            // the paste command, edit's own work included
    double paste_own_ms = 0;        // the paste command without the edit's own work
    double clipboard_read_ms = 0;   // of that: taking the text from the clipboard
    double longest_message_ms = 0;  // one dispatched message, all included
    double longest_own_ms = 0;      // one dispatched message, minus the edit controls' own work
    UINT longest_own_message = 0;
    double total_ms = 0;  // paste to pretty result shown (the 400 ms wait included)
    bool pretty = false;
    bool replaced = false;
};

Figures paste_and_format(const std::string& text, bool rich) {
    ui_test::HostWindow host(scale(908), scale(690));
    ui_resources().rich_edit_state = rich ? RichEditState::NotProbed : RichEditState::Unavailable;
    register_page_class(GetModuleHandleW(nullptr));
    HWND status = create_control(host.hwnd(), ControlKind::StatusLabel, "", status_label_id);
    HWND page = create_page_window(host.hwnd());
    auto record = std::make_unique<ToolPage>();
    record->variant = build_json_page(page);
    attach_tool_page(page, std::move(record));
    place_control(page, 0, 0, 908, 660);
    ShowWindow(page, SW_SHOWNA);
    ui_test::HostWindow::pump();

    HWND input = GetDlgItem(page, json_page_ids::input);
    HWND result = nullptr;
    for (HWND c = GetWindow(page, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (control_kind(c) == ControlKind::ResultArea) result = c;
    held_text[0].clear();
    held_text[1].clear();
    SetWindowSubclass(input, timed_edit, 7, 0);
    SetWindowSubclass(result, timed_edit, 7, 1);

    const std::wstring wide = to_wide(text);
    copy_text_to_clipboard(nullptr, wide.c_str(), wide.size() + 1);

    Figures f;
    const auto read_start = Clock::now();
    const bool readable = read_clipboard_text(host.hwnd()).has_value();
    f.clipboard_read_ms = ms_since(read_start);
    EXPECT_TRUE(readable);
    const auto start = Clock::now();
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(json_page_ids::paste, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(page, json_page_ids::paste)));
    f.paste_ms = ms_since(start);
    f.paste_own_ms = f.paste_ms - edit_time.inside_ms;
    const std::wstring done = L"已自动美化 JSON。";
    const auto deadline = Clock::now() + std::chrono::minutes(5);
    while (Clock::now() < deadline) {
        wchar_t shown[64] = {};
        GetWindowTextW(status, shown, 64);
        if (done == shown || has_property(status, selected_property)) break;
        MSG m;
        if (!PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            Sleep(1);
            continue;
        }
        edit_time.inside_ms = 0;
        const auto t = Clock::now();
        TranslateMessage(&m);
        DispatchMessageW(&m);
        const double took = ms_since(t);
        if (took > f.longest_message_ms) f.longest_message_ms = took;
        // The controls' painting is theirs; the page's handlers are what counts.
        if (m.hwnd == page && took - edit_time.inside_ms > f.longest_own_ms) {
            f.longest_own_ms = took - edit_time.inside_ms;
            f.longest_own_message = m.message;
        }
    }
    f.total_ms = ms_since(start);
    // A pretty form too long for the input box is shown in the result box only.
    f.pretty = GetWindowTextLengthW(result) > static_cast<int>(wide.size()) && !has_property(status, selected_property);
    f.replaced = GetWindowTextLengthW(input) > static_cast<int>(wide.size());
    held_text[0].clear();
    held_text[1].clear();
    RemoveWindowSubclass(input, timed_edit, 7);
    RemoveWindowSubclass(result, timed_edit, 7);
    DestroyWindow(page);
    DestroyWindow(status);
    return f;
}

TEST(JsonPageTiming, PastedDocumentIsBeautified) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    SetEnvironmentVariableW(L"LOCALAPPDATA", (std::wstring(temp) + L"lumaro-json-page-timing").c_str());

    const char* mib = std::getenv("LUMARO_JSON_PAGE_TIMING");
    const std::size_t bytes = mib ? static_cast<std::size_t>(std::atof(mib) * 1024 * 1024) : 4096;
    const std::string text = document(bytes);
    const char* only = std::getenv("LUMARO_JSON_PAGE_TIMING_INPUT");
    stand_in = mib && std::getenv("LUMARO_JSON_PAGE_TIMING_STAND_IN");
    for (bool rich : {true, false}) {
        if (only && std::string(only) != (rich ? "rich" : "plain")) continue;
        edit_time = {};
        const Figures f = paste_and_format(text, rich);
        EXPECT_TRUE(f.pretty) << (rich ? "rich edit" : "plain edit");
        if (!mib) continue;
        std::printf(
            "%s%s, %zu bytes: paste command %.1f ms (page's own %.1f ms, of which reading the clipboard %.1f ms); longest message %.1f ms, of which the page's own %.1f ms "
            "(message 0x%X, outside the edit controls); longest edit text replacement %.1f ms, longest text "
            "read %.1f ms; paste to pretty result shown %.1f ms (400 ms idle wait included); input %s\n",
            rich ? "rich edit" : "plain edit", stand_in ? " (text held by a stand-in)" : "", text.size(), f.paste_ms, f.paste_own_ms, f.clipboard_read_ms, f.longest_message_ms, f.longest_own_ms,
            f.longest_own_message, edit_time.longest_set_ms, edit_time.longest_get_ms, f.total_ms,
            f.replaced ? "replaced by its pretty form" : "left alone (its pretty form would not fit)");
    }
}

}  // namespace
