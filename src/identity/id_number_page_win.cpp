#include "identity/id_number_page_win.h"

#include "ui/page_layout.h"
#include "ui/title_only_page_win.h"

std::unique_ptr<PageVariant> build_id_number_page(HWND page) { return make_title_only_page(page, id_number_page); }
