#pragma once

#include <windows.h>

#include "ui/dpi.h"
#include "ui/palette.h"

enum class RichEditState { NotProbed, Available, Unavailable };

// Drawing resources of one UI thread. Fonts and dpi are fixed once made;
// the palette is replaced when the colour scheme changes.
struct UiResources {
    HFONT body_font = nullptr;
    HFONT title_font = nullptr;
    HFONT heading_font = nullptr;
    HFONT small_font = nullptr;
    HFONT mono_font = nullptr;
    HFONT brand_font = nullptr;
    int dpi = logical_dpi;
    Palette palette = derive_palette(0, 0);
    RichEditState rich_edit_state = RichEditState::NotProbed;

    explicit UiResources(int dpi);
    ~UiResources();
    UiResources(const UiResources&) = delete;
    UiResources& operator=(const UiResources&) = delete;
};

// This thread's record, made on first request from the system DPI.
UiResources& ui_resources();

// Logical 96-DPI units to device pixels and back at the thread's DPI.
int scale(int v);
int unscale(int px);

// The rich-edit class when Msftedit.dll loads from the system folder; probed
// once per thread and the library kept loaded.
bool rich_edit_available();
