#include "settings/color_dialog_win.h"

#include <commdlg.h>

#include <array>

ColorPick pick_color(HWND owner, Colorref start) {
    std::array<COLORREF, 16> custom_colors;
    custom_colors.fill(RGB(255, 255, 255));
    CHOOSECOLORW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.rgbResult = start & 0xFFFFFF;
    dialog.lpCustColors = custom_colors.data();
    dialog.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (ChooseColorW(&dialog)) return {ColorPickOutcome::Chosen, static_cast<Colorref>(dialog.rgbResult & 0xFFFFFF)};
    return {CommDlgExtendedError() != 0 ? ColorPickOutcome::Failed : ColorPickOutcome::Cancelled, 0};
}
