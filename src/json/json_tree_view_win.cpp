#include "json/json_tree_view_win.h"

bool JsonTreeView::create(HWND, HFONT) { return false; }
bool JsonTreeView::fill(const JsonTree&) { return false; }
LRESULT JsonTreeView::on_expanding(HWND, const NMTREEVIEWW&, const JsonTree*) { return 0; }
void JsonTreeView::on_load_more(const JsonTree*) {}
void JsonTreeView::reset() { load = {}; }
void JsonTreeView::apply_palette() {}
void JsonTreeView::set_item_height(int) {}
