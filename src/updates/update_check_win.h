#pragma once

#include <windows.h>

struct MainWindow;

// CheckForUpdate: wParam 1 when the user asked.
void on_check_for_update(MainWindow& w, WPARAM wparam);
// UpdateFinished: present the pending outcome, if any.
void on_update_finished(MainWindow& w);
