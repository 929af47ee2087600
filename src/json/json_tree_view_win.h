#pragma once

// The JSON page's tree view (control id 109): a SysTreeView32 whose items are
// created lazily from a JsonTree, at most 256 siblings at a time, with a
// "加载更多条目…" item standing for the rest.

#include <windows.h>
#include <commctrl.h>

#include <cstdint>

#include "json/json_tree.h"

inline constexpr int json_tree_view_id = 109;
inline constexpr int json_tree_item_height = 25;  // logical pixels

// The load-more request between the expanding notification and the posted
// JsonTreeLoadMore that serves it.
struct JsonTreeLoad {
    bool pending = false;
    HTREEITEM item = nullptr;   // the "加载更多条目…" item being replaced
    std::uint32_t next = 0;     // index of the first node still to insert
};

struct JsonTreeView {
    HWND hwnd = nullptr;  // null when the control could not be created
    JsonTreeLoad load;

    // Creates the hidden control inside the page with the given font; false
    // (and hwnd null) when it cannot be created or subclassed.
    bool create(HWND page, HFONT font);
    // Inserts the root item and its first slice, expands and selects the
    // root. False when the root item could not be inserted (nothing else is
    // inserted then). Showing and hiding the control is the page's business.
    bool fill(const JsonTree& tree);
    // TVN_ITEMEXPANDINGW from the control. `tree` is the page's current tree,
    // or null when its result is not a tree. Returns the notification result.
    // A failed post of JsonTreeLoadMore reports its error on the status line.
    LRESULT on_expanding(HWND page, const NMTREEVIEWW& notice, const JsonTree* tree);
    // JsonTreeLoadMore: replaces the pending "加载更多条目…" item by the next slice.
    void on_load_more(const JsonTree* tree);
    // Deletes every item and forgets a pending load.
    void reset();
    // Background, text and line colours from the current palette.
    void apply_palette();
    // Item height in logical pixels (scaled inside).
    void set_item_height(int logical);
};
