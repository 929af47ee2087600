#pragma once

// The page windows: one child window of the main window per page, of class
// "Brivane.Page", owning its ToolPage record through its user-data slot.

#include <windows.h>

#include <memory>

#include "ui/window_record_win.h"

inline constexpr wchar_t page_class_name[] = L"Brivane.Page";

// The tool's side of a page: its controls and state. The window procedure
// calls these with the record borrowed; the defaults leave a message to
// default processing, so a page overrides only what it handles.
class PageVariant {
public:
    virtual ~PageVariant() = default;
    // Logical client width and height (already unscaled).
    virtual void layout(int width, int height) = 0;
    // WM_COMMAND's wParam: control id in the low word, notification code in the high word.
    virtual void command(WPARAM wparam) = 0;
    // WM_NOTIFY's result.
    virtual LRESULT notify(HWND page, WPARAM wparam, LPARAM lparam);
    // Any other message; false sends it to default processing.
    virtual bool handle(HWND page, UINT message, WPARAM wparam, LPARAM lparam);
    // FloatingStateChanged, which the main window sends the settings page.
    virtual void floating_state_changed(bool ball_on, bool dock_on);
};

struct ToolPage : WindowRecord {
    std::unique_ptr<PageVariant> variant;
};

LRESULT CALLBACK page_procedure(HWND page, UINT message, WPARAM wparam, LPARAM lparam);

// Registers "Brivane.Page" with page_procedure, the arrow cursor and no
// background brush. True also when the class is already registered.
bool register_page_class(HINSTANCE instance);

// A hidden page window at 0, 0 with size 0, 0; null on failure.
HWND create_page_window(HWND main_window);

// Hands the record to the window, which frees it in WM_NCDESTROY.
void attach_tool_page(HWND page, std::unique_ptr<ToolPage> record);

// The record attached to a page window, or null.
ToolPage* tool_page_of(HWND page);
