#include "ui/ui_resources_win.h"

#include <memory>

#include "ui/system_dpi_win.h"

namespace {

HFONT make_font(const wchar_t* face, int size, int weight, int dpi) {
    return CreateFontW(font_height(size, dpi), 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

constexpr wchar_t ui_face[] = L"Microsoft YaHei UI";

}  // namespace

UiResources::UiResources(int dpi_) : dpi(dpi_) {
    body_font = make_font(ui_face, 15, FW_NORMAL, dpi);
    title_font = make_font(ui_face, 28, FW_BOLD, dpi);
    heading_font = make_font(ui_face, 17, FW_SEMIBOLD, dpi);
    small_font = make_font(ui_face, 13, FW_NORMAL, dpi);
    mono_font = make_font(L"Consolas", 15, FW_NORMAL, dpi);
    brand_font = make_font(ui_face, 21, FW_BOLD, dpi);
}

UiResources::~UiResources() {
    for (HFONT font : {body_font, title_font, heading_font, small_font, mono_font, brand_font})
        if (font) DeleteObject(font);
}

UiResources& ui_resources() {
    thread_local std::unique_ptr<UiResources> resources;
    if (!resources) resources = std::make_unique<UiResources>(effective_dpi(system_dpi()));
    return *resources;
}

int scale(int v) { return scale(v, ui_resources().dpi); }
int unscale(int px) { return unscale(px, ui_resources().dpi); }

bool rich_edit_available() {
    UiResources& res = ui_resources();
    if (res.rich_edit_state == RichEditState::NotProbed) {
        HMODULE library = LoadLibraryExW(L"Msftedit.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        res.rich_edit_state = library ? RichEditState::Available : RichEditState::Unavailable;
    }
    return res.rich_edit_state == RichEditState::Available;
}
