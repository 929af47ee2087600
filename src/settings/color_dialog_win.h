#pragma once

#include <windows.h>

#include <functional>

#include "ui/palette.h"

enum class ColorPickOutcome { Chosen, Cancelled, Failed };

struct ColorPick {
    ColorPickOutcome outcome = ColorPickOutcome::Cancelled;
    Colorref color = 0;  // meaningful when Chosen
};

// The system colour dialog, fully open, starting at `start`, modal to the
// owner. Its 16 custom slots start white each time: they are not kept.
ColorPick pick_color(HWND owner, Colorref start);

using ColorPicker = std::function<ColorPick(HWND owner, Colorref start)>;
