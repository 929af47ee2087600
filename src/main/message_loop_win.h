#pragma once

#include <windows.h>

// Whether the loop keeps this message from its target: Esc in the visible
// main window closes it like its close button, unless an open dropdown list
// or an input-method composition wants the key; a held-down Esc closes once.
bool consume_escape(HWND main_window, const MSG& msg);

// The program's one message loop: 0 after WM_QUIT, -1 when GetMessageW fails.
int run_message_loop(HWND main_window);
