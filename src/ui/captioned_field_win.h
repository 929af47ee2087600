#pragma once

// The pieces the tool pages build their rows of captioned fields from.

#include <windows.h>

// A caption over its field, both at x and width w: the caption 20 high at
// top, the field 24 lower, 252 high for a drop-down list (room for its open
// list) and 34 for an edit.
void place_captioned_field(HWND caption, HWND field, int x, int top, int w, bool dropdown);

// A drop-down list without a command id, holding the items with the first
// one selected.
HWND create_filled_list(HWND page, const char* const* items, int count);
