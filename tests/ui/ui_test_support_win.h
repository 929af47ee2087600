#pragma once

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "ui/palette.h"
#include "ui/painting_win.h"
#include "ui/ui_resources_win.h"

namespace ui_test {

// 96 unless the run's Wine prefix was made at another DPI (tests/CMakeLists.txt).
inline int expected_dpi() {
    wchar_t value[8] = L"96";
    GetEnvironmentVariableW(L"LUMARO_EXPECT_DPI", value, 8);
    return _wtoi(value);
}

// A plain WS_POPUP test window of its own class; the class is registered on
// first use (a second registration fails harmlessly).
inline HWND create_test_popup(const wchar_t* class_name, WNDPROC procedure, const wchar_t* title, int x, int y,
                              int width, int height) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = class_name;
    RegisterClassExW(&wc);
    return CreateWindowExW(0, class_name, title, WS_POPUP | WS_CLIPCHILDREN, x, y, width, height, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

// A top-level window that answers WM_DRAWITEM and WM_CTLCOLOR* as the main
// window and the pages do.
inline LRESULT CALLBACK host_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (LRESULT painted; handle_control_paint_message(message, wparam, lparam, painted)) return painted;
    switch (message) {
        case WM_ERASEBKGND: {
            RECT r;
            GetClientRect(hwnd, &r);
            fill_rect(reinterpret_cast<HDC>(wparam), r, ui_resources().palette.window_bg);
            return 1;
        }
        default:
            return DefWindowProcW(hwnd, message, wparam, lparam);
    }
}

class HostWindow {
public:
    explicit HostWindow(int width = 640, int height = 480, bool visible = true) {
        hwnd_ = create_test_popup(L"Lumaro.UiTestHost", host_procedure, L"Lumaro UI test", 0, 0, width, height);
        if (visible) {
            // Not activated: under Xvfb (no window manager) Wine waits two
            // seconds for the focus to move when an active window is destroyed.
            // Tests that need the keyboard focus use focus_host().
            ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
            UpdateWindow(hwnd_);
        }
        pump();
    }
    ~HostWindow() {
        if (hwnd_) DestroyWindow(hwnd_);
        pump();
    }
    HostWindow(const HostWindow&) = delete;
    // Keeps the window to the end of the process (see the constructor).
    HWND release() {
        HWND h = hwnd_;
        hwnd_ = nullptr;
        return h;
    }
    HostWindow& operator=(const HostWindow&) = delete;
    HWND hwnd() const { return hwnd_; }

    static void pump() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }

private:
    HWND hwnd_ = nullptr;
};

inline bool running_under_wine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// One active window for the whole test program, for the tests that need the
// keyboard focus; its controls are made and destroyed by the tests.
inline HWND focus_host() {
    static HWND hwnd = [] {
        HostWindow host(640, 480, true);
        HWND h = host.release();
        SetForegroundWindow(h);
        SetActiveWindow(h);
        HostWindow::pump();
        return h;
    }();
    return hwnd;
}

// A 32-bit top-down DIB section selected into a memory DC.
class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        bits_ = static_cast<std::uint32_t*>(bits);
        old_ = SelectObject(dc_, bitmap_);
        fill(0x00FF00FF);  // magenta: anything left unpainted stands out
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return dc_; }
    int width() const { return width_; }
    int height() const { return height_; }

    void fill(Colorref color) {
        GdiFlush();
        for (int i = 0; i < width_ * height_; ++i) bits_[i] = to_dib(color);
    }
    // The pixel as a COLORREF (DIB pixels are 0x00RRGGBB).
    Colorref at(int x, int y) const {
        GdiFlush();
        const std::uint32_t v = bits_[y * width_ + x];
        return rgb((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    // Copies what the window shows on screen (client or whole window).
    void grab(HWND hwnd, bool whole_window) {
        HDC source = whole_window ? GetWindowDC(hwnd) : GetDC(hwnd);
        BitBlt(dc_, 0, 0, width_, height_, source, 0, 0, SRCCOPY);
        ReleaseDC(hwnd, source);
    }
    // Whether some pixel of the rectangle has exactly this colour.
    bool contains(const RECT& r, Colorref color) const {
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (at(x, y) == color) return true;
        return false;
    }

private:
    static std::uint32_t to_dib(Colorref c) { return (red_of(c) << 16) | (green_of(c) << 8) | blue_of(c); }
    int width_;
    int height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    std::uint32_t* bits_ = nullptr;
};

inline std::string hex(Colorref c) {
    char buffer[16];
    wsprintfA(buffer, "%06X", static_cast<unsigned>(c));
    return buffer;
}

}  // namespace ui_test
