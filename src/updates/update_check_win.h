#pragma once

#include <windows.h>

#include <string>

struct MainWindow;

// The release manifest's address.
std::string manifest_address();

// Body of the check thread: fetch and judge the manifest, store the outcome,
// post UpdateFinished to window.
void check_for_update(HWND window);

// CheckForUpdate: wParam 1 when the user asked.
void on_check_for_update(MainWindow& w, WPARAM wparam);
// UpdateFinished: present the pending outcome, if any.
void on_update_finished(MainWindow& w);
