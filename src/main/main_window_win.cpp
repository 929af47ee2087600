#include "main/main_window_win.h"

#include <memory>

#include "floating/ball_render_win.h"
#include "preferences/preferences_win.h"
#include "settings/settings_rules.h"
#include "ui/app_message.h"
#include "ui/control_subclass_win.h"
#include "ui/controls_win.h"
#include "ui/painting_win.h"
#include "ui/ui_resources_win.h"
#include "updates/update_check_win.h"

namespace {

Preferences& preferences() {
    static Preferences store;
    return store;
}

HWND nav_item(const MainWindow& w, int index) { return index == settings_page ? w.settings_item : w.nav_items[index]; }

int first_visible_page(ToolMask visible) {
    for (int i = 0; i < tool_count; ++i)
        if (visible.contains(i)) return i;
    return settings_page;
}

void show_tool_entries(MainWindow& w) {
    for (int i = 0; i < tool_count; ++i) ShowWindow(w.nav_items[i], w.visible_tools.contains(i) ? SW_SHOWNA : SW_HIDE);
}

void arm_update_timer(MainWindow& w) {
    KillTimer(w.hwnd, update_timer_id);
    if (preferences().load_check_updates()) {
        SetTimer(w.hwnd, update_timer_id, update_timer_period, nullptr);
        PostMessageW(w.hwnd, message_id(AppMessage::CheckForUpdate), 0, 0);
    }
}

void create_record(HWND hwnd) {
    auto w = std::make_unique<MainWindow>();
    w->hwnd = hwnd;
    w->visible_tools = preferences().load_visible_tools();
    w->brand_label = create_control(hwnd, ControlKind::BrandLabel, "Lumaro", 0);
    for (int i = 0; i < tool_count; ++i)
        w->nav_items[i] = create_control(hwnd, ControlKind::NavItem, tool_names[i], first_nav_id + i);
    w->settings_item = create_control(hwnd, ControlKind::NavItem, "设置", first_nav_id + settings_page);
    w->status_label = create_control(hwnd, ControlKind::StatusLabel, "就绪", status_label_id);
    show_tool_entries(*w);
    ShowWindow(w->settings_item, SW_SHOWNA);
    w->current = first_visible_page(w->visible_tools);
    w->ball_enabled = preferences().load_floating_ball();
    w->dock_enabled = preferences().load_floating_ball_dock();
    attach_window_record(hwnd, std::move(w));
    // Focus rectangles stay hidden until the keyboard is used.
    SendMessageW(hwnd, WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
    arm_update_timer(*main_window_record(hwnd));
}

void fill(HDC hdc, int left, int top, int right, int bottom, Colorref color) {
    fill_rect(hdc, {left, top, right, bottom}, color);
}

void paint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    const Palette& p = ui_resources().palette;
    RECT client;
    GetClientRect(hwnd, &client);
    fill(hdc, client.left, client.top, client.right, client.bottom, p.window_bg);
    fill(hdc, client.left, client.top, scale(sidebar_width), client.bottom, p.sidebar_bg);
    HICON icon = reinterpret_cast<HICON>(GetClassLongPtrW(hwnd, GCLP_HICON));
    if (icon) DrawIconEx(hdc, scale(22), scale(26), icon, scale(25), scale(25), 0, nullptr, DI_NORMAL);
    int divider_y = client.bottom - scale(30);
    fill(hdc, scale(sidebar_width), divider_y, client.right, divider_y + 1, p.divider);
    int sidebar_line_y = client.bottom - scale(69);
    fill(hdc, scale(22), sidebar_line_y, scale(sidebar_width) - scale(22), sidebar_line_y + 1, p.sidebar_divider);
    EndPaint(hwnd, &ps);
}

void tools_changed(MainWindow& w) {
    w.visible_tools = preferences().load_visible_tools();
    show_tool_entries(w);
    if (w.current == settings_page || w.visible_tools.contains(w.current))
        layout_main_window(w);
    else
        show_page(w, first_visible_page(w.visible_tools));
}

// The ball's picture holds the accent: drawn again where it is.
void render_ball_again(const MainWindow& w) {
    if (!w.ball) return;
    RECT r;
    if (GetWindowRect(w.ball_window, &r)) render_ball_window(w.ball_window, *w.ball, w.ball->shape, r);
}

// The ball window frees its record.
void destroy_ball(MainWindow& w) {
    if (!w.ball) return;
    DestroyWindow(w.ball_window);
    w.ball_window = nullptr;
    w.ball = nullptr;
}

void palette_changed(MainWindow& w) {
    EnumChildWindows(w.hwnd, refresh_control_colors, 0);
    render_ball_again(w);
    RedrawWindow(w.hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void set_min_size(MINMAXINFO& info) {
    RECT r{0, 0, scale(main_min_client_width), scale(main_min_client_height)};
    AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW, FALSE, 0);
    info.ptMinTrackSize = {r.right - r.left, r.bottom - r.top};
}

// Runs a handler with the record borrowed; a message that re-enters the window
// while it is borrowed (through a sent message) gets default processing. A
// handler that destroyed the window (WM_CLOSE without the ball) leaves the
// record to be freed when it returns.
template <class Handler>
LRESULT guarded(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, Handler handler) {
    RecordBorrow use(main_window_record(hwnd));
    if (!use.held()) return DefWindowProcW(hwnd, message, wparam, lparam);
    return handler(static_cast<MainWindow&>(*use.get()));
}

bool focus_inside(const MainWindow& w) {
    HWND focus = GetFocus();
    return focus && IsChild(w.hwnd, focus);
}

// As a dialog does: the control that had the focus when the window was left
// gets it back; the side-bar entry of the page shown when that control is
// gone, hidden or disabled.
void restore_focus(MainWindow& w) {
    HWND target = w.focus;
    if (!target || !IsChild(w.hwnd, target) || !IsWindowVisible(target) || !IsWindowEnabled(target))
        target = nav_item(w, w.current);
    SetFocus(target);
}

// Without this the default processing puts the focus on the frame itself,
// where typing goes nowhere. Handled outside the guard: activation arrives
// from inside show_main_window. A window activated while minimised gets the
// focus back when it is restored, through WM_SETFOCUS on the frame.
LRESULT activate(HWND hwnd, WPARAM wparam, LPARAM lparam) {
    MainWindow* w = main_window_record(hwnd);
    if (!w) return DefWindowProcW(hwnd, WM_ACTIVATE, wparam, lparam);
    if (LOWORD(wparam) == WA_INACTIVE)
        w->focus = focus_inside(*w) ? GetFocus() : nullptr;
    else if (HIWORD(wparam) == 0)
        restore_focus(*w);
    return 0;
}

}  // namespace

MainWindow* main_window_record(HWND hwnd) { return static_cast<MainWindow*>(window_record(hwnd)); }

void layout_main_window(MainWindow& w) {
    RECT client;
    GetClientRect(w.hwnd, &client);
    int width = unscale(client.right - client.left);
    int height = unscale(client.bottom - client.top);
    place_control(w.brand_label, 56, 29, 96, 32);
    int row = 0;
    for (int i = 0; i < tool_count; ++i) {
        if (!w.visible_tools.contains(i)) continue;
        place_control(w.nav_items[i], 12, 82 + 44 * row, 144, 38);
        ++row;
    }
    place_control(w.settings_item, 12, height - 56, 144, 38);
    place_control(w.status_label, 196, height - 24, width - 214, 24);
    if (HWND page = w.pages[w.current]) place_control(page, sidebar_width, 0, width - sidebar_width, height - 30);
}

void show_main_window(MainWindow& w) {
    if (!page_exists(w, w.current))
        show_page(w, w.current);
    else if (w.current == settings_page)
        tell_settings_page(w);  // shown again: it reads the start-at-login entry again
    ShowWindow(w.hwnd, IsIconic(w.hwnd) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(w.hwnd);
    if (!focus_inside(w)) restore_focus(w);
    layout_main_window(w);
    RedrawWindow(w.hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PostMessageW(w.hwnd, message_id(AppMessage::UpdateFinished), 0, 0);
    if (w.ball) {
        reset_ball(w.ball_window, *w.ball);
        ShowWindow(w.ball_window, SW_HIDE);
    }
}

bool collapse_to_ball(MainWindow& w) {
    if (!w.ball_enabled) return false;
    if (!w.ball) {
        std::optional<CreatedBall> created = create_floating_ball(w.hwnd);
        if (!created) {
            set_status(w.hwnd, "无法显示悬浮球。", true);
            return false;
        }
        w.ball = created->record;
        w.ball_window = created->window;
        // Made as a tab: without docking the placing below makes it a ball on the tab's centre.
        w.ball->docking = w.dock_enabled;
    }
    // Fitted to the current work area, in case it changed while hidden.
    place_ball(w.ball_window, *w.ball, std::nullopt);
    ShowWindow(w.ball_window, SW_SHOWNOACTIVATE);
    ShowWindow(w.hwnd, SW_HIDE);
    return true;
}

void set_floating_ball(MainWindow& w, bool on) {
    if (SaveResult failed = preferences().save_floating_ball(on)) {
        set_status(w.hwnd, *failed, true);
        return;
    }
    w.ball_enabled = on;
    if (!on) destroy_ball(w);
    tell_settings_page(w);
    set_status(w.hwnd, on ? "悬浮球已开启。" : "悬浮球已关闭。", false);
}

void toggle_dock(MainWindow& w) {
    const bool on = !w.dock_enabled;
    if (SaveResult failed = preferences().save_floating_ball_dock(on)) {
        set_status(w.hwnd, *failed, true);
        return;
    }
    w.dock_enabled = on;
    if (w.ball && w.ball->docking != on) {
        // Converted in place: the tab becomes a ball on its centre, the ball
        // docks to the nearer edge.
        w.ball->docking = on;
        reset_ball(w.ball_window, *w.ball);
        place_ball(w.ball_window, *w.ball, std::nullopt);
    }
    tell_settings_page(w);
    set_status(w.hwnd, on ? "自动贴边已开启。" : "自动贴边已关闭。", false);
}

LRESULT CALLBACK main_window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (LRESULT painted; handle_control_paint_message(message, wparam, lparam, painted)) return painted;
    switch (message) {
    case WM_CREATE:
        create_record(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY:
        if (MainWindow* w = main_window_record(hwnd)) destroy_ball(*w);
        detach_window_record(hwnd);
        return DefWindowProcW(hwnd, message, wparam, lparam);
    case WM_ACTIVATE:
        return activate(hwnd, wparam, lparam);
    case WM_SETFOCUS:
        // As a dialog's frame: the focus passes on to a control.
        if (MainWindow* w = main_window_record(hwnd); w && !IsIconic(hwnd)) {
            restore_focus(*w);
            return 0;
        }
        break;
    case WM_PAINT:
        paint(hwnd);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_GETMINMAXINFO:
        set_min_size(*reinterpret_cast<MINMAXINFO*>(lparam));
        return 0;
    case WM_TIMER:
        if (wparam == update_timer_id) {
            PostMessageW(hwnd, message_id(AppMessage::CheckForUpdate), 0, 0);
            return 0;
        }
        break;
    case WM_SIZE:
        return guarded(hwnd, message, wparam, lparam, [&](MainWindow& w) -> LRESULT {
            if (wparam == SIZE_MINIMIZED) {
                if (w.ball_enabled) PostMessageW(hwnd, message_id(AppMessage::CollapseToBall), 1, 0);
                return 0;
            }
            layout_main_window(w);
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        });
    case WM_CLOSE:
        return guarded(hwnd, message, wparam, lparam, [&](MainWindow& w) -> LRESULT {
            if (collapse_to_ball(w)) return 0;
            return DefWindowProcW(hwnd, message, wparam, lparam);
        });
    case WM_COMMAND:
        return guarded(hwnd, message, wparam, lparam, [&](MainWindow& w) -> LRESULT {
            int id = LOWORD(wparam);
            if (HIWORD(wparam) == 0 && id >= first_nav_id && id < first_nav_id + page_count) {
                show_page(w, id - first_nav_id);
                return 0;
            }
            return DefWindowProcW(hwnd, message, wparam, lparam);
        });
    default:
        break;
    }

    switch (static_cast<AppMessage>(message)) {
    case AppMessage::ShowMainWindow:
        return guarded(hwnd, message, wparam, lparam, [](MainWindow& w) -> LRESULT {
            show_main_window(w);
            return 0;
        });
    case AppMessage::CloseFloatingBall:
        return guarded(hwnd, message, wparam, lparam, [](MainWindow& w) -> LRESULT {
            show_main_window(w);
            set_floating_ball(w, false);
            return 0;
        });
    case AppMessage::CollapseToBall:
        return guarded(hwnd, message, wparam, lparam, [&](MainWindow& w) -> LRESULT {
            if (wparam != 0 && !IsIconic(hwnd)) return DefWindowProcW(hwnd, message, wparam, lparam);
            return collapse_to_ball(w) ? 1 : 0;
        });
    case AppMessage::ToggleFloatingBall:
        return guarded(hwnd, message, wparam, lparam, [](MainWindow& w) -> LRESULT {
            set_floating_ball(w, !w.ball_enabled);
            return 0;
        });
    case AppMessage::ToggleDock:
        return guarded(hwnd, message, wparam, lparam, [](MainWindow& w) -> LRESULT {
            toggle_dock(w);
            return 0;
        });
    case AppMessage::PaletteChanged:
        return guarded(hwnd, message, wparam, lparam, [](MainWindow& w) -> LRESULT {
            palette_changed(w);
            return 0;
        });
    case AppMessage::ToolsChanged:
        return guarded(hwnd, message, wparam, lparam, [](MainWindow& w) -> LRESULT {
            tools_changed(w);
            return 0;
        });
    case AppMessage::ExitApp:
        DestroyWindow(hwnd);
        return 0;
    case AppMessage::UpdateSettingChanged:
        if (MainWindow* w = main_window_record(hwnd)) arm_update_timer(*w);
        return 0;
    case AppMessage::CheckForUpdate:
        if (MainWindow* w = main_window_record(hwnd)) on_check_for_update(*w, wparam);
        return 0;
    case AppMessage::UpdateFinished:
        if (MainWindow* w = main_window_record(hwnd)) on_update_finished(*w);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
}

bool register_main_window_class(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = main_window_proc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(101));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = main_window_class;
    return RegisterClassExW(&wc) != 0;
}
