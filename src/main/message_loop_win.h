#pragma once

#include <windows.h>

// What the loop does with a message while the main window is visible.
enum class KeyRoute {
    Dialog,    // offered to the dialog keyboard handling first
    Dispatch,  // straight to its target: an Esc that an open dropdown list or an input-method composition wants
    Consumed,  // acted on here: Esc closes the main window like its close button (a held-down Esc once);
               // Enter presses the focused button or side-bar entry, as in a dialog
};
KeyRoute route_key(HWND main_window, const MSG& msg);

// The program's one message loop: 0 after WM_QUIT, -1 when GetMessageW fails.
int run_message_loop(HWND main_window);
