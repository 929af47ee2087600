#pragma once

#include "ui/control_kind.h"
#include "ui/palette.h"

// Which palette entry each owner-drawn state is painted with. Kept apart
// from the GDI calls so the rules can be checked without a window system.

struct BoxColors {
    Colorref fill;
    Colorref border;
    Colorref text;
    friend bool operator==(const BoxColors&, const BoxColors&) = default;
};

struct ButtonState {
    bool accent_style;  // a PrimaryButton, or a Button carrying "Brivane.Selected"
    bool pressed;
    bool disabled;
    bool focus_shown;
};
BoxColors button_colors(const Palette& p, ButtonState s);

struct NavItemState {
    bool selected;
    bool hot;
    bool pressed;
    bool focus_shown;
};
BoxColors nav_item_colors(const Palette& p, NavItemState s);

struct FillAndText {
    Colorref fill;
    Colorref text;
    friend bool operator==(const FillAndText&, const FillAndText&) = default;
};
FillAndText list_item_colors(const Palette& p, bool highlighted, bool disabled);

// The face of a closed dropdown; the outer colour is window_bg.
BoxColors dropdown_face_colors(const Palette& p, bool enabled, bool open_or_focused);

enum class CtlColorMessage { Edit, Button, Static };

struct CtlColorQuery {
    ControlKind kind;
    CtlColorMessage message;
    bool read_only;  // ES_READONLY
    bool selected;   // "Brivane.Selected": on the status line, an error text
};
// Text colour and background of a WM_CTLCOLOR* answer.
FillAndText ctlcolor_colors(const Palette& p, CtlColorQuery q);

// The client inset a subclassed control takes inside its proposed client
// rectangle on WM_NCCALCSIZE; applies only when it leaves room.
struct FrameInset {
    int x;
    int y;
    bool applies;
    friend bool operator==(const FrameInset&, const FrameInset&) = default;
};
FrameInset frame_inset(int reference, int width, int height, int dpi);
