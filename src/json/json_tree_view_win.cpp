#include "json/json_tree_view_win.h"

#include <uxtheme.h>

#include <string>
#include <string_view>

#include "json/json_tree_label.h"
#include "ui/app_message.h"
#include "ui/control_subclass_win.h"
#include "ui/controls_win.h"
#include "ui/ui_resources_win.h"

namespace {

constexpr int slice_size = 256;
constexpr DWORD_PTR tree_view_reference = 0;
// TVE_ACTIONMASK, which MinGW's headers lack: TVE_EXPANDPARTIAL may ride along.
constexpr UINT expand_action_mask = 0x0003;
constexpr const char* load_post_failed = "暂时无法加载后续条目，请再试一次。";

// Item parameters: a node as its index + 1 (positive), a "加载更多条目…"
// item as the complement of the next node to load (negative).
LPARAM node_parameter(std::uint32_t index) { return static_cast<LPARAM>(index) + 1; }
LPARAM continuation_parameter(std::uint32_t next) { return ~static_cast<LPARAM>(next); }

HTREEITEM insert_item(HWND tree_view, HTREEITEM parent, HTREEITEM after, std::string_view label, LPARAM parameter,
                      bool has_children) {
    std::wstring text = to_wide(label);
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN;
    insert.item.pszText = text.data();
    insert.item.lParam = parameter;
    insert.item.cChildren = has_children ? 1 : 0;
    return reinterpret_cast<HTREEITEM>(SendMessageW(tree_view, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

HTREEITEM next_item(HWND tree_view, HTREEITEM item, UINT relation) {
    return reinterpret_cast<HTREEITEM>(
        SendMessageW(tree_view, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

HTREEITEM insert_node_item(HWND tree_view, const JsonTree& tree, std::uint32_t index, HTREEITEM parent,
                           HTREEITEM after) {
    return insert_item(tree_view, parent, after, json_node_label(tree, index), node_parameter(index),
                       tree.nodes[index].first_child != 0);
}

// Inserting under an expanded item makes the control repaint and rescroll
// after every item (in Wine this turns a 256-item slice into seconds); it
// draws once when the batch is done instead. A hidden control draws nothing
// anyway, and is left alone so that re-enabling drawing cannot show it.
class RedrawPause {
public:
    explicit RedrawPause(HWND control) : control_(IsWindowVisible(control) ? control : nullptr) {
        if (control_) SendMessageW(control_, WM_SETREDRAW, FALSE, 0);
    }
    ~RedrawPause() {
        if (!control_) return;
        SendMessageW(control_, WM_SETREDRAW, TRUE, 0);
        RedrawWindow(control_, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_NOCHILDREN);
    }
    RedrawPause(const RedrawPause&) = delete;
    RedrawPause& operator=(const RedrawPause&) = delete;

private:
    HWND control_;
};

struct Slice {
    HTREEITEM first = nullptr;         // the first node item inserted
    HTREEITEM continuation = nullptr;  // the "加载更多条目…" item that ends it
};

// Up to 256 consecutive siblings from node `first`, then a "加载更多条目…"
// item when siblings remain or an insertion failed (it stands for the node
// that could not be inserted, so the user can try again).
Slice insert_sibling_slice(HWND tree_view, const JsonTree& tree, std::uint32_t first, HTREEITEM parent,
                           HTREEITEM after) {
    Slice slice;
    HTREEITEM last = after;
    std::uint32_t next = first;
    for (int count = 0; count < slice_size; ++count) {
        HTREEITEM item = insert_node_item(tree_view, tree, next, parent, last);
        if (!item) break;
        if (!slice.first) slice.first = item;
        last = item;
        const std::uint32_t sibling = tree.nodes[next].next_sibling;
        if (sibling == 0 || sibling >= tree.nodes.size()) return slice;
        next = sibling;
    }
    slice.continuation = insert_item(tree_view, parent, last, json_load_more_label, continuation_parameter(next), true);
    return slice;
}

}  // namespace

bool JsonTreeView::create(HWND page, HFONT font) {
    INITCOMMONCONTROLSEX init{sizeof(init), ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&init);
    hwnd = CreateWindowExW(0, WC_TREEVIEWW, L"",
                           WS_CHILD | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                           0, 0, 0, 0, page, reinterpret_cast<HMENU>(static_cast<INT_PTR>(json_tree_view_id)),
                           GetModuleHandleW(nullptr), nullptr);
    if (!hwnd) return false;
    SendMessageW(hwnd, CCM_SETUNICODEFORMAT, TRUE, 0);
    SetWindowTheme(hwnd, L"Explorer", nullptr);
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageW(hwnd, TVM_SETEXTENDEDSTYLE, TVS_EX_DOUBLEBUFFER, TVS_EX_DOUBLEBUFFER);
    if (!SetWindowSubclass(hwnd, control_subclass, control_subclass_id, tree_view_reference)) {
        DestroyWindow(hwnd);
        hwnd = nullptr;
        return false;
    }
    // The square frame is painted by the subclass; the system's own border
    // would sit inside it.
    SetWindowLongPtrW(hwnd, GWL_STYLE, GetWindowLongPtrW(hwnd, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_BORDER));
    SetWindowLongPtrW(hwnd, GWL_EXSTYLE,
                      GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE));
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    apply_palette();
    // The page's layout sets the same height; until then the rows already
    // have their final size.
    set_item_height(json_tree_item_height);
    return true;
}

bool JsonTreeView::fill(const JsonTree& tree) {
    if (!hwnd || tree.nodes.empty()) return false;
    HTREEITEM root = insert_node_item(hwnd, tree, 0, TVI_ROOT, TVI_LAST);
    if (!root) return false;
    if (const std::uint32_t child = tree.nodes[0].first_child; child != 0 && child < tree.nodes.size())
        insert_sibling_slice(hwnd, tree, child, root, TVI_LAST);
    SendMessageW(hwnd, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
    SendMessageW(hwnd, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(root));
    return true;
}

LRESULT JsonTreeView::on_expanding(HWND page, const NMTREEVIEWW& notice, const JsonTree* tree) {
    if (!hwnd || notice.hdr.hwndFrom != hwnd || notice.hdr.code != TVN_ITEMEXPANDINGW ||
        (notice.action & expand_action_mask) != TVE_EXPAND)
        return 0;
    HTREEITEM item = notice.itemNew.hItem;
    const LPARAM parameter = notice.itemNew.lParam;
    if (parameter > 0) {
        if (!tree || static_cast<std::uint64_t>(parameter) > tree->nodes.size()) return 0;
        const std::uint32_t child = tree->nodes[static_cast<std::size_t>(parameter - 1)].first_child;
        if (child != 0 && child < tree->nodes.size() && !next_item(hwnd, item, TVGN_CHILD))
            insert_sibling_slice(hwnd, *tree, child, item, TVI_LAST);
        return 0;
    }
    if (parameter < 0) {
        // Deleting items while the control is still expanding is unsafe:
        // the next slice is inserted once this notification has returned.
        load = {true, item, static_cast<std::uint32_t>(~parameter)};
        if (!PostMessageW(page, message_id(AppMessage::JsonTreeLoadMore), 0, 0)) {
            load.pending = false;
            set_status(page, load_post_failed, true);
        }
        return 1;
    }
    return 0;
}

void JsonTreeView::on_load_more(const JsonTree* tree) {
    const JsonTreeLoad taken = load;
    load.pending = false;
    if (!taken.pending || !tree || !hwnd || taken.next >= tree->nodes.size()) return;
    HTREEITEM parent = next_item(hwnd, taken.item, TVGN_PARENT);
    if (!parent) return;
    HTREEITEM after = next_item(hwnd, taken.item, TVGN_PREVIOUS);
    if (!after) after = TVI_FIRST;
    RedrawPause pause(hwnd);
    const Slice slice = insert_sibling_slice(hwnd, *tree, taken.next, parent, after);
    if (!slice.first) {
        // Nothing could be inserted: keep the item the user expanded (it may
        // be selected) rather than a second one for the same node.
        if (slice.continuation) SendMessageW(hwnd, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(slice.continuation));
        return;
    }
    if (next_item(hwnd, nullptr, TVGN_CARET) == taken.item)
        SendMessageW(hwnd, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(slice.first));
    SendMessageW(hwnd, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(taken.item));
}

void JsonTreeView::reset() {
    load = {};
    if (hwnd) SendMessageW(hwnd, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
}

void JsonTreeView::apply_palette() {
    if (!hwnd) return;
    const Palette& p = ui_resources().palette;
    SendMessageW(hwnd, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(p.result_bg));
    SendMessageW(hwnd, TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(p.text));
    SendMessageW(hwnd, TVM_SETLINECOLOR, 0, static_cast<LPARAM>(p.border));
}

void JsonTreeView::set_item_height(int logical) {
    if (hwnd) SendMessageW(hwnd, TVM_SETITEMHEIGHT, static_cast<WPARAM>(scale(logical)), 0);
}
