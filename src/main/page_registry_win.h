#pragma once

// The pages the main window holds, one per tool and the settings.

#include <windows.h>

// Creates the page window of that index with its controls and record; on
// failure writes "无法打开工具页面。" to the main window's status line as an
// error and returns null.
HWND open_page(HWND main_window, int index);
