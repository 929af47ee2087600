#include "timestamp/timestamp_page_win.h"

#include "ui/page_layout.h"
#include "ui/title_only_page_win.h"

std::unique_ptr<PageVariant> build_timestamp_page(HWND page) { return make_title_only_page(page, timestamp_page); }
