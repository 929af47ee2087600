#include "updates/update_check_win.h"

#include "main/main_window_win.h"

void on_check_for_update(MainWindow&, WPARAM) {}

void on_update_finished(MainWindow&) {}
