#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include "ui/control_subclass_win.h"
#include "ui/controls_win.h"
#include "ui/ui_resources_win.h"

namespace {

constexpr LPARAM text_limit = 0x1000000;
constexpr wchar_t rich_edit_class[] = L"RICHEDIT50W";

struct KindTraits {
    const wchar_t* window_class;
    DWORD style;
    HFONT UiResources::*font;
};

constexpr DWORD static_style = SS_NOPREFIX;
constexpr DWORD button_style = WS_TABSTOP | BS_OWNERDRAW;
constexpr DWORD area_style = WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL;

KindTraits traits_of(ControlKind kind, bool rich_edit) {
    const wchar_t* area_class = rich_edit ? rich_edit_class : WC_EDITW;
    switch (kind) {
        case ControlKind::Label: return {WC_STATICW, static_style, &UiResources::body_font};
        case ControlKind::PageTitle: return {WC_STATICW, static_style, &UiResources::title_font};
        case ControlKind::SectionTitle: return {WC_STATICW, static_style, &UiResources::heading_font};
        case ControlKind::Hint: return {WC_STATICW, static_style, &UiResources::small_font};
        case ControlKind::Button:
        case ControlKind::PrimaryButton:
        case ControlKind::NavItem: return {WC_BUTTONW, button_style, &UiResources::body_font};
        case ControlKind::TextField: return {WC_EDITW, WS_TABSTOP | ES_AUTOHSCROLL, &UiResources::body_font};
        case ControlKind::TextArea: return {area_class, area_style, &UiResources::mono_font};
        case ControlKind::ResultArea: return {area_class, area_style | ES_READONLY, &UiResources::mono_font};
        case ControlKind::Dropdown:
            return {WC_COMBOBOXW,
                    WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS |
                        CBS_NOINTEGRALHEIGHT,
                    &UiResources::body_font};
        case ControlKind::BrandLabel: return {WC_STATICW, static_style, &UiResources::brand_font};
        case ControlKind::StatusLabel: return {WC_STATICW, static_style, &UiResources::small_font};
        case ControlKind::None: break;
    }
    return {WC_STATICW, static_style, &UiResources::body_font};
}

bool is_multiline(ControlKind kind) { return kind == ControlKind::TextArea || kind == ControlKind::ResultArea; }

void set_up_multiline(HWND control, ControlKind kind, const UiResources& res) {
    if (res.rich_edit_state == RichEditState::Available) {
        SendMessageW(control, EM_SETTEXTMODE, TM_PLAINTEXT | TM_MULTILEVELUNDO, 0);
        SendMessageW(control, EM_EXLIMITTEXT, 0, text_limit);
        SendMessageW(control, EM_SETEVENTMASK, 0, ENM_CHANGE);
        Colorref background = kind == ControlKind::ResultArea ? res.palette.result_bg : color_white;
        SendMessageW(control, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(background));
    } else {
        SendMessageW(control, EM_LIMITTEXT, static_cast<WPARAM>(text_limit), 0);
    }
}

void subclass_with_frame(HWND control, ControlKind kind) {
    if (SetWindowSubclass(control, control_subclass, control_subclass_id, static_cast<DWORD_PTR>(kind)))
        SetWindowPos(control, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

ControlKind control_kind(HWND control) {
    return static_cast<ControlKind>(reinterpret_cast<INT_PTR>(GetPropW(control, kind_property)));
}

bool has_property(HWND control, const wchar_t* name) { return GetPropW(control, name) != nullptr; }

HWND create_control(HWND parent, ControlKind kind, std::string_view text, int id) {
    UiResources& res = ui_resources();
    const bool multiline = is_multiline(kind);
    const bool rich_edit = multiline && rich_edit_available();
    const KindTraits traits = traits_of(kind, rich_edit);
    const std::wstring initial = multiline ? std::wstring() : to_wide(text);
    HWND control = CreateWindowExW(0, traits.window_class, initial.c_str(), WS_CHILD | WS_VISIBLE | traits.style, 0,
                                   0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id & 0xFFFF)),
                                   GetModuleHandleW(nullptr), nullptr);
    SetPropW(control, kind_property, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(kind)));
    if (multiline) set_up_multiline(control, kind, res);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(res.*traits.font), FALSE);
    if (kind == ControlKind::TextField || multiline) {
        const int margin = scale(kind == ControlKind::TextField ? 5 : 9);
        SendMessageW(control, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(margin, margin));
        subclass_with_frame(control, kind);
    }
    if (kind == ControlKind::Dropdown) {
        SendMessageW(control, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), scale(27));
        SendMessageW(control, CB_SETITEMHEIGHT, 0, scale(28));
        SetWindowSubclass(control, control_subclass, control_subclass_id, static_cast<DWORD_PTR>(kind));
    }
    if (kind == ControlKind::NavItem) SetWindowSubclass(control, nav_item_subclass, control_subclass_id, 0);
    if (multiline) SetWindowTextW(control, to_wide_crlf(text).c_str());
    return control;
}
